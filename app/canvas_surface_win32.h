// The print job's surface in the product: the main window's canvas.
#pragma once

#include "print/print_surface.h"
#include "ui/canvas.h"

namespace app {

// A bold or regular font of `face` whose characters are `height` logical
// units high (tenths of a millimetre in the print job's mapping).
HFONT make_print_font(std::string_view face, int height, bool bold);
// The size of `text` in such a font on `dc` (nothing without a device
// context or font); the device context's own font is put back.
print::TextSize measure_print_text(HDC dc, std::string_view text, std::string_view face, int height,
                                   bool bold);

class CanvasSurface : public print::PrintSurface {
 public:
  explicit CanvasSurface(ui::Canvas& canvas) : canvas_(canvas) {}

  print::OpenedPrinter open_on_printer(std::string_view name, int orientation, int paper_width,
                                       int paper_length) override;
  // Positions are exact on every printer, whatever size in whole
  // millimetres its driver reports.
  void set_mapping(int mode) override {
    canvas_.set_mapping(mode);
    canvas_.scale_by_resolution();
  }
  bool begin_document(std::string_view name) override { return canvas_.begin_document(name); }
  // The height is kept as it is, never rescaled for the printer's or the
  // screen's resolution: the same size on every printer.
  void set_font(std::string_view face, int height, bool bold) override {
    canvas_.take_font(make_print_font(face, height, bold));
  }
  void write_text(int x, int y, std::string_view text) override {
    canvas_.write_text(&x, &y, text);
  }
  void write_text_in_rect(std::string_view text, print::Rect& rect, unsigned format) override;
  void draw_line(int x1, int y1, int x2, int y2) override { canvas_.line(x1, y1, x2, y2); }
  print::TextSize measure_text(std::string_view text, std::string_view face, int height,
                               bool bold) override;
  bool finish_document() override { return canvas_.finish_document(); }
  void release_printer_dc() override { canvas_.release_printer_dc(); }

 private:
  ui::Canvas& canvas_;
};

}  // namespace app

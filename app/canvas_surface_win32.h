// The print job's surface in the product: the main window's canvas.
#pragma once

#include "print/print_surface.h"
#include "ui/canvas.h"

namespace app {

// A bold or regular font of `size` points in `face`, sized for the screen
// (the canvas rescales it for the printer).
HFONT make_print_font(std::string_view face, int size, bool bold);

class CanvasSurface : public print::PrintSurface {
 public:
  explicit CanvasSurface(ui::Canvas& canvas) : canvas_(canvas) {}

  bool open_on_printer(std::string_view name, int orientation, int paper_width,
                       int paper_length) override;
  void set_mapping(int mode) override { canvas_.set_mapping(mode); }
  bool begin_document(std::string_view name) override { return canvas_.begin_document(name); }
  void set_font(std::string_view face, int size, bool bold) override {
    canvas_.set_font(make_print_font(face, size, bold));
  }
  void write_text(int x, int y, std::string_view text) override {
    canvas_.write_text(&x, &y, text);
  }
  void write_text_in_rect(std::string_view text, print::Rect& rect, unsigned format) override;
  bool finish_document() override { return canvas_.finish_document(); }
  void release_printer_dc() override { canvas_.release_printer_dc(); }

 private:
  ui::Canvas& canvas_;
};

}  // namespace app

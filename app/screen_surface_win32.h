// The print job's drawing interface on a screen device context: the
// preview draws the waybill through it with the calls the printer gets.
// The caller maps tenths of a millimetre to pixels (y growing downwards).
// Given the printer's information context (mapped to tenths of a
// millimetre), every text is measured in the printer's fonts and each
// character is put where the printer puts it, so what is spaced, wrapped or
// cut in the preview is what is on paper; without one, the screen's fonts
// measure.
#pragma once

#include <windows.h>

#include "print/print_surface.h"
#include "ui/gdi_guards.h"

namespace app {

class ScreenSurface : public print::PrintSurface {
 public:
  explicit ScreenSurface(HDC dc, HDC printer = nullptr) : dc_(dc), printer_(printer) {}
  ~ScreenSurface() override;
  ScreenSurface(const ScreenSurface&) = delete;
  ScreenSurface& operator=(const ScreenSurface&) = delete;

  // No printer behind it: "opened" on the form's own paper.
  print::OpenedPrinter open_on_printer(std::string_view name, int, int paper_width,
                                       int paper_length) override {
    return {true, std::string(name), true, {}, paper_width, paper_length};
  }
  void set_mapping(int) override {}
  bool begin_document(std::string_view) override { return true; }
  void set_font(std::string_view face, int height, bool bold) override;
  void write_text(int x, int y, std::string_view text) override;
  void write_text_in_rect(std::string_view text, print::Rect& rect, unsigned format) override;
  void draw_line(int x1, int y1, int x2, int y2) override {
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
  }
  print::TextSize measure_text(std::string_view text, std::string_view face, int height,
                               bool bold) override;
  bool finish_document() override { return true; }
  void release_printer_dc() override {}

 private:
  // One line at the printer's character positions.
  void write_line(int x, int y, std::string_view line);

  HDC dc_;
  HDC printer_;
  ui::OwnedGdiObject<HFONT> font_, printer_font_;  // deselected by the destructor first
  HGDIOBJ original_font_ = nullptr, printer_original_font_ = nullptr;
};

}  // namespace app

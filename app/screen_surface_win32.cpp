#include "app/screen_surface_win32.h"

#include "app/canvas_surface_win32.h"

namespace app {

ScreenSurface::~ScreenSurface() {
  if (original_font_) SelectObject(dc_, original_font_);
  if (font_) DeleteObject(font_);
}

void ScreenSurface::set_font(std::string_view face, int height, bool bold) {
  HFONT font = make_print_font(face, height, bold);
  if (!font) return;
  HGDIOBJ previous = SelectObject(dc_, font);
  if (!original_font_) original_font_ = previous;
  if (font_) DeleteObject(font_);
  font_ = font;
}

void ScreenSurface::write_text(int x, int y, std::string_view text) {
  TextOutA(dc_, x, y, text.data(), int(text.size()));
}

// The printer's mapping counts y upwards and the print job negates the
// rectangle for it; here y grows downwards, so the rectangle is used as is.
void ScreenSurface::write_text_in_rect(std::string_view text, print::Rect& rect,
                                       unsigned format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawTextA(dc_, text.data(), int(text.size()), &r, format);
}

print::TextSize ScreenSurface::measure_text(std::string_view text, std::string_view face,
                                            int height, bool bold) {
  HFONT font = make_print_font(face, height, bold);
  if (!font) return {};
  HGDIOBJ current = SelectObject(dc_, font);
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), int(text.size()), &size);
  SelectObject(dc_, current);
  DeleteObject(font);
  return {int(size.cx), int(size.cy)};
}

}  // namespace app

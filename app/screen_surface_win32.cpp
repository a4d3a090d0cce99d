#include "app/screen_surface_win32.h"

#include "app/canvas_surface_win32.h"

namespace app {

ScreenSurface::~ScreenSurface() {
  if (original_font_) SelectObject(dc_, original_font_);
}

void ScreenSurface::set_font(std::string_view face, int height, bool bold) {
  HFONT font = make_print_font(face, height, bold);
  if (!font) return;
  HGDIOBJ previous = SelectObject(dc_, font);
  if (!original_font_) original_font_ = previous;
  font_.reset(font);
}

void ScreenSurface::write_text(int x, int y, std::string_view text) {
  TextOutA(dc_, x, y, text.data(), int(text.size()));
}

// Drawn in the preview's mapping (tenths of a millimetre, y downwards) as
// the print job gives it; the rectangle is left as it was.
void ScreenSurface::write_text_in_rect(std::string_view text, print::Rect& rect,
                                       unsigned format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  DrawTextA(dc_, text.data(), int(text.size()), &r, format);
}

print::TextSize ScreenSurface::measure_text(std::string_view text, std::string_view face,
                                            int height, bool bold) {
  return measure_print_text(dc_, text, face, height, bold);
}

}  // namespace app

#include "app/canvas_surface_win32.h"

#include <string>

namespace app {

HFONT make_print_font(std::string_view face, int size, bool bold) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, bold ? 800 : 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                     0, std::string(face).c_str());
}

bool CanvasSurface::open_on_printer(std::string_view name, int orientation, int paper_width,
                                    int paper_length) {
  std::string printer(name);
  return canvas_.open_on_printer(&printer, nullptr, &orientation, &paper_width, &paper_length);
}

void CanvasSurface::write_text_in_rect(std::string_view text, print::Rect& rect, unsigned format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  canvas_.write_text_in_rect(text, r, format);
  rect = print::Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace app

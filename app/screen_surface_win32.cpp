#include "app/screen_surface_win32.h"

#include "app/canvas_surface_win32.h"
#include "runtime/text_encoding.h"
#include "ui/text_drawing.h"

namespace app {

ScreenSurface::~ScreenSurface() {
  if (original_font_) SelectObject(dc_, original_font_);
  if (printer_original_font_) SelectObject(printer_, printer_original_font_);
}

void ScreenSurface::set_font(std::string_view face, int height, bool bold) {
  HFONT font = make_print_font(face, height, bold);
  if (!font) return;
  HGDIOBJ previous = SelectObject(dc_, font);
  if (!original_font_) original_font_ = previous;
  font_.reset(font);
  if (!printer_) return;
  HFONT printer_font = make_print_font(face, height, bold);
  if (!printer_font) return;
  previous = SelectObject(printer_, printer_font);
  if (!printer_original_font_) printer_original_font_ = previous;
  printer_font_.reset(printer_font);
}

void ScreenSurface::write_line(int x, int y, std::string_view line) {
  for (size_t at = 0; at < line.size();) {
    size_t size = rt::character_size(line, at);
    int before = ui::text_extent(printer_, line.substr(0, at)).cx;
    ui::draw_text_at(dc_, x + before, y, line.substr(at, size));
    at += size;
  }
}

void ScreenSurface::write_text(int x, int y, std::string_view text) {
  if (printer_)
    write_line(x, y, text);
  else
    ui::draw_text_at(dc_, x, y, text);
}

// Drawn in the preview's mapping (tenths of a millimetre, y downwards) as
// the print job gives it; the rectangle is left as it was. On the
// printer's measure, as the printer's DrawText lays it out without word
// breaks: a line per line break, a line's height apart, cut at the
// rectangle.
void ScreenSurface::write_text_in_rect(std::string_view text, print::Rect& rect,
                                       unsigned format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  if (!printer_) {
    ui::draw_text_in_rect(dc_, text, r, format);
    return;
  }
  TEXTMETRICW metrics{};
  GetTextMetricsW(printer_, &metrics);
  ui::ScopedSavedDc clipped(dc_);
  IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
  int y = r.top;
  for (size_t start = 0; start <= text.size() && y < r.bottom; y += int(metrics.tmHeight)) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    write_line(r.left, y, text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
}

print::TextSize ScreenSurface::measure_text(std::string_view text, std::string_view face,
                                            int height, bool bold) {
  return measure_print_text(printer_ ? printer_ : dc_, text, face, height, bold);
}

}  // namespace app

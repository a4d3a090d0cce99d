#include "app/canvas_surface_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/text_encoding.h"
#include "ui/gdi_guards.h"
#include "ui/text_drawing.h"

namespace app {

HFONT make_print_font(std::string_view face, int height, bool bold) {
  // A negative height asks for the character height, not the cell's.
  return CreateFontW(-height, 0, 0, 0, bold ? 800 : 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                     0, 0, rt::widen(face).c_str());
}

print::TextSize measure_print_text(HDC dc, std::string_view text, std::string_view face, int height,
                                   bool bold) {
  ui::OwnedGdiObject<HFONT> font(dc ? make_print_font(face, height, bold) : nullptr);
  if (!font) return {};
  ui::ScopedSelect selected(dc, font.get());
  SIZE size = ui::text_extent(dc, text);
  return {int(size.cx), int(size.cy)};
}

// The form's orientation follows the paper the driver offers for it (the
// canvas turns it where the driver lists the paper the other way round).
print::OpenedPrinter CanvasSurface::open_on_printer(std::string_view name, int /*orientation*/,
                                                    int paper_width, int paper_length) {
  std::string printer(name);
  ui::PaperFit fit = canvas_.open_for_paper(printer, paper_width, paper_length);
  print::OpenedPrinter opened{fit.opened, printer, fit.fits, fit.paper_name, fit.width, fit.length};
  if (!fit.opened && !printer.empty()) {
    std::vector<std::string> installed;
    ui::Canvas::list_printers(installed);
    opened.missing = std::find(installed.begin(), installed.end(), printer) == installed.end();
  }
  return opened;
}

print::TextSize CanvasSurface::measure_text(std::string_view text, std::string_view face,
                                            int height, bool bold) {
  return measure_print_text(canvas_.printer_dc(), text, face, height, bold);
}

void CanvasSurface::write_text_in_rect(std::string_view text, print::Rect& rect, unsigned format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  canvas_.write_text_in_rect(text, r, format);
  rect = print::Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace app

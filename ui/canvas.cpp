#include "ui/canvas.h"

// After windows.h.
#include <winspool.h>

#include <algorithm>
#include <cstring>

#include "runtime/text_encoding.h"
#include "ui/paper_choice.h"
#include "ui/text_drawing.h"

namespace ui {

namespace {

// Logical units per inch times 4/3 of each metric mapping mode.
int units_factor(int mapping) {
  switch (mapping) {
    case MM_LOMETRIC: return 339;
    case MM_HIMETRIC: return 3387;
    case MM_LOENGLISH: return 133;
    case MM_HIENGLISH: return 1333;
    case MM_TWIPS: return 1920;
    default: return 0;
  }
}

// Logical units per inch of each metric mapping mode.
int units_per_inch(int mapping) {
  switch (mapping) {
    case MM_LOMETRIC: return 254;
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
    default: return 0;
  }
}

// A printer handle closed on every path.
class PrinterHandle {
 public:
  explicit PrinterHandle(const std::string& name) {
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &handle_, nullptr)) handle_ = nullptr;
  }
  ~PrinterHandle() {
    if (handle_) ClosePrinter(handle_);
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

DEVMODEA* as_devmode(std::vector<BYTE>& devmode) {
  return reinterpret_cast<DEVMODEA*>(devmode.data());
}

// A device context for `printer` with the driver's current settings
// changed by `request` and merged by the driver, or none; `devmode` keeps
// what the driver made of the request. The printer handle is closed on
// every path, before the DC is made.
template <typename Request>
HDC printer_dc_with(const std::string& printer, std::vector<BYTE>& devmode, Request request) {
  {
    PrinterHandle handle(printer);
    if (!handle.get()) return nullptr;
    char* device = const_cast<char*>(printer.c_str());
    LONG size = DocumentPropertiesA(nullptr, handle.get(), device, nullptr, nullptr, 0);
    if (size <= 0) return nullptr;
    // At least a whole DEVMODEA, so its fields are inside the buffer.
    devmode.assign(std::max<size_t>(size_t(size), sizeof(DEVMODEA)), 0);
    DEVMODEA* dm = as_devmode(devmode);
    if (DocumentPropertiesA(nullptr, handle.get(), device, dm, nullptr, DM_OUT_BUFFER) < 0)
      return nullptr;
    request(handle.get(), devmode);
    if (DocumentPropertiesA(nullptr, handle.get(), device, dm, dm, DM_IN_BUFFER | DM_OUT_BUFFER) <
        0)
      return nullptr;
  }
  return CreateDCA("WINSPOOL", printer.c_str(), nullptr, as_devmode(devmode));
}

// The port a printer is connected to, for the driver's capability queries.
std::string printer_port(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterA(printer, 2, nullptr, 0, &needed);
  if (needed < sizeof(PRINTER_INFO_2A)) return {};
  std::vector<BYTE> buffer(needed, 0);
  if (!GetPrinterA(printer, 2, buffer.data(), needed, &needed)) return {};
  const char* port = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data())->pPortName;
  return port ? port : "";
}

// The papers the driver offers: numbers, sizes and (where it has them) names.
std::vector<Paper> driver_papers(const std::string& printer, HANDLE handle) {
  std::string port = printer_port(handle);
  const char* device = printer.c_str();
  const char* at = port.empty() ? nullptr : port.c_str();
  int n = DeviceCapabilitiesA(device, at, DC_PAPERS, nullptr, nullptr);
  if (n <= 0 || n > 4096) return {};
  auto count = static_cast<size_t>(n);
  std::vector<WORD> ids(count);
  std::vector<POINT> sizes(count);
  constexpr size_t kNameSize = 64;
  std::vector<char> names(count * kNameSize, 0);
  if (DeviceCapabilitiesA(device, at, DC_PAPERS, reinterpret_cast<char*>(ids.data()), nullptr) !=
          n ||
      DeviceCapabilitiesA(device, at, DC_PAPERSIZE, reinterpret_cast<char*>(sizes.data()),
                          nullptr) != n)
    return {};
  bool named = DeviceCapabilitiesA(device, at, DC_PAPERNAMES, names.data(), nullptr) == n;
  std::vector<Paper> papers;
  for (size_t i = 0; i < count; ++i) {
    const char* name = names.data() + i * kNameSize;
    papers.push_back(Paper{ids[i], int(sizes[i].x), int(sizes[i].y),
                           named ? std::string(name, strnlen(name, kNameSize)) : std::string()});
  }
  return papers;
}

// Asks for the chosen paper by its number (what drivers honour), or for a
// user-defined paper of the size where the driver has none.
void request_paper(DEVMODEA& dm, const std::optional<PaperChoice>& chosen, int width, int length) {
  dm.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
  if (chosen) {
    dm.dmPaperSize = short(chosen->id);
    dm.dmOrientation = chosen->landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    return;
  }
  dm.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  dm.dmPaperSize = DMPAPER_USER;
  dm.dmOrientation = DMORIENT_PORTRAIT;
  dm.dmPaperWidth = short(width);
  dm.dmPaperLength = short(length);
}

// The page a printer DC prints, in tenths of a millimetre; where the driver
// does not say, the paper size it kept in its settings.
SIZE printed_page(HDC dc, const DEVMODEA& kept, std::span<const Paper> papers) {
  int dpi_x = GetDeviceCaps(dc, LOGPIXELSX), dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  int w = GetDeviceCaps(dc, PHYSICALWIDTH), h = GetDeviceCaps(dc, PHYSICALHEIGHT);
  if (dpi_x > 0 && dpi_y > 0 && w > 0 && h > 0)
    return {MulDiv(w, 254, dpi_x), MulDiv(h, 254, dpi_y)};
  SIZE listed{kept.dmPaperWidth, kept.dmPaperLength};
  for (const Paper& p : papers)
    if (p.id == kept.dmPaperSize) listed = {p.width, p.length};
  if (kept.dmOrientation == DMORIENT_LANDSCAPE) std::swap(listed.cx, listed.cy);
  return listed;
}

}  // namespace

FontSpec font_spec_of(HFONT font) {
  LOGFONTW lf{};
  FontSpec described;
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return described;
  described.face = rt::narrow(std::wstring_view(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)));
  described.height = lf.lfHeight;
  described.underline = lf.lfUnderline != 0;
  described.strike_out = lf.lfStrikeOut != 0;
  described.italic = lf.lfItalic != 0;
  described.bold = lf.lfWeight >= 401;
  described.escapement = lf.lfEscapement;
  return described;
}

HFONT make_font(const FontSpec& described, LONG height) {
  return CreateFontW(height, 0, described.escapement, 0, described.bold ? 800 : 0, described.italic,
                     described.underline, described.strike_out, DEFAULT_CHARSET, 0, 0, 0, 0,
                     rt::widen(described.face).c_str());
}

Canvas::Canvas() : font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {}

Canvas::~Canvas() {
  release_printer_dc();
  // Selected objects cannot be deleted: hand the DCs their stock objects first.
  for (HDC dc : {target_, mirror_}) {
    if (!dc) continue;
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
  }
  if (font_) DeleteObject(font_);
  if (pen_) DeleteObject(pen_);
  if (brush_) DeleteObject(brush_);
}

void Canvas::apply_attributes(HDC dc) const {
  if (brush_) SelectObject(dc, brush_);
  if (pen_) SelectObject(dc, pen_);
  if (font_) SelectObject(dc, font_);
  SetTextColor(dc, text_colour_);
  SetBkColor(dc, COLORREF(background_colour_));
  SetBkMode(dc, background_colour_ == -1 ? TRANSPARENT : OPAQUE);
  SetMapMode(dc, mapping_);
  SetStretchBltMode(dc, HALFTONE);
  if (raster_operation_ != 0) SetROP2(dc, raster_operation_);
}

void Canvas::bind_target(HDC dc) {
  if (dc) apply_attributes(dc);
  target_ = dc;
}

void Canvas::bind_mirror(HDC dc) {
  if (dc) apply_attributes(dc);
  mirror_ = dc;
}

bool Canvas::pixel(int x, int y, COLORREF colour) {
  return on_both([&](HDC dc) { return SetPixel(dc, x, logical_y(y), colour) != COLORREF(-1); });
}
bool Canvas::line(int x1, int y1, int x2, int y2) {
  return on_both([&](HDC dc) {
    return MoveToEx(dc, x1, logical_y(y1), nullptr) && LineTo(dc, x2, logical_y(y2));
  });
}
bool Canvas::ellipse(int l, int t, int r, int b) {
  return on_both([&](HDC dc) { return Ellipse(dc, l, logical_y(t), r, logical_y(b)) != FALSE; });
}
bool Canvas::arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return on_both([&](HDC dc) {
    return ArcTo(dc, l, logical_y(t), r, logical_y(b), x1, logical_y(y1), x2, logical_y(y2)) !=
           FALSE;
  });
}
bool Canvas::chord(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return on_both([&](HDC dc) {
    return Chord(dc, l, logical_y(t), r, logical_y(b), x1, logical_y(y1), x2, logical_y(y2)) !=
           FALSE;
  });
}
bool Canvas::pie(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return on_both([&](HDC dc) {
    return Pie(dc, l, logical_y(t), r, logical_y(b), x1, logical_y(y1), x2, logical_y(y2)) != FALSE;
  });
}
bool Canvas::rectangle(int l, int t, int r, int b) {
  return on_both([&](HDC dc) { return Rectangle(dc, l, logical_y(t), r, logical_y(b)) != FALSE; });
}
bool Canvas::filled_rectangle(const RECT& rect, HBRUSH brush) {
  RECT r{rect.left, logical_y(rect.top), rect.right, logical_y(rect.bottom)};
  return on_both([&](HDC dc) { return FillRect(dc, &r, brush) != 0; });
}
bool Canvas::rounded_rectangle(int l, int t, int r, int b, int w, int h) {
  return on_both(
      [&](HDC dc) { return RoundRect(dc, l, logical_y(t), r, logical_y(b), w, h) != FALSE; });
}
bool Canvas::polygon(const std::vector<POINT>& points) {
  std::vector<POINT> logical = points;
  for (POINT& p : logical) p.y = logical_y(p.y);
  return on_both([&](HDC dc) { return Polygon(dc, logical.data(), int(logical.size())) != FALSE; });
}

POINT Canvas::current_position() const {
  POINT p{};
  if (target_) GetCurrentPositionEx(target_, &p);
  p.y = logical_y(p.y);
  return p;
}

void Canvas::move_pen(const int* x, const int* y) {
  POINT p{};
  if (target_) GetCurrentPositionEx(target_, &p);
  int nx = x ? *x : p.x;
  int ny = y ? logical_y(*y) : p.y;
  on_both([&](HDC dc) { return MoveToEx(dc, nx, ny, nullptr) != FALSE; });
}

void Canvas::write_at_pen(std::string_view text) {
  on_both([&](HDC dc) {
    POINT p{};
    GetCurrentPositionEx(dc, &p);
    draw_text_at(dc, p.x, p.y, text);
    return MoveToEx(dc, p.x + text_extent(dc, text).cx, p.y, nullptr) != FALSE;
  });
}

void Canvas::write_text(const int* x, const int* y, std::string_view text) {
  POINT p{};
  if (target_) GetCurrentPositionEx(target_, &p);
  int nx = x ? *x : p.x;
  int ny = y ? logical_y(*y) : p.y;
  on_both([&](HDC dc) { return draw_text_at(dc, nx, ny, text); });
}

int Canvas::write_text_in_rect(std::string_view text, RECT& rect, UINT format) {
  if (mapping_ != MM_TEXT) {
    rect.top = -rect.top;
    rect.bottom = -rect.bottom;
  }
  int height = target_ ? draw_text_in_rect(target_, text, rect, format) : 0;
  if (mirror_) height = draw_text_in_rect(mirror_, text, rect, format);
  return height;
}

int Canvas::text_width(std::string_view text) const { return target_ ? text_extent(target_, text).cx : 0; }

int Canvas::text_height(std::string_view text) const { return target_ ? text_extent(target_, text).cy : 0; }

void Canvas::set_text_colour(COLORREF colour) {
  text_colour_ = colour;
  on_both([&](HDC dc) { return SetTextColor(dc, colour) != CLR_INVALID; });
}

void Canvas::set_background_colour(int colour) {
  background_colour_ = colour;
  on_both([&](HDC dc) {
    SetBkColor(dc, COLORREF(colour));
    return SetBkMode(dc, colour == -1 ? TRANSPARENT : OPAQUE) != 0;
  });
}

int Canvas::convert_units(int n, int kind) const {
  if (!target_ || mapping_ == MM_TEXT) return n;
  int k = units_factor(mapping_);
  switch (kind) {
    case units_to_pixels_across: return MulDiv(n, GetDeviceCaps(target_, LOGPIXELSX), k);
    case units_to_pixels_down: return MulDiv(n, GetDeviceCaps(target_, LOGPIXELSY), k);
    case pixels_to_units_across: return MulDiv(n, k, GetDeviceCaps(target_, LOGPIXELSX));
    case pixels_to_units_down: return MulDiv(n, k, GetDeviceCaps(target_, LOGPIXELSY));
    default: return n;
  }
}

// Selects the new font before the old one goes: a font still selected into
// a DC cannot be deleted and would leak.
void Canvas::replace_font(HFONT font) {
  HFONT old = font_;
  font_ = font;
  if (target_) SelectObject(target_, font_);
  if (mirror_) SelectObject(mirror_, font_);
  if (old && old != font_) DeleteObject(old);
}

int Canvas::set_mapping(int mode) {
  if (mode == kReadMapping) return mapping_;
  mapping_ = mode;
  FontSpec described = font_spec_of(font_);
  replace_font(make_font(described, convert_units(described.height, pixels_to_units_down)));
  int previous = target_ ? SetMapMode(target_, mode) : 0;
  if (mirror_) SetMapMode(mirror_, mode);
  return previous;
}

void Canvas::scale_by_resolution() {
  int per_inch = units_per_inch(mapping_);
  if (per_inch == 0) return;
  on_both([&](HDC dc) {
    // y grows upwards, as in the metric modes.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, per_inch, per_inch, nullptr);
    return SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), -GetDeviceCaps(dc, LOGPIXELSY),
                            nullptr) != FALSE;
  });
}

void Canvas::set_font(HFONT font) {
  FontSpec described = font_spec_of(font);
  if (font && font != font_) DeleteObject(font);
  replace_font(make_font(described, convert_units(described.height, pixels_to_units_down)));
}

int Canvas::raster_operation(int mode) {
  if (mode == 0) return target_ ? GetROP2(target_) : 0;
  raster_operation_ = mode;
  on_both([&](HDC dc) { return SetROP2(dc, mode) != 0; });
  return mode;
}

std::string Canvas::default_printer_name() {
  // Up to the terminating zero: the reported size counts characters on
  // Windows and bytes on Wine, so it is no byte length of a GBK name.
  auto text = [](const std::vector<char>& b) {
    return std::string(b.data(), strnlen(b.data(), b.size()));
  };
  std::vector<char> buffer(256, 0);
  DWORD size = DWORD(buffer.size());
  if (GetDefaultPrinterA(buffer.data(), &size)) return text(buffer);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  buffer.assign(size_t(size) + 1, 0);
  if (!GetDefaultPrinterA(buffer.data(), &size)) return {};
  return text(buffer);
}

bool Canvas::set_default_printer_name(std::string_view name) {
  return SetDefaultPrinterA(std::string(name).c_str()) != FALSE;
}

int Canvas::list_printers(std::vector<std::string>& names) {
  DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersA(flags, nullptr, 1, nullptr, 0, &needed, &count);
  if (needed == 0) return 0;
  std::vector<BYTE> buffer(needed, 0);
  if (!EnumPrintersA(flags, nullptr, 1, buffer.data(), needed, &needed, &count) || count == 0)
    return 0;
  const auto* info = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
  names.clear();
  for (DWORD i = 0; i < count; ++i) names.emplace_back(info[i].pName ? info[i].pName : "");
  return int(count);
}

bool Canvas::open_on_printer(std::string* name, const int* paper_size, const int* orientation,
                             const int* paper_width, const int* paper_length) {
  release_printer_dc();
  std::string printer = name ? *name : std::string();
  if (printer.empty()) {
    printer = default_printer_name();
    if (name) *name = printer;
  }
  std::vector<BYTE> devmode;
  HDC dc = printer_dc_with(printer, devmode, [&](HANDLE, std::vector<BYTE>& dm) {
    DEVMODEA* mode = as_devmode(dm);
    mode->dmFields = (paper_size ? DM_PAPERSIZE : 0) | (orientation ? DM_ORIENTATION : 0) |
                     (paper_width ? DM_PAPERWIDTH : 0) | (paper_length ? DM_PAPERLENGTH : 0);
    mode->dmOrientation = short(orientation ? *orientation : DMORIENT_PORTRAIT);
    mode->dmPaperSize = short(paper_size ? *paper_size : 0);
    mode->dmPaperLength = short(paper_length ? *paper_length : 0);
    mode->dmPaperWidth = short(paper_width ? *paper_width : 0);
  });
  if (!dc) return false;
  attach_printer_dc(dc);
  return true;
}

PaperFit Canvas::open_for_paper(std::string& name, int width, int length) {
  release_printer_dc();
  if (name.empty()) name = default_printer_name();
  std::vector<Paper> papers;
  std::vector<BYTE> devmode;
  HDC dc = printer_dc_with(name, devmode, [&](HANDLE handle, std::vector<BYTE>& dm) {
    papers = driver_papers(name, handle);
    request_paper(*as_devmode(dm), choose_paper(papers, width, length), width, length);
  });
  if (!dc) return {};
  attach_printer_dc(dc);
  const DEVMODEA& kept = *as_devmode(devmode);
  SIZE page = printed_page(dc, kept, papers);
  PaperFit fit{
      true, same_page(int(page.cx), int(page.cy), width, length), {}, int(page.cx), int(page.cy)};
  for (const Paper& p : papers)
    if (p.id == kept.dmPaperSize) fit.paper_name = p.name;
  return fit;
}

bool Canvas::begin_document(std::string_view name) {
  std::string doc_name(name);
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = doc_name.c_str();
  return printer_ && StartDocA(printer_, &info) > 0;
}

bool Canvas::finish_document() { return printer_ && EndDoc(printer_) > 0; }

bool Canvas::begin_page() {
  int zero = 0;
  move_pen(&zero, &zero);
  return printer_ && StartPage(printer_) > 0;
}

bool Canvas::finish_page() { return printer_ && EndPage(printer_) > 0; }
bool Canvas::cancel_document() { return printer_ && AbortDoc(printer_) > 0; }

void Canvas::attach_printer_dc(HDC dc) {
  printer_ = dc;
  bind_target(dc);
}

void Canvas::release_printer_dc() {
  if (!printer_) return;
  // The canvas's objects leave the DC before it goes.
  SelectObject(printer_, GetStockObject(SYSTEM_FONT));
  DeleteDC(printer_);
  if (target_ == printer_) bind_target(nullptr);
  printer_ = nullptr;
}

}  // namespace ui

#include "ui/canvas.h"

// After windows.h.
#include <winspool.h>

#include <algorithm>
#include <cstring>

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

void put16(std::vector<BYTE>& devmode, size_t offset, int value) {
  auto v = uint16_t(int16_t(value));
  std::memcpy(devmode.data() + offset, &v, 2);
}

}  // namespace

FontSpec font_spec_of(HFONT font) {
  LOGFONTA lf{};
  FontSpec described;
  if (!font || !GetObjectA(font, sizeof lf, &lf)) return described;
  described.face.assign(lf.lfFaceName, strnlen(lf.lfFaceName, sizeof lf.lfFaceName));
  described.height = lf.lfHeight;
  described.underline = lf.lfUnderline != 0;
  described.strike_out = lf.lfStrikeOut != 0;
  described.italic = lf.lfItalic != 0;
  described.bold = lf.lfWeight >= 401;
  described.escapement = lf.lfEscapement;
  return described;
}

HFONT make_font(const FontSpec& described, LONG height) {
  return CreateFontA(height, 0, described.escapement, 0, described.bold ? 800 : 0, described.italic,
                     described.underline, described.strike_out, DEFAULT_CHARSET, 0, 0, 0, 0,
                     described.face.c_str());
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
    TextOutA(dc, p.x, p.y, text.data(), int(text.size()));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
    return MoveToEx(dc, p.x + size.cx, p.y, nullptr) != FALSE;
  });
}

void Canvas::write_text(const int* x, const int* y, std::string_view text) {
  POINT p{};
  if (target_) GetCurrentPositionEx(target_, &p);
  int nx = x ? *x : p.x;
  int ny = y ? logical_y(*y) : p.y;
  on_both([&](HDC dc) { return TextOutA(dc, nx, ny, text.data(), int(text.size())) != FALSE; });
}

int Canvas::write_text_in_rect(std::string_view text, RECT& rect, UINT format) {
  if (mapping_ != MM_TEXT) {
    rect.top = -rect.top;
    rect.bottom = -rect.bottom;
  }
  int height = target_ ? DrawTextA(target_, text.data(), int(text.size()), &rect, format) : 0;
  if (mirror_) height = DrawTextA(mirror_, text.data(), int(text.size()), &rect, format);
  return height;
}

int Canvas::text_width(std::string_view text) const {
  SIZE size{};
  if (target_) GetTextExtentPoint32A(target_, text.data(), int(text.size()), &size);
  return size.cx;
}

int Canvas::text_height(std::string_view text) const {
  SIZE size{};
  if (target_) GetTextExtentPoint32A(target_, text.data(), int(text.size()), &size);
  return size.cy;
}

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
    case 1: return MulDiv(n, GetDeviceCaps(target_, LOGPIXELSX), k);
    case 2: return MulDiv(n, GetDeviceCaps(target_, LOGPIXELSY), k);
    case 3: return MulDiv(n, k, GetDeviceCaps(target_, LOGPIXELSX));
    case 4: return MulDiv(n, k, GetDeviceCaps(target_, LOGPIXELSY));
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
  if (mode == 0) return mapping_;
  mapping_ = mode;
  FontSpec described = font_spec_of(font_);
  replace_font(make_font(described, convert_units(described.height, 4)));
  int previous = target_ ? SetMapMode(target_, mode) : 0;
  if (mirror_) SetMapMode(mirror_, mode);
  return previous;
}

void Canvas::set_font(HFONT font) {
  FontSpec described = font_spec_of(font);
  if (font && font != font_) DeleteObject(font);
  replace_font(make_font(described, convert_units(described.height, 4)));
}

int Canvas::raster_operation(int mode) {
  if (mode == 0) return target_ ? GetROP2(target_) : 0;
  raster_operation_ = mode;
  on_both([&](HDC dc) { return SetROP2(dc, mode) != 0; });
  return mode;
}

std::string Canvas::default_printer_name() {
  char buffer[256];
  DWORD size = sizeof buffer;
  if (GetDefaultPrinterA(buffer, &size)) return std::string(buffer, size ? size - 1 : 0);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  std::vector<char> larger(size);
  if (!GetDefaultPrinterA(larger.data(), &size)) return {};
  return std::string(larger.data(), size ? size - 1 : 0);
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
  PrinterHandle handle(printer);
  if (!handle.get()) return false;
  char* device = const_cast<char*>(printer.c_str());
  LONG size = DocumentPropertiesA(nullptr, handle.get(), device, nullptr, nullptr, 0);
  if (size <= 0) return false;
  // At least a whole DEVMODEA, so the fields below are inside the buffer.
  std::vector<BYTE> devmode(std::max<size_t>(size_t(size), sizeof(DEVMODEA)), 0);
  auto* dm = reinterpret_cast<DEVMODEA*>(devmode.data());
  if (DocumentPropertiesA(nullptr, handle.get(), device, dm, nullptr, DM_OUT_BUFFER) < 0)
    return false;
  DWORD fields = (paper_size ? DM_PAPERSIZE : 0) | (orientation ? DM_ORIENTATION : 0) |
                 (paper_width ? DM_PAPERWIDTH : 0) | (paper_length ? DM_PAPERLENGTH : 0);
  std::memcpy(devmode.data() + 40, &fields, 4);
  put16(devmode, 44, orientation ? *orientation : DMORIENT_PORTRAIT);
  put16(devmode, 46, paper_size ? *paper_size : 0);
  put16(devmode, 48, paper_length ? *paper_length : 0);
  put16(devmode, 50, paper_width ? *paper_width : 0);
  if (DocumentPropertiesA(nullptr, handle.get(), device, dm, dm, DM_IN_BUFFER | DM_OUT_BUFFER) < 0)
    return false;
  printer_ = CreateDCA("WINSPOOL", printer.c_str(), nullptr, dm);
  if (!printer_) return false;
  bind_target(printer_);
  return true;
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

#include "ui/control.h"

#include "ui/gdi_guards.h"

namespace ui {

Control::~Control() { delete_brush(); }

void Control::delete_brush() {
  if (brush_ && brush_ != GetStockObject(NULL_BRUSH)) DeleteObject(brush_);
  brush_ = nullptr;
}

void Control::class_cleanup() { delete_brush(); }

HBRUSH Control::child_colour(HWND child, HDC dc) {
  if (background_colour_ == kTransparent) {
    SetTextColor(dc, text_colour_);
    SetBkMode(dc, TRANSPARENT);
    HWND owner = GetParent(child);
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&r), 2);
    WindowDc owner_dc(owner);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, owner_dc.get(), r.left, r.top, SRCCOPY);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
  if (!brush_) return nullptr;
  SetTextColor(dc, text_colour_);
  SetBkColor(dc, COLORREF(background_colour_));
  return brush_;
}

void Control::set_background_colour(int colour, bool redraw) {
  delete_brush();
  background_colour_ = colour;
  if (colour == kTransparent) {
    if (handle()) set_style_bits(WS_EX_TRANSPARENT, true, true);
    brush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  } else {
    if (handle()) set_style_bits(WS_EX_TRANSPARENT, false, true);
    brush_ = CreateSolidBrush(COLORREF(colour));
  }
  if (redraw && handle()) invalidate();
}

void Control::set_text_colour(COLORREF colour, bool redraw) {
  text_colour_ = colour;
  if (redraw && handle()) invalidate();
}

}  // namespace ui

#include "ui/status_bar_control.h"

#include "ui/gdi_guards.h"
#include "ui/text_drawing.h"

namespace ui {

namespace {

constexpr int kPadding = 3;  // pixels around the text

HFONT font_of(HWND window) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

void StatusBarControl::show_text_over(int lines) {
  HWND bar = handle();
  int line_height = 0;
  {
    HDC dc = GetDC(bar);
    {
      ScopedSelect font(dc, font_of(bar));
      TEXTMETRICW metrics{};
      GetTextMetricsW(dc, &metrics);
      line_height = metrics.tmHeight;
    }
    ReleaseDC(bar, dc);
  }
  SendMessageW(bar, SB_SETMINHEIGHT, WPARAM(lines * line_height + 2 * kPadding), 0);
  SendMessageW(bar, WM_SIZE, 0, 0);  // takes the new height at the parent's bottom
  on_paint([bar](HDC dc, int, int, int, int) {
    RECT area;
    GetClientRect(bar, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    InflateRect(&area, -kPadding, -kPadding);
    area.right -= GetSystemMetrics(SM_CXVSCROLL);  // the size grip's corner
    ScopedSelect font(dc, font_of(bar));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    std::wstring wide(size_t(GetWindowTextLengthW(bar)) + 1, L'\0');
    wide.resize(size_t(GetWindowTextW(bar, wide.data(), int(wide.size()))));
    draw_text_in_rect(dc, rt::narrow(wide), area,
                      DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS);
    return 1;
  });
  InvalidateRect(bar, nullptr, TRUE);
}

}  // namespace ui

#include "ui/dpi.h"

namespace ui {

int window_dpi(HWND window) {
  // Windows 10's per-monitor answer where there is one.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpi_for_window = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window && dpi_for_window)
    if (UINT dpi = dpi_for_window(window)) return int(dpi);
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDefaultDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

HFONT gui_font() {
  // The stock GUI font keeps its 96-dpi size on a scaled screen.
  static const HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    HFONT made = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                     ? CreateFontIndirectW(&metrics.lfMessageFont)
                     : nullptr;
    return made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

}  // namespace ui

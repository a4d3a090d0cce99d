// The screen's scale: the program declares itself aware of it (per
// monitor), so Windows no longer stretches its windows as bitmaps, and it
// lays its windows out at the scale of the screen they are on.
#pragma once

#include <windows.h>

namespace ui {

inline constexpr int kDefaultDpi = 96;  // 100 %

// The dots per inch of the screen `window` is on (the system's for none).
int window_dpi(HWND window);
// `pixels` laid out at 96 dpi, at `dpi`.
inline int scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, kDefaultDpi); }
// The font of the program's own windows and controls: the system's
// message font at the system's scale (made once, kept for the run).
HFONT gui_font();

}  // namespace ui

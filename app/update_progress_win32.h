// While the new version downloads: a small window over the main window
// saying so, with "取消"; the main window cannot be used meanwhile.
#pragma once

#include <windows.h>

namespace app {

inline constexpr char kUpdateProgressTitle[] = "正在更新";

void show_update_progress(HWND owner);
void close_update_progress();
// "取消" pressed, the window closed, or its owner gone.
bool update_cancelled();

}  // namespace app

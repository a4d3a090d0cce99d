#include "app/update_progress_win32.h"

#include "ui/window_base.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetUpdateProgress";
constexpr int kCancel = 1;
constexpr int kWidth = 300, kHeight = 96;

struct Progress {
  HWND window = nullptr, owner = nullptr;
  bool cancelled = false;
} progress;

LRESULT handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kCancel) progress.cancelled = true;
      return 0;
    case WM_CLOSE:  // closed only by close_update_progress
      progress.cancelled = true;
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND child(HWND parent, const char* cls, const char* text, DWORD style, RECT r, int id) {
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(intptr_t(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(c, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return c;
}

}  // namespace

void show_update_progress(HWND owner) {
  progress.cancelled = false;
  if (progress.window || !ui::register_window_class(kClass, ui::guarded_procedure<handle>)) return;
  RECT frame{0, 0, kWidth, kHeight};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  RECT over{};
  GetWindowRect(owner, &over);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  progress.window = CreateWindowExA(WS_EX_DLGMODALFRAME, kClass, kUpdateProgressTitle, style, x, y,
                                    width, height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!progress.window) return;
  progress.owner = owner;
  child(progress.window, "STATIC", "正在下载新版本，请稍候……", SS_LEFT, RECT{16, 16, 284, 36}, 0);
  child(progress.window, "BUTTON", "取消", BS_PUSHBUTTON | WS_TABSTOP, RECT{110, 52, 190, 78},
        kCancel);
  EnableWindow(owner, FALSE);
  ShowWindow(progress.window, SW_SHOWNORMAL);
  UpdateWindow(progress.window);
}

void close_update_progress() {
  if (!progress.window) return;
  // The owner first, so that it, not another program, becomes active.
  if (IsWindow(progress.owner)) EnableWindow(progress.owner, TRUE);
  DestroyWindow(progress.window);
  progress.window = progress.owner = nullptr;
}

bool update_cancelled() {
  return progress.cancelled || (progress.owner && !IsWindow(progress.owner));
}

}  // namespace app

#include "app/update_progress_win32.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetUpdateProgress";
constexpr int kCancel = 1;
constexpr int kWidth = 300, kHeight = 96;

}  // namespace

void UpdateProgressWindow::show(HWND owner) {
  cancelled_ = false;
  if (handle() || !ui::register_window_class(kClass, DefWindowProcW)) return;
  RECT frame{0, 0, kWidth, kHeight};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  RECT over{};
  GetWindowRect(owner, &over);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  if (!create(WS_EX_DLGMODALFRAME, kClass, kUpdateProgressTitle, style, x, y, width, height, owner,
              nullptr))
    return;
  owner_ = owner;
  note_.create(0, "STATIC", "正在下载新版本，请稍候……", WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16,
               268, 20, handle(), nullptr);
  cancel_button_.create(0, "BUTTON", "取消", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP,
                        110, 52, 80, 26, handle(), reinterpret_cast<HMENU>(intptr_t(kCancel)));
  cancel_button_.on_click([this] {
    cancelled_ = true;
    return 0;
  });
  EnableWindow(owner, FALSE);
  ShowWindow(handle(), SW_SHOWNORMAL);
  update();
}

// Closed only by close(): the window's close box cancels the download.
LRESULT UpdateProgressWindow::message_method(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_CLOSE) {
    cancelled_ = true;
    return 0;
  }
  return WindowBase::message_method(window, message, wparam, lparam);
}

void UpdateProgressWindow::close() {
  if (!handle()) return;
  // The owner first, so that it, not another program, becomes active.
  if (IsWindow(owner_)) EnableWindow(owner_, TRUE);
  DestroyWindow(handle());
  owner_ = nullptr;
}

bool UpdateProgressWindow::cancelled() const {
  return cancelled_ || (owner_ && !IsWindow(owner_));
}

}  // namespace app

// While the new version downloads: a small window over the main window
// saying so, with "取消"; the main window cannot be used meanwhile.
#pragma once

#include <windows.h>

#include "ui/button_control.h"

namespace app {

inline constexpr char kUpdateProgressTitle[] = "正在更新";

// One object for the program's run; its window is there while a download
// runs.
class UpdateProgressWindow : public ui::WindowBase {
 public:
  void show(HWND owner);
  void close();
  // "取消" pressed, the window closed, or its owner gone.
  bool cancelled() const;
  LRESULT message_method(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  HWND owner_ = nullptr;
  bool cancelled_ = false;
  ui::Control note_;
  ui::ButtonControl cancel_button_;
};

}  // namespace app

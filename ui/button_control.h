// A push button taken over from a dialog item.
#pragma once

#include "ui/control.h"

namespace ui {

class ButtonControl : public Control {
 public:
  WindowBase* copy() const override { return new ButtonControl(*this); }
  LRESULT child_command(HWND, HWND, int code, int) override {
    if (code == BN_CLICKED && on_click_) on_click_();
    return 0;
  }
  void on_click(NoArgHandler h) { on_click_ = std::move(h); }

 private:
  NoArgHandler on_click_ = nullptr;
};

}  // namespace ui

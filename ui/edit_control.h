// An edit box taken over from a dialog item.
#pragma once

#include "ui/control.h"

namespace ui {

class EditControl : public Control {
 public:
  WindowBase* copy() const override { return new EditControl(*this); }
  // Attaches and gives the box a white background.
  bool attach(HWND parent, int id, bool set_font = true) {
    if (!Control::attach(parent, id, set_font)) return false;
    set_background_colour(0xFFFFFF);
    return true;
  }
  LRESULT child_command(HWND, HWND, int code, int) override {
    if (code == EN_CHANGE && on_change_) on_change_();
    return 0;
  }
  void on_change(NoArgHandler h) { on_change_ = std::move(h); }

 private:
  NoArgHandler on_change_ = nullptr;
};

}  // namespace ui

// A link control (common control) whose anchors raise link clicks.
#pragma once

#include "ui/control.h"

namespace ui {

using LinkHandler = std::function<intptr_t(int link_index)>;

class LinkControl : public Control {
 public:
  LinkControl();
  WindowBase* copy() const override { return new LinkControl(*this); }
  LRESULT child_notify(HWND parent, HWND sender, int code, int id, NMHDR* header) override;
  void on_link_click(LinkHandler h) { on_link_click_ = std::move(h); }

 private:
  LinkHandler on_link_click_ = nullptr;
};

}  // namespace ui

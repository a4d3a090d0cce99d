// The status bar (common control); its text is the first part's text.
#pragma once

#include "ui/control.h"

namespace ui {

class StatusBarControl : public Control {
 public:
  StatusBarControl() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
  }
  WindowBase* copy() const override { return new StatusBarControl(*this); }
};

}  // namespace ui

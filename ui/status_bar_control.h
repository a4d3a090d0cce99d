// The status bar (common control); its text is the first part's text.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text_encoding.h"
#include "ui/control.h"

namespace ui {

class StatusBarControl : public Control {
 public:
  StatusBarControl() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
  }
  WindowBase* copy() const override { return new StatusBarControl(*this); }
  // The text, and the same text as the tool tip shown when the bar is too
  // narrow for it (made with SBT_TOOLTIPS).
  void set_status_text(std::string_view gbk) const {
    set_text(gbk);
    std::wstring tip = rt::widen(gbk);
    SendMessageW(handle(), SB_SETTIPTEXTW, 0, reinterpret_cast<LPARAM>(tip.c_str()));
  }
  // Makes the bar `lines` lines of its font high and draws its text over
  // them, wrapped: a status bar draws one line and cuts the rest, and its
  // tool tip does not show on every system. Call once the bar is attached.
  void show_text_over(int lines);
};

}  // namespace ui

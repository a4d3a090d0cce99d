#include "ui/link_control.h"

namespace ui {

LinkControl::LinkControl() {
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_LINK_CLASS};
  InitCommonControlsEx(&icc);
  set_text_colour(0, false);
}

LRESULT LinkControl::child_notify(HWND, HWND, int code, int, NMHDR* header) {
  if (code != int(NM_CLICK) || !on_link_click_ || !header) return 0;
  NMLINK link = *reinterpret_cast<NMLINK*>(header);
  on_link_click_(link.item.iLink);
  return 0;
}

}  // namespace ui

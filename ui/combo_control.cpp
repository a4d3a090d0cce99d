#include "ui/combo_control.h"

#include <string>

#include "runtime/text_encoding.h"

namespace ui {

bool ComboControl::attach(HWND parent, int id, bool set_font) {
  if (!Control::attach(parent, id, set_font)) return false;
  set_background_colour(0xFFFFFF);
  return true;
}

LRESULT ComboControl::child_command(HWND, HWND, int code, int) {
  NoArgHandler handler = nullptr;
  switch (code) {
    case CBN_SELCHANGE: handler = on_selection_change_; break;
    case CBN_DBLCLK: handler = on_double_click_; break;
    case CBN_EDITUPDATE: handler = on_edit_update_; break;
    case CBN_DROPDOWN: handler = on_drop_down_; break;
    case CBN_CLOSEUP: handler = on_close_up_; break;
    default: break;
  }
  if (handler) handler();
  return 0;
}

int ComboControl::add_item(std::string_view gbk, LPARAM data) const {
  std::wstring text = rt::widen(gbk);
  int index = int(SendMessageW(handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (index != CB_ERR) send(CB_SETITEMDATA, WPARAM(index), data);
  return index;
}

std::string ComboControl::item_text(int index) const {
  LRESULT n = SendMessageW(handle(), CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (n == CB_ERR || n < 0) return {};
  std::wstring buffer(size_t(n) + 1, L'\0');
  LRESULT got = SendMessageW(handle(), CB_GETLBTEXT, WPARAM(index),
                             reinterpret_cast<LPARAM>(buffer.data()));
  if (got == CB_ERR) return {};
  buffer.resize(size_t(got));
  return rt::narrow(buffer);
}

int ComboControl::item_count() const { return int(send(CB_GETCOUNT)); }
int ComboControl::selection() const { return int(send(CB_GETCURSEL)); }
bool ComboControl::select(int index) const { return send(CB_SETCURSEL, WPARAM(index)) != CB_ERR; }
bool ComboControl::clear() const { return send(CB_RESETCONTENT) != CB_ERR; }

}  // namespace ui

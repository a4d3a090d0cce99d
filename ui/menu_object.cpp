#include "ui/menu_object.h"

namespace ui {

bool MenuObject::create_bar() { return adopt(CreateMenu()); }
bool MenuObject::create_pop_up() { return adopt(CreatePopupMenu()); }

bool MenuObject::take_system_menu(HWND window) {
  if (!adopt(GetSystemMenu(window, FALSE))) return false;
  owned_ = false;  // the window owns its system menu
  return true;
}

bool MenuObject::load(int resource_id) {
  return adopt(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id)));
}

void MenuObject::destroy() {
  if (menu_ && owned_) DestroyMenu(menu_);
  menu_ = nullptr;
  owned_ = true;
  if (brush_) DeleteObject(brush_);
  brush_ = nullptr;
}

bool MenuObject::reset_system_menu(HWND window) { return GetSystemMenu(window, TRUE) == nullptr; }

bool MenuObject::adopt(HMENU menu) {
  if (menu_ || !menu) return false;
  menu_ = menu;
  owned_ = true;
  return true;
}

// A sub-menu, and a window's menu, are destroyed with their parent: the
// object hands ownership over and never destroys them a second time.
bool MenuObject::append_sub_menu(MenuObject& sub, std::string_view text) {
  if (!AppendMenuA(menu_, MF_POPUP | MF_BYPOSITION, reinterpret_cast<UINT_PTR>(sub.menu_),
                   std::string(text).c_str()))
    return false;
  sub.owned_ = false;
  return true;
}

bool MenuObject::insert_sub_menu(int position, MenuObject& sub, std::string_view text) {
  if (!InsertMenuA(menu_, UINT(position), MF_POPUP | MF_BYPOSITION,
                   reinterpret_cast<UINT_PTR>(sub.menu_), std::string(text).c_str()))
    return false;
  sub.owned_ = false;
  return true;
}

bool MenuObject::set_as_menu_of(HWND window) {
  if (!SetMenu(window, menu_)) return false;
  owned_ = false;
  DrawMenuBar(window);
  return true;
}

bool MenuObject::replace_brush(HBRUSH brush) {
  MENUINFO info{sizeof(MENUINFO), MIM_BACKGROUND, 0, 0, brush, 0, 0};
  if (!SetMenuInfo(menu_, &info)) {
    DeleteObject(brush);
    return false;
  }
  if (brush_) DeleteObject(brush_);
  brush_ = brush;
  return true;
}

bool MenuObject::set_background_colour(COLORREF colour) {
  return replace_brush(CreateSolidBrush(colour));
}

bool MenuObject::set_background_pattern(HBITMAP pattern) {
  return replace_brush(CreatePatternBrush(pattern));
}

std::unique_ptr<MenuObject> MenuObject::sub_menu(int position) const {
  auto sub = std::make_unique<MenuObject>();
  if (sub->adopt(GetSubMenu(menu_, position))) sub->owned_ = false;
  return sub;
}

int MenuObject::item_id(int position) const { return int(GetMenuItemID(menu_, position)); }

bool MenuObject::append_item(int id, std::string_view text) {
  return AppendMenuA(menu_, 0, UINT_PTR(id), std::string(text).c_str()) != FALSE;
}
bool MenuObject::append_separator() {
  return AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr) != FALSE;
}
bool MenuObject::append_bitmap(int id, HBITMAP bitmap) {
  return AppendMenuA(menu_, MF_BITMAP, UINT_PTR(id), reinterpret_cast<LPCSTR>(bitmap)) != FALSE;
}
bool MenuObject::insert_item(int position, int id, std::string_view text) {
  return InsertMenuA(menu_, UINT(position), MF_BYPOSITION, UINT_PTR(id),
                     std::string(text).c_str()) != FALSE;
}
bool MenuObject::insert_separator(int position) {
  return InsertMenuA(menu_, UINT(position), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr) != FALSE;
}
bool MenuObject::insert_bitmap(int position, int id, HBITMAP bitmap) {
  return InsertMenuA(menu_, UINT(position), MF_BYPOSITION | MF_BITMAP, UINT_PTR(id),
                     reinterpret_cast<LPCSTR>(bitmap)) != FALSE;
}
bool MenuObject::radio_check(int first, int last, int marked) {
  return CheckMenuRadioItem(menu_, UINT(first), UINT(last), UINT(marked), MF_BYPOSITION) != FALSE;
}

int MenuObject::show_pop_up(int x, int y, HWND owner, UINT flags) const {
  SetForegroundWindow(owner);
  return int(TrackPopupMenu(menu_, flags, x, y, 0, owner, nullptr));
}

std::string MenuObject::item_text(int position) const {
  char buffer[1024] = {};
  int n = GetMenuStringA(menu_, UINT(position), buffer, sizeof buffer, MF_BYPOSITION);
  return std::string(buffer, size_t(n > 0 ? n : 0));
}

bool MenuObject::item_information(int position, MENUITEMINFOA& info) const {
  info.cbSize = sizeof info;
  return GetMenuItemInfoA(menu_, UINT(position), TRUE, &info) != FALSE;
}

bool MenuObject::item_rectangle(HWND window, int position, RECT& rect) const {
  return GetMenuItemRect(window, menu_, UINT(position), &rect) != FALSE;
}

int MenuObject::item_count() const { return GetMenuItemCount(menu_); }
UINT MenuObject::item_state(int position) const {
  return GetMenuState(menu_, UINT(position), MF_BYPOSITION);
}

bool MenuObject::information(MENUINFO& info) const {
  info.cbSize = sizeof info;
  return GetMenuInfo(menu_, &info) != FALSE;
}

int MenuObject::default_item() const { return int(GetMenuDefaultItem(menu_, TRUE, 0)); }
bool MenuObject::set_default_item(int item, bool by_position) {
  return SetMenuDefaultItem(menu_, UINT(item), by_position ? TRUE : FALSE) != FALSE;
}
int MenuObject::item_at(HWND window, POINT screen_point) const {
  return MenuItemFromPoint(window, menu_, screen_point);
}
bool MenuObject::remove(int position) {
  return RemoveMenu(menu_, UINT(position), MF_BYPOSITION) != FALSE;
}
bool MenuObject::check(int position, bool on) {
  return CheckMenuItem(menu_, UINT(position), MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED)) !=
         DWORD(-1);
}

bool MenuObject::set_item_info(int position, UINT mask, const MENUITEMINFOA& values) {
  MENUITEMINFOA info = values;
  info.cbSize = sizeof info;
  info.fMask = mask;
  return SetMenuItemInfoA(menu_, UINT(position), TRUE, &info) != FALSE;
}

bool MenuObject::set_item_text(int position, std::string_view text) {
  std::string copy(text);
  MENUITEMINFOA info{};
  info.dwTypeData = copy.data();
  return set_item_info(position, MIIM_STRING, info);
}
bool MenuObject::set_item_state(int position, UINT state) {
  MENUITEMINFOA info{};
  info.fState = state;
  return set_item_info(position, MIIM_STATE, info);
}
bool MenuObject::set_item_type(int position, UINT type) {
  MENUITEMINFOA info{};
  info.fType = type;
  return set_item_info(position, MIIM_FTYPE, info);
}
bool MenuObject::set_item_data(int position, ULONG_PTR data) {
  MENUITEMINFOA info{};
  info.dwItemData = data;
  return set_item_info(position, MIIM_DATA, info);
}
bool MenuObject::set_item_bitmaps(int position, HBITMAP unchecked, HBITMAP checked) {
  return SetMenuItemBitmaps(menu_, UINT(position), MF_BYPOSITION, unchecked, checked) != FALSE;
}

}  // namespace ui

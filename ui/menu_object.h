// One menu handle and its operations, each a thin call of the platform's
// menu functions. Positions are 0-based.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace ui {

class MenuObject {
 public:
  MenuObject() = default;
  MenuObject(const MenuObject&) = delete;
  MenuObject& operator=(const MenuObject&) = delete;
  ~MenuObject() { destroy(); }

  bool create_bar();
  bool create_pop_up();
  bool take_system_menu(HWND window);
  bool load(int resource_id);
  void destroy();
  bool reset_system_menu(HWND window);
  HMENU handle() const { return menu_; }
  bool owns() const { return owned_; }
  // Takes a menu handle over, only when none is held.
  bool adopt(HMENU menu);

  // The sub-menu's, or this menu's, ownership passes to the parent menu or
  // the window, which destroys it with itself.
  bool append_sub_menu(MenuObject& sub, std::string_view text);
  bool insert_sub_menu(int position, MenuObject& sub, std::string_view text);
  bool set_as_menu_of(HWND window);
  bool set_background_colour(COLORREF colour);
  bool set_background_pattern(HBITMAP pattern);
  // The sub-menu at a position, wrapped in a new object (not owning it).
  std::unique_ptr<MenuObject> sub_menu(int position) const;
  int item_id(int position) const;

  bool append_item(int id, std::string_view text);
  bool append_separator();
  bool append_bitmap(int id, HBITMAP bitmap);
  bool insert_item(int position, int id, std::string_view text);
  bool insert_separator(int position);
  bool insert_bitmap(int position, int id, HBITMAP bitmap);
  bool radio_check(int first, int last, int marked);
  // TrackPopupMenu's result; the owner is brought to the foreground first.
  int show_pop_up(int x, int y, HWND owner, UINT flags) const;

  std::string item_text(int position) const;
  bool item_information(int position, MENUITEMINFOA& info) const;
  bool item_rectangle(HWND window, int position, RECT& rect) const;
  int item_count() const;
  UINT item_state(int position) const;
  bool information(MENUINFO& info) const;
  int default_item() const;
  bool set_default_item(int item, bool by_position);
  int item_at(HWND window, POINT screen_point) const;
  bool remove(int position);
  bool check(int position, bool on);
  bool set_item_text(int position, std::string_view text);
  bool set_item_state(int position, UINT state);
  bool set_item_type(int position, UINT type);
  bool set_item_data(int position, ULONG_PTR data);
  bool set_item_bitmaps(int position, HBITMAP unchecked, HBITMAP checked);

 private:
  bool set_item_info(int position, UINT mask, const MENUITEMINFOA& values);
  bool replace_brush(HBRUSH brush);

  HMENU menu_ = nullptr;
  bool owned_ = true;
  HBRUSH brush_ = nullptr;
};

}  // namespace ui

// A combo box taken over from a dialog item.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class ComboControl : public Control {
 public:
  WindowBase* copy() const override { return new ComboControl(*this); }
  // Attaches and gives the box a white background.
  bool attach(HWND parent, int id, bool set_font = true);
  LRESULT child_command(HWND parent, HWND child, int code, int id) override;

  // The item's index, or -1 (CB_ERR); item data is set only on success.
  int add_item(std::string_view gbk, LPARAM data = 0) const;
  std::string item_text(int index) const;
  int item_count() const;
  int selection() const;  // -1 when none
  bool select(int index) const;
  bool clear() const;

  void on_selection_change(NoArgHandler h) { on_selection_change_ = std::move(h); }
  void on_double_click(NoArgHandler h) { on_double_click_ = std::move(h); }
  void on_edit_update(NoArgHandler h) { on_edit_update_ = std::move(h); }
  void on_drop_down(NoArgHandler h) { on_drop_down_ = std::move(h); }
  void on_close_up(NoArgHandler h) { on_close_up_ = std::move(h); }

 private:
  NoArgHandler on_selection_change_ = nullptr;
  NoArgHandler on_double_click_ = nullptr;
  NoArgHandler on_edit_update_ = nullptr;
  NoArgHandler on_drop_down_ = nullptr;
  NoArgHandler on_close_up_ = nullptr;
};

}  // namespace ui

// A report-style list view with owner data: the program keeps the rows,
// and the list asks for the text of the cells it shows, so a list of any
// length costs nothing to fill.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui {

class ListViewControl : public Control {
 public:
  using CellText = std::function<std::string(int row, int column)>;

  ListViewControl();
  WindowBase* copy() const override { return new ListViewControl(*this); }
  LRESULT child_notify(HWND parent, HWND sender, int code, int id, NMHDR* header) override;

  // Makes the list as a child of `parent` (full-row selection, grid lines,
  // several rows chosen with Ctrl or Shift).
  bool create_list(HWND parent, int id, int x, int y, int width, int height);
  void add_column(std::string_view title, int width) const;
  // Keeps the scroll position; the rows shown are asked for again.
  void set_row_count(int rows) const;
  int selected_row() const;  // the first chosen; -1 when none
  std::vector<int> selected_rows() const;

  void on_cell_text(CellText h) { on_cell_text_ = std::move(h); }
  void on_double_click(NoArgHandler h) { on_double_click_ = std::move(h); }

 private:
  LRESULT highlighted_selection(NMHDR* header) const;
  CellText on_cell_text_;
  NoArgHandler on_double_click_;
};

}  // namespace ui

// The print history: every line of the log, newest first, filtered by any
// text (name, phone, address, goods, date); a chosen line is put back into
// the main window's boxes and printed with today's template and offsets,
// through "打印" and its questions.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "print/history.h"
#include "ui/button_control.h"
#include "ui/edit_control.h"
#include "ui/list_view_control.h"
#include "view/asker.h"
#include "view/main_view.h"

namespace app {

inline constexpr char kHistoryTitle[] = "打印记录";

struct HistoryContext {
  HWND owner = nullptr;
  view::MainView* view = nullptr;
  // The main window's "打印" for a chosen line, asking in `asking`; the
  // line's waybill number, for the question whether a new form was used.
  std::function<void(HWND asking, const std::string& earlier_waybill_number)> print;
};

// One object for the program's run; its window comes and goes.
class HistoryWindow : public ui::WindowBase {
 public:
  HistoryWindow();
  // Opens the window (or brings it forward, read again); without a log it
  // says why there is none.
  void show(const HistoryContext& context);

 private:
  bool open();
  void make_controls();
  void apply_filter();
  std::string cell_text(int row, int column) const;
  void reprint();
  void export_shipments();
  // The entries to export, by position, in print order: the rows chosen,
  // or a day's the seller names; empty when there are none or the seller
  // cancelled.
  std::vector<size_t> rows_to_export(view::Asker& asker, std::string& day);
  // Whether the window that asked a question (a nested message loop, in
  // which it may have been closed) is still this object's window.
  bool still_open(HWND asking) const { return asking && handle() == asking; }

  HistoryContext context_;
  print::History history_;
  std::vector<size_t> shown_;  // entries shown, newest first
  ui::Control filter_label_;
  ui::EditControl filter_;
  ui::ButtonControl reprint_button_, export_button_;
  ui::ListViewControl list_;
};

}  // namespace app

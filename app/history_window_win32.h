// The print history: every line of the log, newest first, filtered by any
// text (name, phone, address, goods, date); a chosen line is put back into
// the main window's boxes and printed with today's template and offsets,
// through "打印" and its questions.
#pragma once

#include <windows.h>

#include "view/main_view.h"

namespace app {

inline constexpr char kHistoryTitle[] = "打印记录";

struct HistoryContext {
  HWND owner = nullptr;
  view::MainView* view = nullptr;
  void (*print)(HWND asking) = nullptr;  // the main window's "打印", asking in `asking`
};

// Opens the history (or brings it forward, read again); without a log it
// says why there is none.
void show_history(const HistoryContext& context);

}  // namespace app

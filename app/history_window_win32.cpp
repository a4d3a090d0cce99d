#include "app/history_window_win32.h"

// After windows.h.
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "print/history.h"
#include "recognize/recognizer.h"
#include "runtime/files.h"
#include "runtime/message_box.h"
#include "ui/window_base.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetHistory";
enum Control { kFilter = 1, kList, kReprint };
constexpr int kWidth = 760, kHeight = 460;
constexpr std::array<const char*, 6> kColumns = {"日期", "姓名", "手机", "电话", "地址", "商品"};
constexpr std::array<int, 6> kColumnWidths = {80, 70, 100, 100, 260, 130};

struct HistoryWindow {
  HistoryContext context;
  HWND window = nullptr, filter = nullptr, list = nullptr;
  print::History history{print::log_path()};
  std::vector<size_t> shown;  // entries shown, newest first
};

std::unique_ptr<HistoryWindow> history_window;

// Whether the window is still open after a question (a nested message
// loop, in which it may have been closed and its state freed).
bool still_open(HWND window) { return history_window && history_window->window == window; }

std::string window_text(HWND window) {
  std::string text(size_t(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(window, text.data(), int(text.size()))));
  return text;
}

// The entries holding the filter's text, newest first; the list is
// virtual, so only the rows on screen are ever asked for.
void apply_filter() {
  HistoryWindow& h = *history_window;
  std::string sought = window_text(h.filter);
  const std::vector<print::HistoryEntry>& entries = h.history.entries();
  h.shown.clear();
  for (size_t i = entries.size(); i-- > 0;)
    if (print::contains_text(entries[i].line, sought)) h.shown.push_back(i);
  ListView_SetItemCountEx(h.list, int(h.shown.size()), LVSICF_NOSCROLL);
  InvalidateRect(h.list, nullptr, TRUE);
  std::string title = std::string(kHistoryTitle) + "（" + std::to_string(h.shown.size()) + " / " +
                      std::to_string(entries.size()) + " 条）";
  SetWindowTextA(h.window, title.c_str());
}

// The list's columns: date, name, mobile, fixed line, address, goods.
std::string_view field(const print::HistoryEntry& e, int column) {
  constexpr std::array<size_t, 6> kFieldOfColumn = {0, 1, 3, 4, 2, 5};
  return e.field(kFieldOfColumn[size_t(std::clamp(column, 0, 5))]);
}

void give_text(NMLVDISPINFOA* info) {
  HistoryWindow& h = *history_window;
  if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
      size_t(info->item.iItem) >= h.shown.size())
    return;
  const print::HistoryEntry& e = h.history.entries()[h.shown[size_t(info->item.iItem)]];
  std::string text(field(e, info->item.iSubItem));
  lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
}

// The chosen line back in the main window's boxes, printed as any waybill.
void reprint() {
  HistoryWindow& h = *history_window;
  int chosen = ListView_GetNextItem(h.list, -1, LVNI_SELECTED);
  if (chosen < 0 || size_t(chosen) >= h.shown.size()) {
    rt_message_box("请先在列表中选择一条记录。", "注意", RT_MB_OK | RT_MB_ICONWARNING,
                   reinterpret_cast<uintptr_t>(h.window));
    return;
  }
  print::HistoryEntry e = h.history.entries()[h.shown[size_t(chosen)]];
  recognize::fill_form(*h.context.view, e.name(), e.fixed(), e.mobile(), e.address(), e.goods());
  HWND window = h.window;
  if (h.context.print) h.context.print(window);
  if (!still_open(window)) return;
  // The reprint is a new line of the log.
  history_window->history.refresh();
  apply_filter();
}

void make_controls(HistoryWindow& h) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  auto child = [&](const char* cls, const char* text, DWORD style, DWORD ex, int x, int y, int w,
                   int height, int id) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, height,
                             h.window, reinterpret_cast<HMENU>(intptr_t(id)), instance, nullptr);
    SendMessageA(c, WM_SETFONT, WPARAM(font), TRUE);
    return c;
  };
  child("STATIC", "筛选（姓名、电话、地址、商品、日期）：", 0, 0, 10, 14, 230, 20, 0);
  h.filter = child("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 10, 360, 22,
                   kFilter);
  child("BUTTON", "补打所选", BS_PUSHBUTTON | WS_TABSTOP, 0, 620, 9, 120, 24, kReprint);
  h.list = child(WC_LISTVIEWA, "",
                 LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                 WS_EX_CLIENTEDGE, 10, 42, kWidth - 20, kHeight - 52, kList);
  ListView_SetExtendedListViewStyle(h.list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < kColumns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kColumns[i]);
    column.cx = kColumnWidths[i];
    SendMessageA(h.list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

LRESULT handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  bool ours = history_window && history_window->window == window;
  switch (message) {
    case WM_COMMAND:
      if (!ours) break;
      if (LOWORD(wparam) == kFilter && HIWORD(wparam) == EN_CHANGE) apply_filter();
      if (LOWORD(wparam) == kReprint) reprint();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (!ours || header->idFrom != kList) break;
      if (header->code == LVN_GETDISPINFOA) give_text(reinterpret_cast<NMLVDISPINFOA*>(lparam));
      if (header->code == NM_DBLCLK) reprint();
      return 0;
    }
    case WM_NCDESTROY:
      if (ours) history_window.reset();
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void show_history(const HistoryContext& context) {
  if (!rt::file_exists(print::log_path())) {
    std::string text = "没有打印记录：程序所在的文件夹里没有“地址.txt”。\r\n"
                       "打印记录只写入这个已有的文件；新建一个空的“地址.txt”，以后打印的快递单就会记下来。";
    rt_message_box(text.c_str(), kHistoryTitle, RT_MB_OK | RT_MB_ICONINFORMATION,
                   reinterpret_cast<uintptr_t>(context.owner));
    return;
  }
  if (history_window) {
    history_window->context = context;
    history_window->history.refresh();
    apply_filter();
    ShowWindow(history_window->window, SW_SHOWNORMAL);
    SetForegroundWindow(history_window->window);
    return;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  if (!ui::register_window_class(kClass, ui::guarded_procedure<handle>)) return;
  RECT frame{0, 0, kWidth, kHeight};
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window = CreateWindowExA(0, kClass, kHistoryTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, context.owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return;
  history_window = std::make_unique<HistoryWindow>();
  history_window->context = context;
  history_window->window = window;
  make_controls(*history_window);
  history_window->history.refresh();
  apply_filter();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

}  // namespace app

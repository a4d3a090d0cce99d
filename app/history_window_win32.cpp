#include "app/history_window_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "app/window_asker_win32.h"
#include "recognize/recognizer.h"
#include "print/shipment_export.h"
#include "print/waybill_layout.h"
#include "runtime/files.h"
#include "runtime/system.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetHistory";
constexpr char kExportTitle[] = "导出发货";
enum ControlId { kFilter = 1, kList, kReprint, kExport };
constexpr int kWidth = 1000, kHeight = 460;

using print::HistoryEntry;

// The time tells a day's waybills apart; an older version's line has none.
std::string printed_at(const HistoryEntry& e) {
  return std::string(e.date()) + (e.note.time.empty() ? "" : " " + e.note.time.substr(0, 5));
}

// The list's columns: title, width at 96 dpi and what a row shows.
struct Column {
  const char* title;
  int width;
  std::string (*text)(const HistoryEntry&);
};
const std::array<Column, 9> kColumns = {{
    {"打印时间", 116, printed_at},
    {"模板", 60, [](const HistoryEntry& e) { return e.note.template_name; }},
    {"运单号", 110, [](const HistoryEntry& e) { return e.note.waybill_number; }},
    {"姓名", 64, [](const HistoryEntry& e) { return std::string(e.name()); }},
    {"手机", 96, [](const HistoryEntry& e) { return std::string(e.mobile()); }},
    {"电话", 96, [](const HistoryEntry& e) { return std::string(e.fixed()); }},
    {"地址", 200, [](const HistoryEntry& e) { return std::string(e.address()); }},
    {"商品", 100, [](const HistoryEntry& e) { return std::string(e.goods()); }},
    {"订单号", 130, [](const HistoryEntry& e) { return e.note.order_number; }},
}};

// The file the seller saves to: `name` proposed in `folder`; none when
// cancelled. The dialog asks before a file is written over.
std::optional<std::string> save_file_path(HWND owner, const std::string& folder,
                                          const std::string& name) {
  std::wstring path = rt::widen(name), start = rt::widen(folder);
  path.resize(std::max<size_t>(path.size() + 1, 1024), L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrInitialDir = start.c_str();
  dialog.lpstrFilter = L"CSV 文件 (*.csv)\0*.csv\0";
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = DWORD(path.size());
  dialog.lpstrDefExt = L"csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  return rt::narrow(path.c_str());
}

}  // namespace

HistoryWindow::HistoryWindow() : history_(print::log_path()) {}

void HistoryWindow::show(const HistoryContext& context) {
  if (!rt::file_exists(print::log_path())) {
    std::string text = "没有打印记录：程序所在的文件夹里没有“地址.txt”。\r\n"
                       "打印记录只写入这个已有的文件；新建一个空的“地址.txt”，以后打印的快递单就会记下来。";
    asker_of(context.owner).tell(text, kHistoryTitle, RT_MB_ICONINFORMATION);
    return;
  }
  context_ = context;
  if (!handle() && !open()) return;
  history_.refresh();
  apply_filter();
  ShowWindow(handle(), SW_SHOWNORMAL);
  SetForegroundWindow(handle());
  update();
}

bool HistoryWindow::open() {
  if (!create_beside(context_.owner, kClass, kHistoryTitle, kWidth, kHeight)) return false;
  make_controls();
  return true;
}

void HistoryWindow::make_controls() {
  HWND window = handle();
  DWORD child = WS_CHILD | WS_VISIBLE;
  filter_label_.create(0, "STATIC", "筛选（姓名、电话、地址、商品、日期、单号）：", child, px(10),
                       px(14), px(270), px(20), window, nullptr);
  filter_.create(WS_EX_CLIENTEDGE, "EDIT", "", child | ES_AUTOHSCROLL | WS_TABSTOP, px(280), px(10),
                 px(360), px(22), window, reinterpret_cast<HMENU>(intptr_t(kFilter)));
  reprint_button_.create(0, "BUTTON", "补打所选", child | BS_PUSHBUTTON | WS_TABSTOP, px(660), px(9),
                         px(110), px(24), window, reinterpret_cast<HMENU>(intptr_t(kReprint)));
  export_button_.create(0, "BUTTON", "导出发货…", child | BS_PUSHBUTTON | WS_TABSTOP, px(780), px(9),
                        px(110), px(24), window, reinterpret_cast<HMENU>(intptr_t(kExport)));
  list_.create_list(window, kList, px(10), px(42), px(kWidth - 20), px(kHeight - 52));
  for (const Column& column : kColumns) list_.add_column(column.title, px(column.width));
  filter_.on_change([this] {
    apply_filter();
    return 0;
  });
  reprint_button_.on_click([this] {
    reprint();
    return 0;
  });
  export_button_.on_click([this] {
    export_shipments();
    return 0;
  });
  list_.on_double_click([this] {
    reprint();
    return 0;
  });
  list_.on_cell_text([this](int row, int column) { return cell_text(row, column); });
  for (ui::WindowBase* control :
       std::initializer_list<ui::WindowBase*>{&filter_, &list_, &reprint_button_, &export_button_})
    ui::close_on_escape(*control);
}

// The entries holding the filter's text, newest first; the list is
// virtual, so only the rows on screen are ever asked for.
void HistoryWindow::apply_filter() {
  std::string sought = filter_.text();
  const std::vector<print::HistoryEntry>& entries = history_.entries();
  shown_.clear();
  for (size_t i = entries.size(); i-- > 0;)
    if (entries[i].holds(sought)) shown_.push_back(i);
  list_.set_row_count(int(shown_.size()));
  set_text(std::string(kHistoryTitle) + "（" + std::to_string(shown_.size()) + " / " +
           std::to_string(entries.size()) + " 条）");
}

std::string HistoryWindow::cell_text(int row, int column) const {
  if (row < 0 || size_t(row) >= shown_.size()) return {};
  if (column < 0 || size_t(column) >= kColumns.size()) return {};
  return kColumns[size_t(column)].text(history_.entries()[shown_[size_t(row)]]);
}

// The chosen line back in the main window's boxes, printed as any waybill.
void HistoryWindow::reprint() {
  HWND window = handle();
  int chosen = list_.selected_row();
  if (chosen < 0 || size_t(chosen) >= shown_.size()) {
    asker_of(window).tell("请先在列表中选择一条记录。", "注意", RT_MB_ICONWARNING);
    return;
  }
  print::HistoryEntry e = history_.entries()[shown_[size_t(chosen)]];
  recognize::fill_form(*context_.view, e.parcel());
  if (context_.print) context_.print(window, e.note.waybill_number);
  if (!still_open(window)) return;
  // The reprint is a new line of the log.
  history_.refresh();
  apply_filter();
}

// "导出发货…": the rows chosen (two or more), or the waybills of a day the
// seller names (today proposed), as the marketplace's CSV file, saved where
// the seller says; a file of that name is never written over unasked.
void HistoryWindow::export_shipments() {
  HWND window = handle();
  view::BoxAsker asker = asker_of(window);
  std::string day;
  std::vector<size_t> chosen = rows_to_export(asker, day);
  if (chosen.empty() || !still_open(window)) return;
  std::optional<std::string> path =
      save_file_path(window, std::string(rt::exe_dir().view()),
                     "发货" + (day.empty() ? std::string("所选") : day) + ".csv");
  if (!path || !still_open(window)) return;
  // Taken only now: the log may have been read again while the dialog was
  // open (a print from the main window, the history shown again).
  const std::vector<print::HistoryEntry>& entries = history_.entries();
  std::vector<const print::HistoryEntry*> rows;
  for (size_t i : chosen)
    if (i < entries.size()) rows.push_back(&entries[i]);
  print::ShipmentFile file = print::shipment_file(rows);
  if (!rt::replace_file_contents(*path, file.bytes))
    return asker.tell("无法写入 " + *path + "：文件可能正被其他程序（例如表格软件）打开，请关闭后再导出。",
                      kExportTitle, RT_MB_ICONWARNING);
  asker.tell(print::shipment_file_summary(file) + "，保存在：\r\n" + *path, kExportTitle,
             RT_MB_ICONINFORMATION);
}

std::vector<size_t> HistoryWindow::rows_to_export(view::Asker& asker, std::string& day) {
  const std::vector<print::HistoryEntry>& entries = history_.entries();
  std::vector<size_t> rows;
  std::vector<int> chosen = list_.selected_rows();
  if (chosen.size() >= 2) {
    // In the order they were printed: the list shows the newest first.
    for (auto row = chosen.rbegin(); row != chosen.rend(); ++row)
      if (size_t(*row) < shown_.size()) rows.push_back(shown_[size_t(*row)]);
    return rows;
  }
  double now = rt::now();
  std::optional<std::string> typed =
      asker.typed("导出哪一天打印的快递单？（日期，例如 2026.12.10）\r\n"
                  "只导出其中几条时，先在列表中按住 Ctrl 选好它们。",
                  kExportTitle, print::waybill_date(rt::year(now), rt::month(now), rt::day(now)));
  if (!typed) return rows;
  day = std::string(rt::trim(*typed).view());
  std::optional<int> wanted = print::date_day(day);
  if (!wanted) {
    asker.tell("“" + day + "”不是日期，请按 2026.12.10 的样子填写。", kExportTitle, RT_MB_ICONWARNING);
    return rows;
  }
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].day == *wanted) rows.push_back(i);
  if (rows.empty()) asker.tell(day + " 没有打印记录。", kExportTitle, RT_MB_ICONINFORMATION);
  return rows;
}

}  // namespace app

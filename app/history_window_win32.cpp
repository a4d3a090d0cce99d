#include "app/history_window_win32.h"

#include <array>
#include <string>

#include "app/window_asker_win32.h"
#include "recognize/recognizer.h"
#include "runtime/files.h"

namespace app {

namespace {

constexpr char kClass[] = "SlipjetHistory";
enum ControlId { kFilter = 1, kList, kReprint };
constexpr int kWidth = 800, kHeight = 460;
constexpr std::array<const char*, 7> kColumns = {"打印时间", "模板", "姓名", "手机",
                                                 "电话", "地址", "商品"};
constexpr std::array<int, 7> kColumnWidths = {116, 60, 64, 96, 96, 230, 116};
enum Column { kDateColumn, kTemplateColumn, kFirstParcelColumn };
// The parcel's texts in the columns after the template.
constexpr std::array<std::string view::Parcel::*, 5> kParcelTexts = {
    &view::Parcel::name, &view::Parcel::mobile, &view::Parcel::fixed, &view::Parcel::address,
    &view::Parcel::goods};

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
  filter_label_.create(0, "STATIC", "筛选（姓名、电话、地址、商品、日期）：", child, px(10), px(14),
                       px(230), px(20), window, nullptr);
  filter_.create(WS_EX_CLIENTEDGE, "EDIT", "", child | ES_AUTOHSCROLL | WS_TABSTOP, px(240), px(10),
                 px(360), px(22), window, reinterpret_cast<HMENU>(intptr_t(kFilter)));
  reprint_button_.create(0, "BUTTON", "补打所选", child | BS_PUSHBUTTON | WS_TABSTOP, px(620), px(9),
                         px(120), px(24), window, reinterpret_cast<HMENU>(intptr_t(kReprint)));
  list_.create_list(window, kList, px(10), px(42), px(kWidth - 20), px(kHeight - 52));
  for (size_t i = 0; i < kColumns.size(); ++i) list_.add_column(kColumns[i], px(kColumnWidths[i]));
  filter_.on_change([this] {
    apply_filter();
    return 0;
  });
  reprint_button_.on_click([this] {
    reprint();
    return 0;
  });
  list_.on_double_click([this] {
    reprint();
    return 0;
  });
  list_.on_cell_text([this](int row, int column) { return cell_text(row, column); });
  for (ui::WindowBase* control : std::initializer_list<ui::WindowBase*>{&filter_, &list_, &reprint_button_})
    ui::close_on_escape(*control);
}

// The entries holding the filter's text, newest first; the list is
// virtual, so only the rows on screen are ever asked for.
void HistoryWindow::apply_filter() {
  std::string sought = filter_.text();
  const std::vector<print::HistoryEntry>& entries = history_.entries();
  shown_.clear();
  for (size_t i = entries.size(); i-- > 0;)
    if (print::contains_text(entries[i].line, sought)) shown_.push_back(i);
  list_.set_row_count(int(shown_.size()));
  set_text(std::string(kHistoryTitle) + "（" + std::to_string(shown_.size()) + " / " +
           std::to_string(entries.size()) + " 条）");
}

std::string HistoryWindow::cell_text(int row, int column) const {
  if (row < 0 || size_t(row) >= shown_.size()) return {};
  const print::HistoryEntry& entry = history_.entries()[shown_[size_t(row)]];
  // The time tells a day's waybills apart; an older version's line has none.
  if (column == kDateColumn)
    return std::string(entry.date()) + (entry.note.time.empty() ? "" : " " + entry.note.time.substr(0, 5));
  if (column == kTemplateColumn) return entry.note.template_name;
  size_t text = size_t(column - kFirstParcelColumn);
  return text < kParcelTexts.size() ? entry.parcel().*kParcelTexts[text] : std::string();
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
  if (context_.print) context_.print(window);
  if (!still_open(window)) return;
  // The reprint is a new line of the log.
  history_.refresh();
  apply_filter();
}

}  // namespace app

#include "print/print_job.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/message_box.h"
#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "runtime/text_ops.h"

namespace print {

namespace {

using namespace view::control;
constexpr int kPrintButton = 1016;
constexpr int kPortrait = 1;
constexpr int kPaperWidth = 2200;   // 220 mm
constexpr int kPaperLength = 1270;  // 127 mm
constexpr int kLometric = 2;
constexpr char kCancelled[] = "已取消打印";

std::string without(std::string_view text, std::string_view sought) {
  return std::string(rt::replace_sub(text, sought, {}, 1, INT_MAX, true).view());
}

}  // namespace

bool PrintJob::ask(const std::string& question) {
  if (rt_message_box(question.c_str(), "注意", RT_MB_YESNO | RT_MB_ICONQUESTION, owner_) ==
      RT_IDYES)
    return true;
  view_.set_status(kCancelled);
  return false;
}

// The template, repeat and mobile-number questions.
bool PrintJob::confirmed() {
  int selected = view_.list_selection(template_list);
  std::string entry = view_.list_item(template_list, selected);
  if (rt::find(entry, "默认") == -1 && !ask(" 打印模板非默认，现为 【" + entry + "】请确认"))
    return false;
  std::string name = view_.text(name_box);
  if (name == last_printed_name_ &&
      !ask(" 刚才【" + last_printed_name_ + "】已发送打印，是否再次发送"))
    return false;
  std::string mobile = view_.text(mobile_phone);
  if (rt::strip_spaces(mobile).size() != 11 &&
      !ask(" 手机号位数不对：" + mobile + " ! 是否继续打印 "))
    return false;
  return true;
}

WaybillTexts PrintJob::shown_texts(double now) const {
  return WaybillTexts{view_.text(name_box),
                      view_.text(fixed_phone),
                      view_.text(mobile_phone),
                      view_.text(goods),
                      view_.text(address),
                      view_.text(sender_name),
                      view_.text(sender_fixed_phone),
                      view_.text(sender_mobile),
                      view_.text(sender_address),
                      waybill_date(rt::year(now), rt::month(now), rt::day(now))};
}

void PrintJob::draw(const std::vector<PrintItem>& items) {
  int font_size = 0;
  for (const PrintItem& item : items) {
    if (item.font_size != font_size) {
      font_size = item.font_size;
      surface_.set_font("宋体", font_size, true);
    }
    if (item.in_box) {
      Rect box{item.x, item.y, item.x + kBoxWidth, item.y + kBoxHeight};
      surface_.write_text_in_rect(item.text, box, 0);
    } else {
      surface_.write_text(item.x, item.y, item.text);
    }
  }
}

// Appends to 地址.txt beside the program, only when that file exists.
void PrintJob::append_log_line(const WaybillTexts& t) const {
  std::string path = std::string(rt::exe_dir().view()) + platform_path_separator() + "地址.txt";
  if (!rt::file_exists(path)) return;
  rt::OpenFile* file = rt::open_file(path, 3);
  if (!file) return;
  std::string line = t.date + "；" + t.name + "；" + without(t.address, "\r\n") + "；" + t.mobile +
                     "；" + t.fixed + "；" + t.goods;
  if (rt::seek_end(file)) {
    RtArg value = rt_text_arg(line.c_str());
    rt::write_lines(file, std::span<const RtArg>(&value, 1));
  }
  rt::close_file(file);
}

void PrintJob::print_waybill(const std::string& printer) {
  if (!confirmed()) return;
  last_printed_name_ = view_.text(name_box);
  double now = rt::now();
  std::string key = std::to_string(view_.list_selection(template_list) + 1);
  auto f = layout_values(rt::ini_read(settings_path_, "dayin", key).view());
  int top = offset_tenths(view_.text(top_offset));
  int left = offset_tenths(view_.text(left_offset));
  if (!surface_.open_on_printer(printer, kPortrait, kPaperWidth, kPaperLength)) return;
  surface_.set_mapping(kLometric);
  view_.set_enabled(kPrintButton, false);
  if (surface_.begin_document("")) {
    WaybillTexts texts = shown_texts(now);
    draw(waybill_items(f, left, top, texts));
    append_log_line(texts);
    surface_.finish_document();
  }
  surface_.release_printer_dc();
  view_.set_status("[" + view_.text(name_box) + "] 已打印完毕");
  view_.set_enabled(kPrintButton, true);
}

void PrintJob::print_all(recognize::Recognizer& recognizer, const std::string& printer) {
  view_.set_enabled(batch_print_button, false);
  int n = int(recognizer.records().size());
  for (int i = 1; i <= n; ++i) {
    view_.list_select(name_box, i - 1);
    rt::do_events();
    recognizer.show_record();
    rt::do_events();
    print_waybill(printer);
    rt::do_events();
    rt::wait(100);
  }
  view_.set_enabled(batch_print_button, true);
}

}  // namespace print

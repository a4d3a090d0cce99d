#include "print/print_job.h"

#include <algorithm>
#include <map>
#include <utility>

#include "print/calibration_sheet.h"
#include "print/layout_check.h"
#include "print/template_store.h"
#include "print/waybill_number.h"
#include "runtime/files.h"
#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace print {

namespace {

using namespace view::control;
using settings::CfgFile;
constexpr int kPortrait = 1;
constexpr int kPaperWidth = 2200;   // 220 mm
constexpr int kPaperLength = 1270;  // 127 mm
constexpr char kCancelled[] = "已取消打印";
constexpr char kChooseTemplate[] = "请先在模板列表中选择快递模板";
constexpr char kCalibrationName[] = "校准页";

}  // namespace

bool PrintJob::ask(const std::string& question, const PrintRequest& request) {
  std::string asked = request.record.empty() ? question : request.record + "\r\n" + question;
  if (asker(request).yes(asked, "注意")) return true;
  view_.set_status(kCancelled);
  return false;
}

// Why the selected template cannot be printed with; empty when it can. A
// missing or short row would print items at the offsets alone, stacked.
std::string PrintJob::template_problem(int selected, const std::string& row) const {
  if (selected < 0) return kChooseTemplate;
  std::string entry = view_.list_item(template_list, selected);
  if (row.empty()) return "模板【" + entry + "】没有位置数据，" + kChooseTemplate;
  int complete = TemplateRow::read(row).complete;
  if (complete < kLayoutValues)
    return "模板【" + entry + "】的位置数据不全（第 " + std::to_string(complete + 1) +
           " 个数值缺失，需要 " + std::to_string(kLayoutValues) + " 个），请更新模板";
  return {};
}

// Asked before printing on a template that is not the default; empty for
// the default. With no default at all (a first start), it says how to set
// one instead of calling the chosen one "not the default".
std::string PrintJob::template_question() const {
  int selected = view_.list_selection(template_list);
  int chosen_default = TemplateStore(settings_path_).default_position();
  if (selected == chosen_default) return {};
  std::string entry = view_.list_item(template_list, selected);
  if (chosen_default < 0)
    return " 还没有默认模板，现为 【" + entry +
           "】。常用的模板选好后点旁边的“默认”，以后就不再问。用这个模板打印吗？";
  return " 打印模板非默认，现为 【" + entry + "】请确认";
}

bool PrintJob::confirm_template() {
  std::string question = template_question();
  return question.empty() || ask(question);
}

// The template, duplicate (or repeat) and mobile-number questions.
bool PrintJob::confirmed(const WaybillTexts& texts, const PrintRequest& request) {
  using Kind = PrintRequest::Kind;
  if (request.kind != Kind::batch_record) {
    std::string question = template_question();
    if (!question.empty() && !ask(question, request)) return false;
  }
  if (request.kind != Kind::chosen_reprint && !duplicate_confirmed(texts, request)) return false;
  // A fixed line alone reaches the recipient: nothing to ask.
  const view::Parcel& p = texts.parcel;
  size_t digits = rt::strip_spaces(p.mobile).size();
  if (digits == 0 && !rt::strip_spaces(p.fixed).empty()) return true;
  if (digits == 0) return ask(" 没有手机号，也没有电话，快递员联系不到收件人 ! 是否继续打印 ", request);
  return digits == 11 || ask(" 手机号位数不对：" + p.mobile + " ! 是否继续打印 ", request);
}

// The parcel printed before (the log) or just now (this run): asked again.
bool PrintJob::duplicate_confirmed(const WaybillTexts& texts, const PrintRequest& request) {
  const HistoryEntry* earlier = guard_.earlier_print(texts);
  // The batch's question decided for today's prints, not for other days'.
  if (earlier && request.reprint_today && earlier->day >= DuplicateGuard::today())
    earlier = nullptr;
  if (earlier) {
    const std::string& number = earlier->note.waybill_number;
    std::string question = "这个快递单已在 " + std::string(earlier->date()) + " 打印过" +
                           (number.empty() ? "" : "（运单号 " + number + "）") + "：\r\n【" +
                           std::string(earlier->name()) + "】" + std::string(earlier->mobile()) +
                           " " + std::string(earlier->fixed()) + "\r\n" +
                           std::string(earlier->address()) + "\r\n商品：" +
                           std::string(earlier->goods()) + "\r\n\r\n是否再次打印？";
    return ask(question, request);
  }
  return texts.parcel.name != last_printed_name_ ||
         ask(" 刚才【" + last_printed_name_ + "】已发送打印，是否再次发送", request);
}

std::string missing_printer_text(const std::string& name) {
  return "上次选的打印机【" + name + "】在这台电脑上没有，请在“设置”里重新选择";
}

std::string paper_text(const std::string& name, int width, int length) {
  // Whole millimetres: a page measured in printer pixels is a little off.
  auto mm = [](int tenths) { return std::to_string((tenths + 5) / 10); };
  std::string size = mm(width) + " × " + mm(length) + " 毫米";
  return name.empty() ? size : name + " " + size;
}

// A printer that cannot take the form still prints, if the seller says so:
// some print on such printers today and rely on it. Asked once a run per
// printer, so a batch asks once.
bool PrintJob::paper_accepted(const OpenedPrinter& opened, const PrintRequest& request) {
  if (opened.form_fits || paper_accepted_.contains(opened.name)) return true;
  std::string question = "打印机【" + opened.name + "】没有 220 × 127 毫米的快递单纸张，将在【" +
                         paper_text(opened.paper_name, opened.paper_width, opened.paper_length) +
                         "】纸上打印，打印位置可能不准。\r\n\r\n"
                         "解决办法：在系统的打印机设置中为这台打印机创建 220 × 127 毫米的纸张"
                         "（表单），再选用它。\r\n\r\n仍然用这台打印机打印吗？";
  if (!asker(request).yes(question, "注意", RT_MB_ICONWARNING)) return false;
  paper_accepted_.insert(opened.name);
  return true;
}

PrintOutcome PrintJob::fail(const std::string& name, const std::string& reason,
                            const PrintRequest& request, bool told) {
  last_failure_ = reason;
  std::string status = "[" + name + "] 未打印：" + reason;
  view_.set_status(status);
  if (!told && request.kind != PrintRequest::Kind::batch_record)
    asker(request).tell(status, "注意", RT_MB_ICONWARNING);
  return PrintOutcome::failed;
}

WaybillTexts PrintJob::shown_texts(double now) const {
  return WaybillTexts{view::shown_parcel(view_),
                      view_.text(sender_name),
                      view_.text(sender_fixed_phone),
                      view_.text(sender_mobile),
                      view_.text(sender_address),
                      waybill_date(rt::year(now), rt::month(now), rt::day(now)),
                      waybill_time(now)};
}

Waybill PrintJob::prepare(double now) const {
  Waybill w;
  int selected = view_.list_selection(template_list);
  TemplateStore store(settings_path_);
  const StoredTemplate* stored = store.at(selected);
  std::string row = stored ? stored->row : std::string();
  w.problem = template_problem(selected, row);
  w.texts = shown_texts(now);
  if (!w.problem.empty()) return w;
  TemplateRow template_row = TemplateRow::read(row);
  w.template_name = template_row.name;
  w.values = template_row.values;
  w.top = offset_tenths(view_.text(top_offset));
  w.left = offset_tenths(view_.text(left_offset));
  w.items = waybill_items(w.values, w.left, w.top, w.texts);
  return w;
}

PrintOutcome PrintJob::print_waybill(const std::string& printer, const PrintRequest& request) {
  Waybill waybill = prepare(rt::now());
  if (!waybill.problem.empty()) {
    if (request.kind != PrintRequest::Kind::batch_record)
      asker(request).tell(waybill.problem, "注意", RT_MB_ICONWARNING);
    return fail(waybill.texts.parcel.name, waybill.problem, request, true);
  }
  const WaybillTexts& texts = waybill.texts;
  const std::vector<PrintItem>& items = waybill.items;
  // A number that is no form's prints nothing: told as any failure.
  std::string number = form_number();
  if (std::string problem = number.empty() ? "" : waybill_number_problem(number); !problem.empty())
    return fail(texts.parcel.name, problem, request);
  bool advances = !number.empty();
  PrintOutcome outcome = print_page(
      printer, texts.parcel.name, request,
      [&] {
        if (!confirmed(texts, request)) return false;
        settle_reprint_number(request, number, advances);
        // Measured in the printer's own fonts; "否" wastes no form.
        std::vector<LayoutProblem> problems = layout_problems(surface_, items);
        return problems.empty() || ask(layout_question(problems), request);
      },
      [&] { draw_items(surface_, items); });
  if (outcome != PrintOutcome::printed) return outcome;
  last_printed_name_ = texts.parcel.name;
  if (advances) {
    std::string next = next_waybill_number(number).value_or("");
    CfgFile(settings_path_).set_next_waybill_number(stack_identity(), next);
    view_.set_text(waybill_number, next);
  }
  std::string unlogged = log_created_if_wanted(request)
                             ? guard_.record(texts, waybill.template_name, number)
                             : "无法创建文件";
  view_.set_status("[" + texts.parcel.name + "] 已打印完毕" +
                   (unlogged.empty() ? "" : "，但打印记录无法写入 地址.txt：" + unlogged));
  return PrintOutcome::printed;
}

std::string PrintJob::form_number() const {
  return typed_waybill_number(view_.text(waybill_number));
}

std::string PrintJob::stack_identity() const {
  TemplateStore store(settings_path_);
  const StoredTemplate* t = store.at(view_.list_selection(template_list));
  return t ? t->identity() : std::string();
}

// A number typed before any template was chosen is the first chosen
// template's, unless its stack has one already.
void PrintJob::show_form_number() {
  std::string stack = stack_identity();
  std::string stored = stack.empty() ? "" : CfgFile(settings_path_).next_waybill_number(stack);
  bool typed_for_none = shown_stack_.empty() && stored.empty();
  shown_stack_ = stack;
  if (typed_for_none)
    keep_typed_form_number();
  else
    view_.set_text(waybill_number, stored);
}

void PrintJob::keep_typed_form_number() {
  std::string number = form_number(), stack = stack_identity();
  CfgFile cfg(settings_path_);
  if (stack.empty() || (!number.empty() && !waybill_number_problem(number).empty())) return;
  if (cfg.next_waybill_number(stack) != number) cfg.set_next_waybill_number(stack, number);
}

// A chosen reprint asks whether it used a new form: if not, it is logged
// with the number it had and the form in the printer stays next.
void PrintJob::settle_reprint_number(const PrintRequest& request, std::string& number,
                                     bool& advances) {
  const std::string& earlier = request.earlier_waybill_number;
  if (number.empty() || earlier.empty() || request.kind != PrintRequest::Kind::chosen_reprint)
    return;
  if (asker(request).yes("补打用的是一张新的快递单吗？\r\n“是”：记为运单号 " + number +
                             "，下一张用它后面的单号。\r\n“否”：仍记原来的运单号 " + earlier + "。",
                         "注意"))
    return;
  number = earlier;
  advances = false;
}

bool PrintJob::log_created_if_wanted(const PrintRequest& request) {
  if (!log_offer_ || guard_.has_log()) return true;
  bool wanted = std::exchange(log_offer_, nullptr)(asker(request));
  return !wanted || guard_.create_log();
}

OpenedPrinter PrintJob::open_printer(const std::string& printer) {
  OpenedPrinter opened = surface_.open_on_printer(printer, kPortrait, kPaperWidth, kPaperLength);
  if (opened.name.empty()) opened.name = printer;
  return opened;
}

bool PrintJob::paper_ready(const std::string& printer) {
  OpenedPrinter opened = open_printer(printer);
  if (!opened.opened) return true;
  PrinterRelease release(surface_);
  return paper_accepted(opened);
}

bool PrintJob::settings_accepted(const std::string& printer, bool printer_changed) {
  OpenedPrinter opened = open_printer(printer);
  if (!opened.opened) return true;
  PrinterRelease release(surface_);
  bool accepted = !printer_changed || paper_accepted(opened);
  if (accepted) {
    surface_.set_mapping(kTenthsOfAMillimetre);
    std::vector<PrintItem> items = prepare(rt::now()).items;
    for (size_t i = 0; i < items.size() && accepted; ++i) {
      if (items[i].label != "寄件人地址") continue;
      std::vector<LayoutProblem> problems = fit_problems(surface_, items, i);
      if (problems.empty()) continue;
      std::string question = "保存前检查发现（模板【" + view_.list_item(template_list,
                                 view_.list_selection(template_list)) + "】）：\r\n";
      for (const LayoutProblem& p : problems) question += "  · " + p.text + "\r\n";
      question += "\r\n可以缩短地址，或在地址中自己换行。仍然保存吗？";
      accepted = asker_.yes(question, "注意");
    }
  }
  return accepted;
}

PrintOutcome PrintJob::print_page(const std::string& printer, const std::string& name,
                                  const PrintRequest& request, const std::function<bool()>& checked,
                                  const std::function<void()>& draw) {
  OpenedPrinter opened = open_printer(printer);
  const std::string& shown_printer = opened.name;
  if (!opened.opened)
    return fail(name,
                opened.missing ? missing_printer_text(printer)
                               : "打印机【" + shown_printer + "】无法打开",
                request);
  bool print_button_was_enabled = view_.enabled(print_button);  // off during a batch
  std::string problem;
  {
    PrinterRelease release(surface_);  // before a failure is told
    if (!paper_accepted(opened, request))
      return fail(name, "打印机【" + shown_printer + "】没有快递单纸张", request, true);
    surface_.set_mapping(kTenthsOfAMillimetre);
    if (!checked()) return PrintOutcome::cancelled;
    view_.set_enabled(print_button, false);
    if (!surface_.begin_document("")) {
      problem = "打印机【" + shown_printer + "】未能开始打印";
    } else {
      draw();
      if (!surface_.finish_document()) problem = "打印机【" + shown_printer + "】未能完成打印";
    }
  }
  view_.set_enabled(print_button, print_button_was_enabled);
  if (!problem.empty()) return fail(name, problem, request);
  return PrintOutcome::printed;
}

PrintOutcome PrintJob::print_calibration_sheet(const std::string& printer) {
  // Only 取消 (or closing the box) cancels.
  if (asker_.box("校准页要印在一张快递单上：请先在打印机里放好一张快递单，再点“确定”。", "注意",
                 RT_MB_OKCANCEL | RT_MB_ICONINFORMATION) == RT_IDCANCEL) {
    view_.set_status(kCancelled);
    return PrintOutcome::cancelled;
  }
  int left = offset_tenths(view_.text(left_offset));
  int top = offset_tenths(view_.text(top_offset));
  PrintOutcome outcome = print_page(
      printer, kCalibrationName, {}, [] { return true; },
      [&] { draw_calibration_sheet(surface_, left, top); });
  if (outcome == PrintOutcome::printed) view_.set_status(std::string("[") + kCalibrationName + "] 已打印完毕");
  return outcome;
}

}  // namespace print

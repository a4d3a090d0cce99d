#include "print/batch_print.h"

#include <algorithm>
#include <map>
#include <set>

#include "runtime/system.h"

namespace print {

namespace {

using namespace view::control;

// Records of the batch already printed today: the seller decides once for
// all of them, so a batch stopped half-way goes on with the rest. Counted
// per record: of two identical orders, as many as were printed today.
std::set<int> printed_today(PrintJob& job, const recognize::Recognizer& recognizer) {
  std::set<int> printed;
  if (job.guard().days() <= 0) return printed;
  std::map<std::string, int> earlier_copies;
  WaybillTexts texts = job.shown_texts(rt::now());  // the sender and the date
  int n = int(recognizer.records().size());
  for (int i = 0; i < n; ++i) {
    texts.parcel = recognizer.record_texts(size_t(i));
    if (++earlier_copies[log_line(texts)] <= job.guard().printed_today(texts)) printed.insert(i);
  }
  return printed;
}

// "否" prints today's again, without asking about each.
bool skip_printed(PrintJob& job, size_t count) {
  std::string question = "其中 " + std::to_string(count) + " 条今天已打印，跳过这些？";
  return job.asker().yes(question, "注意");
}

// What must not change under a running batch: the records (a recognition
// would replace them under the loop), the record shown, a print of its own.
void set_batch_running(view::MainView& view, bool running) {
  view.set_text(batch_print_button, running ? kStopBatchButton : kBatchButton);
  view.set_enabled(batch_print_button, true);
  for (int control : {recognise_button, name_box, print_button}) view.set_enabled(control, !running);
}

}  // namespace

std::string batch_counts_text(const BatchCounts& c, int remaining) {
  std::string text = "已打印 " + std::to_string(c.printed) + " 条，跳过 " + std::to_string(c.skipped) + " 条";
  if (c.declined) text += "，答“否”未打印 " + std::to_string(c.declined) + " 条";
  if (c.failed) text += "，未能打印 " + std::to_string(c.failed) + " 条";
  return text + "，剩余 " + std::to_string(remaining) + " 条";
}

void print_batch(PrintJob& job, recognize::Recognizer& recognizer, const std::string& printer,
                 const std::function<bool()>& stop_requested) {
  view::MainView& view = job.view();
  int n = int(recognizer.records().size());
  // The paper first, then one question about the template for the whole
  // batch.
  if (n > 0 && !job.paper_ready(printer)) {
    view.set_status("连打未开始：打印机【" + (printer.empty() ? std::string("默认打印机") : printer) +
                    "】没有快递单纸张");
    return;
  }
  if (n > 0 && !job.confirm_template()) return;
  set_batch_running(view, true);
  std::set<int> skipped = printed_today(job, recognizer);
  PrintRequest request;
  request.kind = PrintRequest::Kind::batch_record;
  if (!skipped.empty() && !skip_printed(job, skipped.size())) {
    skipped.clear();
    request.reprint_today = true;
  }
  BatchCounts done{0, int(skipped.size()), 0, 0};
  // Records from the i-th (1-based) on that are still to print.
  auto remaining_from = [&](int i) {
    return n - i + 1 - int(std::count_if(skipped.begin(), skipped.end(), [&](int k) { return k >= i - 1; }));
  };
  bool stopped = false;
  for (int i = 1; i <= n && !stopped; ++i) {
    if (skipped.contains(i - 1)) continue;
    if (stop_requested && stop_requested()) {
      view.set_status("连打已停止：" + batch_counts_text(done, remaining_from(i)));
      stopped = true;
      break;
    }
    view.list_select(name_box, i - 1);
    rt::do_events();
    recognizer.show_record();
    rt::do_events();
    request.record = "第 " + std::to_string(i) + " 条【" + view.text(name_box) + "】";
    PrintOutcome outcome = job.print_waybill(printer, request);
    if (outcome == PrintOutcome::printed) ++done.printed;
    if (outcome == PrintOutcome::cancelled) ++done.declined;
    if (outcome == PrintOutcome::failed) {
      ++done.failed;
      // Named, so the seller can go on from this record once the cause is mended.
      std::string stop = "连打停在第 " + std::to_string(i) + " 条（共 " + std::to_string(n) +
                         " 条）【" + view.text(name_box) + "】：" + job.last_failure() + "（" +
                         batch_counts_text(done, remaining_from(i + 1)) + "）";
      view.set_status(stop);
      // The status line is narrow: the whole reason in a box as well.
      job.asker().tell(stop, "注意", RT_MB_ICONWARNING);
      stopped = true;
      break;
    }
    rt::do_events();
    rt::wait(100);
  }
  if (!stopped) view.set_status("连打完毕：" + batch_counts_text(done, 0));
  set_batch_running(view, false);
}

}  // namespace print

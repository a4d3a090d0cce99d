// "连打" on a recording surface: a batch page of three orders, scripted
// answers.
#include "print/batch_print.h"

#include <gtest/gtest.h>

#include "regex/support_libraries.h"
#include "runtime/files.h"
#include "tests/print/print_job_fixture.h"
#include "tests/recognize/pages.h"

namespace {

class PrintAll : public PrintJob {
 protected:
  void SetUp() override {
    PrintJob::SetUp();
    rt_start_libraries(support_libraries);
    recognizer.emplace(view, path_, asker);
    std::vector<pages::Order> orders;
    for (int i = 1; i <= 3; ++i) orders.push_back(pages::numbered_order(i));
    recognizer->recognise(pages::batch_page_of(orders));
    ASSERT_EQ(recognizer->records().size(), 3u);
  }
  // The recipients' names in the order they were printed.
  std::vector<std::string> printed_names() const {
    std::vector<std::string> names;
    for (const std::string& call : surface.calls)
      if (size_t at = call.find(" 收件人"); call.starts_with("text ") && at != std::string::npos)
        names.push_back(call.substr(at + 1));
    return names;
  }

  std::optional<recognize::Recognizer> recognizer;
};

TEST_F(PrintAll, PrintsEveryRecordInOrder) {
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(printed_names(), (std::vector<std::string>{"收件人1", "收件人2", "收件人3"}));
  EXPECT_EQ(view.status, "连打完毕：已打印 3 条，跳过 0 条，剩余 0 条");
  EXPECT_TRUE(view.enabled(batch_print_button));
}

// A batch on a template that is not the default asks once for all its
// records; "否" prints none of them.
TEST_F(PrintAll, NonDefaultTemplateIsAskedAboutOnceForTheWholeBatch) {
  view.list_select(template_list, 1);
  answers = {RT_IDYES};
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(questions, std::vector<std::string>(1, " 打印模板非默认，现为 【圆通】请确认"));
  EXPECT_EQ(printed_names(), (std::vector<std::string>{"收件人1", "收件人2", "收件人3"}));

  // A single print afterwards asks again.
  questions.clear();
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  EXPECT_EQ(questions.size(), 1u);

  surface.calls.clear();
  questions.clear();
  answers = {RT_IDNO};
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(printed_names().empty());
  EXPECT_EQ(view.status, "已取消打印");
  EXPECT_TRUE(view.enabled(batch_print_button));
}

// The batch opens the printer once for its paper before the first record.
constexpr int kPaperCheck = 1;

// The narrow status line and a box both give the whole reason.
TEST_F(PrintAll, APrinterFailureStopsTheBatchAtThatRecord) {
  surface.failing_open = kPaperCheck + 2;
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(printed_names(), std::vector<std::string>{"收件人1"});
  std::string stop = "连打停在第 2 条（共 3 条）【收件人2】：打印机【p】无法打开"
                     "（已打印 1 条，跳过 0 条，未能打印 1 条，剩余 1 条）";
  EXPECT_EQ(view.status, stop);
  EXPECT_EQ(questions, std::vector<std::string>{stop});
  EXPECT_TRUE(view.enabled(batch_print_button));
}

// A batch stopped half-way goes on with the rest: the records printed
// today are skipped after one question, and the status line counts.
TEST_F(PrintAll, AStoppedBatchResumesWithTheRecordsNotPrinted) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "";
  surface.failing_open = kPaperCheck + 3;  // the printer goes away at the third record
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(printed_names(), (std::vector<std::string>{"收件人1", "收件人2"}));

  print::PrintJob restarted(view, surface, path_, asker);  // the program started again
  surface.calls.clear();
  questions.clear();
  surface.failing_open = 0;
  print::print_batch(restarted, *recognizer, "p");
  EXPECT_EQ(questions, (std::vector<std::string>{"其中 2 条今天已打印，跳过这些？"}));
  EXPECT_EQ(printed_names(), std::vector<std::string>{"收件人3"});
  EXPECT_EQ(view.status, "连打完毕：已打印 1 条，跳过 2 条，剩余 0 条");

  // "否" prints them all again, without a question for each.
  surface.calls.clear();
  questions.clear();
  answers = {RT_IDNO};
  print::print_batch(restarted, *recognizer, "p");
  EXPECT_EQ(questions, (std::vector<std::string>{"其中 3 条今天已打印，跳过这些？"}));
  EXPECT_EQ(printed_names().size(), 3u);
  rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
}

// "停止" (or the window closing) ends the batch after the waybill in
// progress; meanwhile nothing can replace the records under it.
TEST_F(PrintAll, AStopEndsTheBatchAfterTheWaybillInProgress) {
  int asked = 0;
  print::print_batch(*job, *recognizer, "p", [&] {
    EXPECT_FALSE(view.enabled(recognise_button));
    EXPECT_FALSE(view.enabled(name_box));
    EXPECT_FALSE(view.enabled(print_button));
    EXPECT_TRUE(view.enabled(batch_print_button));
    EXPECT_EQ(view.text(batch_print_button), "停止");
    return ++asked == 2;
  });
  EXPECT_EQ(printed_names(), std::vector<std::string>{"收件人1"});
  EXPECT_EQ(view.status, "连打已停止：已打印 1 条，跳过 0 条，剩余 2 条");
  EXPECT_TRUE(view.enabled(recognise_button));
  EXPECT_TRUE(view.enabled(name_box));
  EXPECT_EQ(view.text(batch_print_button), "连打");
}

// Two identical orders (same recipient and goods) are two parcels: a
// resumed batch prints the one not yet printed.
TEST_F(PrintAll, IdenticalOrdersAreCountedPerRecord) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "";
  pages::Order again = pages::numbered_order(1);
  again.number = "200000001";
  recognizer->recognise(pages::batch_page_of({pages::numbered_order(1), again}));
  ASSERT_EQ(recognizer->records().size(), 2u);
  surface.failing_open = kPaperCheck + 2;
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(printed_names(), std::vector<std::string>{"收件人1"});

  print::PrintJob restarted(view, surface, path_, asker);
  surface.calls.clear();
  surface.failing_open = 0;
  questions.clear();
  print::print_batch(restarted, *recognizer, "p");
  ASSERT_FALSE(questions.empty());
  EXPECT_EQ(questions[0], "其中 1 条今天已打印，跳过这些？");
  EXPECT_EQ(printed_names(), std::vector<std::string>{"收件人1"});
  EXPECT_EQ(view.status, "连打完毕：已打印 1 条，跳过 1 条，剩余 0 条");
  rt::delete_file(log);
}

// "否" to the batch's question prints today's prints again unasked; a
// parcel printed on another day is still asked about.
TEST_F(PrintAll, NoToTheBatchQuestionKeepsTheGuardForOtherDays) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  double now = rt::now();
  std::string lines;
  for (auto [record, days_ago] : {std::pair{0, 0}, std::pair{2, 2}}) {
    view.list_select(name_box, record);
    recognizer->show_record();
    lines += print::log_line(job->prepare(now - days_ago).texts) + "\r\n";
  }
  std::ofstream(log, std::ios::binary) << lines;
  answers = {RT_IDNO, RT_IDNO};
  print::print_batch(*job, *recognizer, "p");
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0], "其中 1 条今天已打印，跳过这些？");
  // A record's question names it; its "否" is counted.
  EXPECT_TRUE(questions[1].starts_with("第 3 条【收件人3】\r\n这个快递单已在 ")) << questions[1];
  EXPECT_EQ(printed_names(), (std::vector<std::string>{"收件人1", "收件人2"}));
  EXPECT_EQ(view.status, "连打完毕：已打印 2 条，跳过 0 条，答“否”未打印 1 条，剩余 0 条");
  rt::delete_file(log);
}

TEST_F(PrintAll, PaperQuestionIsAskedOnceAndNoStopsTheBatch) {
  surface.paper = {true, {}, false, "A4", 2100, 2970};
  print::print_batch(*job, *recognizer, "p");
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(printed_names().size(), 3u);

  print::PrintJob fresh(view, surface, path_, asker);
  surface.calls.clear();
  questions.clear();
  answers = {RT_IDNO};
  print::print_batch(fresh, *recognizer, "p");
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(printed_names().empty());
  // Asked before anything else; "否" starts nothing.
  EXPECT_EQ(view.status, "连打未开始：打印机【p】没有快递单纸张");
}

}  // namespace

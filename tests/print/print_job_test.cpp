// The print job on a recording surface, with scripted answers.
#include "print/print_job.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>

#include "regex/support_libraries.h"
#include "runtime/files.h"
#include "runtime/message_box.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "tests/app/settings_file_fixture.h"
#include "tests/print/recording_surface.h"
#include "tests/recognize/pages.h"
#include "view/memory_view.h"

namespace {

using namespace view::control;

std::deque<int> answers;
std::vector<std::string> questions;

int answer_box(const char* text, const char* caption, unsigned) {
  EXPECT_STREQ(caption, "注意");
  questions.emplace_back(text);
  if (answers.empty()) return RT_IDYES;
  int a = answers.front();
  answers.pop_front();
  return a;
}

class PrintJob : public SettingsFolder {
 protected:
  void SetUp() override {
    SettingsFolder::SetUp();
    answers.clear();
    questions.clear();
    rt_set_message_box_hook(answer_box);
    rt::ini_write(path_, "dayin", "1",
                  "申通,10,20,30,40,50,60,70,80,90,100,110,120,130,140,150,160,170,180,190,200,");
    rt::ini_write(path_, "dayin", "2", "短行,1,2,x3");
    view.list_add(template_list, "申通[默认]");
    view.list_add(template_list, "短行");
    view.list_add(template_list, "无此行");
    view.list_select(template_list, 0);
    view.set_text(name_box, "张三");
    view.set_text(mobile_phone, "13812345678");
    view.set_text(fixed_phone, "0571-88886666");
    view.set_text(address, "浙江省杭州市\r\n西湖区");
    view.set_text(goods, "A1_黑色_40×2▅");
    view.set_text(sender_name, "王老板");
    view.set_text(sender_fixed_phone, "021-1");
    view.set_text(sender_mobile, "13700001111");
    view.set_text(sender_address, "上海市");
    job.emplace(view, surface, path_);
  }
  void TearDown() override {
    rt_set_message_box_hook(nullptr);
    SettingsFolder::TearDown();
  }

  std::string date() const {
    double now = rt::now();
    return print::waybill_date(rt::year(now), rt::month(now), rt::day(now));
  }

  view::MemoryView view;
  RecordingSurface surface;
  std::optional<print::PrintJob> job;
};

TEST_F(PrintJob, PrintsTheTenItemsInOrderWithTheirFonts) {
  view.set_text(left_offset, "5");
  view.set_text(top_offset, "3.99");
  job->print_waybill("slipjet-pdf");
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(surface.calls, (std::vector<std::string>{
                               "open slipjet-pdf 1 2200x1270",
                               "mapping 2",
                               "begin []",
                               "font 宋体 20 bold",
                               "text 140,139 张三",
                               "text 160,159 0571-88886666",
                               "text 180,179 13812345678",
                               "text 220,219 A1_黑色_40×2▅",
                               "text 60,59 王老板",
                               "text 80,79 021-1",
                               "text 100,99 13700001111",
                               "font 宋体 18 bold",
                               "box 120,119-920,419 0 上海市",
                               "box 200,199-1000,499 0 浙江省杭州市\r\n西湖区",
                               "text 240,239 " + date(),
                               "finish",
                               "release",
                           }));
  EXPECT_EQ(view.status, "[张三] 已打印完毕");
  EXPECT_TRUE(view.enabled(1016));
  EXPECT_EQ(job->last_printed_name(), "张三");
}

TEST_F(PrintJob, EachQuestionAnsweredNoCancels) {
  view.list_select(template_list, 1);
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 打印模板非默认，现为 【短行】请确认"}));
  EXPECT_EQ(view.status, "已取消打印");
  EXPECT_TRUE(surface.calls.empty());
  EXPECT_EQ(job->last_printed_name(), "");

  view.list_select(template_list, 0);
  view.set_text(mobile_phone, "138123456789");
  questions.clear();
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 手机号位数不对：138123456789 ! 是否继续打印 "}));
  EXPECT_TRUE(surface.calls.empty());
}

TEST_F(PrintJob, RepeatQuestionForTheSameNameAndForAFirstEmptyName) {
  job->print_waybill("p");
  EXPECT_TRUE(questions.empty());
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 刚才【张三】已发送打印，是否再次发送"}));

  print::PrintJob fresh(view, surface, path_);
  view.set_text(name_box, "");
  questions.clear();
  answers = {RT_IDYES};
  fresh.print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 刚才【】已发送打印，是否再次发送"}));
}

TEST_F(PrintJob, MobileCheckCountsBytesWithoutSpaces) {
  view.set_text(mobile_phone, "138 1234　5678");
  job->print_waybill("p");
  EXPECT_TRUE(questions.empty());
  view.set_text(name_box, "李四");
  view.set_text(mobile_phone, "");
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 手机号位数不对： ! 是否继续打印 "}));
}

TEST_F(PrintJob, PrinterThatDoesNotOpenPrintsNothingAndSaysNothing) {
  surface.printer_opens = false;
  view.set_status("before");
  view.set_enabled(1016, true);
  job->print_waybill("missing");
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"open missing 1 2200x1270"}));
  EXPECT_EQ(view.status, "before");
  EXPECT_EQ(job->last_printed_name(), "张三");
}

TEST_F(PrintJob, FailedDocumentStillReleasesAndReports) {
  surface.document_begins = false;
  job->print_waybill("p");
  EXPECT_EQ(surface.calls,
            (std::vector<std::string>{"open p 1 2200x1270", "mapping 2", "begin []", "release"}));
  EXPECT_EQ(view.status, "[张三] 已打印完毕");
}

TEST_F(PrintJob, ShortOddOrMissingRowsPrintWithZeros) {
  answers = {RT_IDYES};
  view.list_select(template_list, 1);  // "短行,1,2,x3": f1=1, f2=2, the rest 0
  job->print_waybill("p");
  EXPECT_EQ(surface.calls[8], "text 1,2 王老板");
  EXPECT_EQ(surface.calls[4], "text 0,0 张三");
  surface.calls.clear();
  view.set_text(name_box, "王五");
  answers = {RT_IDYES};
  view.list_select(template_list, 2);  // no row at all
  job->print_waybill("p");
  EXPECT_EQ(surface.calls[4], "text 0,0 王五");
  EXPECT_EQ(surface.calls[12], "box 0,0-800,300 0 上海市");
}

TEST_F(PrintJob, LogLineIsAppendedOnlyToAnExistingFile) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::filesystem::remove(log);
  job->print_waybill("p");
  EXPECT_FALSE(std::filesystem::exists(log));

  std::ofstream(log, std::ios::binary) << "old\r\n";
  view.set_text(name_box, "李四");
  job->print_waybill("p");
  std::ifstream in(log, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content,
            "old\r\n" + date() +
                "；李四；浙江省杭州市西湖区；13812345678；0571-88886666；A1_黑色_40×2▅\r\n");
  std::filesystem::remove(log);
}

TEST_F(PrintJob, PrintAllPrintsEveryRecordInOrder) {
  rt_start_libraries(support_libraries);
  recognize::Recognizer recognizer(view, path_);
  std::vector<pages::Order> orders;
  for (int i = 1; i <= 3; ++i) orders.push_back(pages::numbered_order(i));
  recognizer.recognise(pages::batch_page_of(orders));
  ASSERT_EQ(recognizer.records().size(), 3u);
  job->print_all(recognizer, "p");
  std::vector<std::string> names;
  for (const std::string& call : surface.calls)
    if (call.rfind("text 90,100 ", 0) == 0) names.push_back(call.substr(12));
  EXPECT_EQ(names, (std::vector<std::string>{"收件人1", "收件人2", "收件人3"}));
  EXPECT_TRUE(view.enabled(batch_print_button));
}

TEST(WaybillLayout, ValuesAndDate) {
  auto f = print::layout_values("名,1, 2,3x,-4,,abc");
  EXPECT_EQ(f[0], 1);
  EXPECT_EQ(f[1], 2);
  EXPECT_EQ(f[2], 3);
  EXPECT_EQ(f[3], -4);
  EXPECT_EQ(f[4], 0);
  EXPECT_EQ(f[19], 0);
  EXPECT_EQ(print::layout_values("").size(), 20u);
  EXPECT_EQ(print::layout_values("no comma")[0], 0);
  EXPECT_EQ(print::layout_values("n,99999999999")[0], INT32_MAX / 2);
  EXPECT_EQ(print::waybill_date(2015, 7, 5), "2015.7.5");
}

}  // namespace

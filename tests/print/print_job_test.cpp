// The print job on a recording surface, with scripted answers.
#include "print/print_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>

#include "print/calibration_sheet.h"
#include "print/offset_correction.h"
#include "runtime/files.h"
#include "runtime/input_box.h"
#include "runtime/message_box.h"
#include "runtime/settings_file.h"
#include "runtime/system.h"
#include "tests/app/settings_file_fixture.h"
#include "tests/print/print_job_fixture.h"
#include "tests/print/recording_surface.h"
#include "view/memory_view.h"

namespace {

using namespace view::control;

// The log's waybill lines, without the note line after each.
std::string waybill_lines(std::string_view log) {
  std::string lines;
  for (size_t start = 0; start < log.size();) {
    size_t end = std::min(log.find('\n', start), log.size() - 1) + 1;
    if (log[start] != '@') lines += log.substr(start, end - start);
    start = end;
  }
  return lines;
}

TEST_F(PrintJob, PrintsTheTenItemsInOrderWithTheirFonts) {
  view.set_text(left_offset, "5");
  view.set_text(top_offset, "3.99");
  job->print_waybill("slipjet-pdf");
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(surface.calls, (std::vector<std::string>{
                               "open slipjet-pdf 1 2200x1270",
                               "mapping 2",
                               "begin []",
                               "font 宋体 51 bold",
                               "text 140,139 张三",
                               "text 160,159 0571-88886666",
                               "text 180,179 13812345678",
                               "text 220,219 A1_黑色_40×2▅",
                               "text 60,59 王老板",
                               "text 80,79 021-1",
                               "text 100,99 13700001111",
                               "font 宋体 45 bold",
                               "box 120,119-920,419 2048 上海市",
                               "box 200,199-1000,499 2048 浙江省杭州市\r\n西湖区",
                               "text 240,239 " + date(),
                               "finish",
                               "release",
                           }));
  EXPECT_EQ(view.status, "[张三] 已打印完毕");
  EXPECT_TRUE(view.enabled(print_button));
  EXPECT_EQ(job->last_printed_name(), "张三");
}

// The questions come once the printer is open and its paper accepted.
const std::vector<std::string> kOpenedOnly = {"open p 1 2200x1270", "mapping 2", "release"};

TEST_F(PrintJob, EachQuestionAnsweredNoCancels) {
  view.list_select(template_list, 1);
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 打印模板非默认，现为 【圆通】请确认"}));
  EXPECT_EQ(view.status, "已取消打印");
  EXPECT_EQ(surface.calls, kOpenedOnly);  // asked with the printer open: no page
  EXPECT_EQ(job->last_printed_name(), "");

  view.list_select(template_list, 0);
  view.set_text(mobile_phone, "138123456789");
  questions.clear();
  surface.calls.clear();
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 手机号位数不对：138123456789 ! 是否继续打印 "}));
  EXPECT_EQ(surface.calls, kOpenedOnly);  // asked with the printer open: no page
}

TEST_F(PrintJob, RepeatQuestionForTheSameNameAndForAFirstEmptyName) {
  job->print_waybill("p");
  EXPECT_TRUE(questions.empty());
  answers = {RT_IDNO};
  job->print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 刚才【张三】已发送打印，是否再次发送"}));

  print::PrintJob fresh(view, surface, path_, asker);
  view.set_text(name_box, "");
  questions.clear();
  answers = {RT_IDYES};
  fresh.print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{
                           " 刚才【】已发送打印，是否再次发送",
                           "打印前检查发现：\r\n  · 【收件人姓名】为空\r\n\r\n仍然打印吗？"}));
}

// A first start with the settings never filled: the waybill would go out
// without a sender, and the check says so; one number of the two is enough.
TEST_F(PrintJob, AWaybillWithoutASenderIsAskedAbout) {
  for (int field : {sender_name, sender_fixed_phone, sender_mobile, sender_address})
    view.set_text(field, " ");
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  EXPECT_EQ(questions, (std::vector<std::string>{
                           "打印前检查发现：\r\n  · 【寄件人姓名】为空\r\n  · 【寄件人地址】为空\r\n"
                           "  · 【寄件人手机】和【寄件人电话】都为空\r\n\r\n仍然打印吗？"}));
  view.set_text(sender_name, "王老板");
  view.set_text(sender_address, "上海市");
  view.set_text(sender_fixed_phone, "021-1");
  questions.clear();
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());
}

// What would be cut is found in the printer's fonts before anything is
// printed: one question lists it all, "否" wastes no form.
TEST_F(PrintJob, TextsThatWouldBeCutAreAskedAboutBeforePrinting) {
  view.set_text(goods, std::string(100, 'G'));
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  EXPECT_EQ(questions, (std::vector<std::string>{
                           "打印前检查发现：\r\n"
                           "  · 【商品】超出快递单右边（220 毫米），超出的字会被截掉\r\n"
                           "\r\n仍然打印吗？"}));
  EXPECT_EQ(surface.calls,
            (std::vector<std::string>{"open p 1 2200x1270", "mapping 2", "release"}));
  EXPECT_EQ(view.status, "已取消打印");
  EXPECT_EQ(job->last_printed_name(), "");

  // Seven lines do not fit 30 mm; "是" prints them all the same.
  view.set_text(goods, "A1");
  view.set_text(address, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7");
  questions.clear();
  surface.calls.clear();
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_EQ(questions, (std::vector<std::string>{
                           "打印前检查发现：\r\n"
                           "  · 【收件人地址】有 7 行，超出 30 毫米高的地址框，下面的行会被截掉\r\n"
                           "\r\n仍然打印吗？"}));
  EXPECT_EQ(surface.calls.back(), "release");
  EXPECT_EQ(view.status, "[张三] 已打印完毕");
}

// Four lines of the address box.
std::string fifty_roads() {
  std::string roads;
  for (int i = 0; i < 50; ++i) roads += "路";
  return roads;
}

// The default is the template cfg.ini names, not one whose name says 默认.
TEST_F(PrintJob, AnOwnTemplateNamedLikeTheDefaultIsAskedAbout) {
  rt::ini_write(path_, "wodemoban", "1", "默认圆通" + std::string(kYuantong).substr(4));
  view.list_clear(template_list);
  for (const char* name : {"申通[默认]", "圆通", "短行", "默认圆通"}) view.list_add(template_list, name);
  view.list_select(template_list, 3);
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], " 打印模板非默认，现为 【默认圆通】请确认");
}

// A first start: no template is the default yet, and the question says how
// to make one so instead of calling the chosen one "not the default".
TEST_F(PrintJob, WithNoDefaultTemplateTheQuestionSaysHowToSetOne) {
  rt::ini_write(path_, "dayin", "moren", "");
  view.list_clear(template_list);
  view.list_add(template_list, "申通");
  view.list_add(template_list, "圆通");
  view.list_select(template_list, 0);
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], " 还没有默认模板，现为 【申通】。常用的模板选好后点旁边的“默认”，以后就不再问。用这个模板打印吗？");
}

// An address longer than a line of its box prints wrapped by character,
// the sender's as the recipient's, and lines the seller broke stay; lines
// that would reach the phones printed inside the box are asked about.
TEST_F(PrintJob, BoxTextsWrapAndLinesReachingAnItemBelowAreAskedAbout) {
  view.list_select(template_list, 1);  // the phones 15 mm below the sender's address
  view.set_text(sender_address, "浙江省杭州市余杭区五常街道文一西路998号3幢");
  view.set_text(address, "北京市\r\n朝阳区建国路八十八号现代城商务楼二十层");
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_EQ(questions.size(), 1u);  // the template's, nothing cut
  auto boxes = std::count_if(surface.calls.begin(), surface.calls.end(), [](const std::string& c) {
    return c.ends_with(" 2048 浙江省杭州市余杭区五常街道文一西\r\n路998号3幢") ||
           c.ends_with(" 2048 北京市\r\n朝阳区建国路八十八号现代城商务楼\r\n二十层");
  });
  EXPECT_EQ(boxes, 2);

  view.set_text(sender_address, fifty_roads());
  questions.clear();
  answers = {RT_IDYES, RT_IDYES, RT_IDNO};  // template, repeat, the check
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[2], "打印前检查发现：\r\n"
                          "  · 【寄件人地址】在快递单上要 4 行，第 4 行起会压在【寄件人电话】上\r\n"
                          "\r\n仍然打印吗？");
}

// The preview draws what the printer gets: the same calls for the same
// waybill.
TEST_F(PrintJob, ThePreviewReceivesThePrintersDrawingCalls) {
  view.set_text(left_offset, "-2.5");
  view.set_text(top_offset, "4");
  job->print_waybill("p");
  auto begin = std::find(surface.calls.begin(), surface.calls.end(), "begin []");
  auto finish = std::find(surface.calls.begin(), surface.calls.end(), "finish");
  ASSERT_LT(begin, finish);
  std::vector<std::string> printed(begin + 1, finish);

  RecordingSurface screen;
  print::Waybill waybill = job->prepare(rt::now());
  EXPECT_EQ(waybill.problem, "");
  print::draw_items(screen, waybill.items);
  EXPECT_EQ(screen.calls, printed);

  // A template that cannot print gives no items and the reason.
  view.list_select(template_list, 2);
  waybill = job->prepare(rt::now());
  EXPECT_TRUE(waybill.items.empty());
  EXPECT_NE(waybill.problem.find("位置数据不全"), std::string::npos);
}

TEST_F(PrintJob, MobileCheckCountsBytesWithoutSpaces) {
  view.set_text(mobile_phone, "138 1234　5678");
  job->print_waybill("p");
  EXPECT_TRUE(questions.empty());
  // A fixed line alone reaches the recipient; with no number at all the
  // question says so instead of naming an empty mobile.
  view.set_text(name_box, "李四");
  view.set_text(mobile_phone, "");
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());
  view.set_text(name_box, "王五");
  view.set_text(fixed_phone, " ");
  job->print_waybill("p");
  EXPECT_EQ(questions,
            (std::vector<std::string>{" 没有手机号，也没有电话，快递员联系不到收件人 ! 是否继续打印 "}));
}

TEST_F(PrintJob, PrinterFailuresAreReportedAndChangeNothing) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "";
  surface.printer_opens = false;
  EXPECT_EQ(job->print_waybill("missing"), print::PrintOutcome::failed);
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"open missing 1 2200x1270"}));
  EXPECT_EQ(view.status, "[张三] 未打印：打印机【missing】无法打开");

  surface.printer_opens = true;
  surface.document_begins = false;
  surface.calls.clear();
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::failed);
  EXPECT_EQ(surface.calls,
            (std::vector<std::string>{"open p 1 2200x1270", "mapping 2", "begin []", "release"}));
  EXPECT_EQ(view.status, "[张三] 未打印：打印机【p】未能开始打印");
  EXPECT_TRUE(view.enabled(print_button));

  surface.document_begins = true;
  surface.document_finishes = false;
  EXPECT_EQ(job->print_waybill(""), print::PrintOutcome::failed);
  EXPECT_EQ(view.status, "[张三] 未打印：打印机【默认打印机】未能完成打印");

  // Nothing went to a printer: no log line, and the same name asks no
  // repeat question.
  std::ifstream in(log, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "");
  in.close();  // Windows deletes no open file
  rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
  EXPECT_EQ(job->last_printed_name(), "");
  // The status line is narrow: each failure is told in a box as well.
  EXPECT_EQ(questions, (std::vector<std::string>{"[张三] 未打印：打印机【missing】无法打开",
                                                 "[张三] 未打印：打印机【p】未能开始打印",
                                                 "[张三] 未打印：打印机【默认打印机】未能完成打印"}));
}

TEST_F(PrintJob, NoUsableTemplatePrintsNothingAndSaysWhy) {
  struct Case {
    int selected;
    std::string row, message;
  } cases[] = {
      {-1, "", "请先在模板列表中选择快递模板"},
      {3, "", "模板【无此行】没有位置数据，请先在模板列表中选择快递模板"},
      {2, "短行,1,2,x3", "模板【短行】的位置数据不全（第 3 个数值缺失，需要 20 个），请更新模板"},
      {1, "圆通,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19",
       "模板【圆通】的位置数据不全（第 20 个数值缺失，需要 20 个），请更新模板"},
      {1, "圆通,1,2,3,4,5,6,7,8,9,,11,12,13,14,15,16,17,18,19,20",
       "模板【圆通】的位置数据不全（第 10 个数值缺失，需要 20 个），请更新模板"},
  };
  for (const Case& c : cases) {
    if (c.selected >= 0) rt::ini_write(path_, "dayin", std::to_string(c.selected + 1), c.row);
    view.list_select(template_list, c.selected);
    questions.clear();
    EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::failed) << c.row;
    EXPECT_EQ(questions, std::vector<std::string>{c.message});
    EXPECT_EQ(view.status, "[张三] 未打印：" + c.message);
  }
  EXPECT_TRUE(surface.calls.empty());
  EXPECT_EQ(job->last_printed_name(), "");
}

TEST_F(PrintJob, FullWidthDigitsCountInOffsetsAndTemplateValues) {
  rt::ini_write(path_, "dayin", "1",
                "申通,１０,２0,30,40,50,60,70,80,９0,100,110,120,130,140,150,160,170,180,190,200");
  view.set_text(left_offset, "５");
  view.set_text(top_offset, "３．５");
  job->print_waybill("p");
  EXPECT_EQ(surface.calls[4], "text 140,135 张三");
  EXPECT_EQ(surface.calls[8], "text 60,55 王老板");
}

TEST_F(PrintJob, PaperQuestionOncePerPrinterAndNoPrintsNothing) {
  surface.paper = {true, {}, false, "A4", 2100, 2970};
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("小票机"), print::PrintOutcome::failed);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0],
            "打印机【小票机】没有 220 × 127 毫米的快递单纸张，将在【A4 210 × 297 毫米】纸上打印，"
            "打印位置可能不准。\r\n\r\n解决办法：在系统的打印机设置中为这台打印机创建 "
            "220 × 127 毫米的纸张（表单），再选用它。\r\n\r\n仍然用这台打印机打印吗？");
  EXPECT_EQ(surface.calls, (std::vector<std::string>{"open 小票机 1 2200x1270", "release"}));
  EXPECT_EQ(view.status, "[张三] 未打印：打印机【小票机】没有快递单纸张");

  // "是" holds for that printer for the rest of the run.
  answers = {RT_IDYES};
  EXPECT_EQ(job->print_waybill("小票机"), print::PrintOutcome::printed);
  view.set_text(name_box, "李四");
  questions.clear();
  EXPECT_EQ(job->print_waybill("小票机"), print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());
  view.set_text(name_box, "王五");
  surface.paper.paper_name.clear();
  job->print_waybill("另一台");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("将在【210 × 297 毫米】纸上打印"), std::string::npos);

  // The paper comes before every other question: "否" to it follows no
  // question about a print that cannot happen.
  view.list_select(template_list, 1);
  questions.clear();
  answers = {RT_IDNO};
  job->print_waybill("第三台");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].rfind("打印机【第三台】没有", 0), 0u);
}

// Saving the settings asks about a newly chosen printer's paper (not again
// when printing) and about a sender's address that would not fit its box on
// the selected template; nothing is printed.
TEST_F(PrintJob, SavingTheSettingsAsksAboutThePaperAndTheSendersAddress) {
  surface.paper = {true, {}, false, "A4", 2100, 2970};
  EXPECT_TRUE(job->settings_accepted("小票机", true));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].rfind("打印机【小票机】没有 220 × 127 毫米", 0), 0u);
  EXPECT_EQ(surface.calls.back(), "release");
  questions.clear();
  EXPECT_EQ(job->print_waybill("小票机"), print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());

  view.list_select(template_list, 1);
  view.set_text(sender_address, fifty_roads());
  answers = {RT_IDNO};
  EXPECT_FALSE(job->settings_accepted("小票机", false));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "保存前检查发现（模板【圆通】）：\r\n"
                          "  · 【寄件人地址】在快递单上要 4 行，第 4 行起会压在【寄件人电话】上\r\n"
                          "\r\n可以缩短地址，或在地址中自己换行。仍然保存吗？");
  view.set_text(sender_address, "上海市");
  questions.clear();
  EXPECT_TRUE(job->settings_accepted("小票机", false));
  EXPECT_TRUE(questions.empty());
}

TEST(PaperText, NameAndMillimetres) {
  EXPECT_EQ(print::paper_text("Letter", 2159, 2794), "Letter 216 × 279 毫米");
  EXPECT_EQ(print::paper_text("A4", 2098, 2970), "A4 210 × 297 毫米");
  EXPECT_EQ(print::paper_text("", 2200, 1270), "220 × 127 毫米");
}

TEST_F(PrintJob, LogLineIsAppendedOnlyToAnExistingFile) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
  job->print_waybill("p");
  EXPECT_FALSE(rt::file_exists(log));

  std::ofstream(log, std::ios::binary) << "old\r\n";
  view.set_text(name_box, "李四");
  job->print_waybill("p");
  std::ifstream in(log, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(waybill_lines(content),
            "old\r\n" + date() +
                "；李四；浙江省杭州市西湖区；13812345678；0571-88886666；A1_黑色_40×2▅\r\n");
  // Its time and template on the line after it.
  size_t note = content.find("\r\n@时间=");
  ASSERT_NE(note, std::string::npos) << content;
  EXPECT_TRUE(content.ends_with("；模板=申通\r\n")) << content;
  in.close();  // Windows deletes no open file
  rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
}

// Without a log the first print asks, once in a run, whether to create it:
// "是" makes that waybill its first line; "否" is not asked again.
TEST_F(PrintJob, TheFirstPrintWithoutALogOffersToCreateIt) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  for (bool wanted : {true, false}) {
    rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
    print::PrintJob job(view, surface, path_, asker);
    int offers = 0;
    job.set_log_offer([&](view::Asker&) { return ++offers, wanted; });
    for (const char* name : {"李四", "王五"}) {
      view.set_text(name_box, name);
      EXPECT_EQ(job.print_waybill("p"), print::PrintOutcome::printed);
    }
    EXPECT_EQ(offers, 1);
    std::optional<std::string> content = rt::read_file(log);
    ASSERT_EQ(content.has_value(), wanted);
    if (wanted)
      EXPECT_EQ(waybill_lines(*content), date() + "；李四；浙江省杭州市西湖区；13812345678；0571-88886666；A1_黑色_40×2▅\r\n" +
                              date() + "；王五；浙江省杭州市西湖区；13812345678；0571-88886666；A1_黑色_40×2▅\r\n");
  }
  rt::delete_file(log);
}

// A heading the seller typed without a line end stays a line of its own.
TEST_F(PrintJob, EachRecordStartsOnALineOfItsOwn) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "我的发货记录";
  job->print_waybill("p");
  std::optional<std::string> content = rt::read_file(log);
  ASSERT_TRUE(content);
  EXPECT_EQ(waybill_lines(*content), "我的发货记录\r\n" + date() +
                         "；张三；浙江省杭州市西湖区；13812345678；0571-88886666；A1_黑色_40×2▅\r\n");
  rt::delete_file(log);
}

// A log the program cannot write (here a folder of that name; read-only
// or held open by a spreadsheet program alike): the waybill was printed,
// the status says both, and the guard still knows it.
TEST_F(PrintJob, ALogThatCannotBeWrittenIsReportedAndThePrintStillGuarded) {
  std::string ansi_log = std::string(rt::exe_dir().view()) + "/地址.txt";
  rt::delete_file(ansi_log);
#ifdef _WIN32  // std::filesystem reads a narrow path as UTF-8 there
  std::filesystem::path folder = std::filesystem::path(std::string(rt::exe_dir().view())) /
                                 std::filesystem::path(u8"地址.txt");
#else
  std::filesystem::path folder = ansi_log;
#endif
  std::filesystem::create_directory(folder);
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_EQ(view.status, "[张三] 已打印完毕，但打印记录无法写入 地址.txt：文件只读或正被其他程序使用");
  answers = {RT_IDNO};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].starts_with("这个快递单已在 " + date() + " 打印过")) << questions[0];
  std::filesystem::remove(folder);
}

// The log guards against a parcel printed twice: the same recipient and
// goods within the days set ask when and what, across restarts; other
// goods are a new parcel; without the log there is no guard, as before.
TEST_F(PrintJob, TheSameRecipientAndGoodsAskWhenAndWhatAcrossRestarts) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "damaged；line\r\n";
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);  // logged
  EXPECT_TRUE(questions.empty());

  print::PrintJob restarted(view, surface, path_, asker);
  surface.calls.clear();
  answers = {RT_IDNO};
  EXPECT_EQ(restarted.print_waybill("p"), print::PrintOutcome::cancelled);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "这个快递单已在 " + date() +
                              " 打印过：\r\n【张三】13812345678 0571-88886666\r\n"
                              "浙江省杭州市西湖区\r\n商品：A1_黑色_40×2▅\r\n\r\n是否再次打印？");
  EXPECT_EQ(surface.calls, kOpenedOnly);  // asked with the printer open: no page
  EXPECT_EQ(view.status, "已取消打印");

  // Other goods: a new parcel, no question (and none about the name, which
  // this run has not printed).
  questions.clear();
  view.set_text(goods, "B2_白色_41×1▅");
  EXPECT_EQ(restarted.print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());
  // The guard is off with 0 days; the name question still guards.
  rt::ini_write(path_, "dayinji", "chongfutianshu", "0");
  view.set_text(goods, "A1_黑色_40×2▅");
  answers = {RT_IDNO};
  restarted.print_waybill("p");
  EXPECT_EQ(questions, (std::vector<std::string>{" 刚才【张三】已发送打印，是否再次发送"}));
  // The history's "补打所选" is the seller's own choice: neither question.
  rt::ini_write(path_, "dayinji", "chongfutianshu", "3");
  questions.clear();
  print::PrintRequest chosen;
  chosen.kind = print::PrintRequest::Kind::chosen_reprint;
  EXPECT_EQ(restarted.print_waybill("p", chosen),
            print::PrintOutcome::printed);
  EXPECT_TRUE(questions.empty());
  rt::delete_file(log);  // an ANSI path (std::filesystem reads it as UTF-8 on Windows)
}

TEST(WaybillLayout, CompleteValuesAndCharacterHeights) {
  EXPECT_EQ(
      print::TemplateRow::read("申通,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,,,").complete,
      20);
  EXPECT_EQ(print::TemplateRow::read("申通,1, -2,＋３,x4").complete, 3);
  EXPECT_EQ(print::TemplateRow::read("no comma").complete, 0);
  EXPECT_EQ(print::TemplateRow::read(",-").complete, 0);
  // What a 180-dpi printer printed from a 96-dpi screen: 5.1 and 4.5 mm.
  EXPECT_EQ(print::character_height(20), 51);
  EXPECT_EQ(print::character_height(18), 45);
}

TEST(WaybillLayout, ValuesAndDate) {
  auto f = print::TemplateRow::read("名,1, 2,3x,-4,,abc").values;
  EXPECT_EQ(f[0], 1);
  EXPECT_EQ(f[1], 2);
  EXPECT_EQ(f[2], 3);
  EXPECT_EQ(f[3], -4);
  EXPECT_EQ(f[4], 0);
  EXPECT_EQ(f[19], 0);
  EXPECT_EQ(print::TemplateRow::read("").values.size(), 20u);
  EXPECT_EQ(print::TemplateRow::read("no comma").values[0], 0);
  EXPECT_EQ(print::TemplateRow::read("n,99999999999").values[0], INT32_MAX / 2);
  EXPECT_EQ(print::waybill_date(2015, 7, 5), "2015.7.5");
}

}  // namespace

namespace {

// Crosshairs every 20 mm at the offsets, labelled with where they belong.
TEST(CalibrationSheet, CrossesLandWhereTheirLabelsSayPlusTheOffsets) {
  RecordingSurface s;
  print::draw_calibration_sheet(s, 50, -30);
  auto has = [&](const std::string& call) {
    return std::find(s.calls.begin(), s.calls.end(), call) != s.calls.end();
  };
  EXPECT_TRUE(has("line 220,170-281,170"));  // the 20,20 cross: 250,170 ± 3 mm
  EXPECT_TRUE(has("line 250,140-250,201"));
  EXPECT_TRUE(has("text 260,180 20,20"));
  EXPECT_TRUE(has("text 2060,1180 200,120"));
  EXPECT_TRUE(has("line 1050,570-1251,570"));  // the centre cross, ±10 mm
  EXPECT_TRUE(has("text 1170,510 中心 110,60"));
  EXPECT_TRUE(has("text 250,1090 校准页  左偏移 5 毫米  顶偏移 -3 毫米    "
                  "量大十字的中心离纸的左边、上边各多少毫米，填进程序"));
  EXPECT_EQ(std::count_if(s.calls.begin(), s.calls.end(),
                          [](const std::string& c) { return c.starts_with("line"); }),
            2 * 61);  // 10 × 6 crosses and the centre one
}

// A distance measured from the paper's edge, not a deviation from the
// cross's place: within 50 mm of where the cross belongs.
TEST(CalibrationSheet, AMeasuredDistanceLiesWhereAnOffsetCanPutTheCross) {
  EXPECT_EQ(print::measured_distance("125", 110), 125);
  EXPECT_EQ(print::measured_distance(" １２５ ", 110), 125);
  EXPECT_EQ(print::measured_distance("160", 110), 160);
  EXPECT_EQ(print::measured_distance("58.5", 60), 58.5);
  for (const char* refused : {"1.5", "-2", "0", "160.1", "59.9", "", "125mm", "abc"})
    EXPECT_FALSE(print::measured_distance(refused, 110)) << refused;
}

TEST(CalibrationSheet, OffsetsMoveTheCentreCrossOntoItsPlace) {
  print::Offsets o = print::corrected_offsets({5, 3}, 1.5, -2);
  EXPECT_DOUBLE_EQ(o.left, 3.5);
  EXPECT_DOUBLE_EQ(o.top, 5);
  EXPECT_EQ(print::millimetres_text(3.5), "3.5");
  EXPECT_EQ(print::millimetres_text(-0.04), "0");
  EXPECT_EQ(print::millimetres_text(2.26), "2.3");
  EXPECT_EQ(print::millimetres_text(-12), "-12");
}

}  // namespace

// The sheet prints like a waybill (paper question included) and the
// seller's measurement corrects, shows and saves the offsets.
TEST_F(PrintJob, CalibrationCorrectsAndSavesTheOffsets) {
  view.set_text(left_offset, "5");
  view.set_text(top_offset, "3");
  EXPECT_EQ(job->print_calibration_sheet("p"), print::PrintOutcome::printed);
  ASSERT_EQ(questions.size(), 1u);  // load a form first
  EXPECT_EQ(questions[0].rfind("校准页要印在一张快递单上", 0), 0u);
  questions.clear();
  EXPECT_EQ(view.status, "[校准页] 已打印完毕");
  EXPECT_EQ(surface.calls.front(), "open p 1 2200x1270");
  EXPECT_EQ(surface.calls.back(), "release");

  // The distances measured, as the sheet and the guide say; a deviation
  // typed instead is refused with what to type.
  asker.typed_answers = {"1.5", "111.5", "abc", "58"};
  EXPECT_TRUE(print::correct_offsets(view, path_, asker));
  EXPECT_EQ(view.text(left_offset), "3.5");
  EXPECT_EQ(view.text(top_offset), "5");
  EXPECT_EQ(std::string(rt::ini_read(path_, "dayinji", "left").view()), "3.5");
  EXPECT_EQ(std::string(rt::ini_read(path_, "dayinji", "top").view()), "5");
  EXPECT_EQ(view.status, "已校准：左偏移 3.5 毫米，顶偏移 5 毫米");
  EXPECT_EQ(questions, (std::vector<std::string>{
                           "“1.5”不是量到的距离。请填大十字的中心离纸的左边有多少毫米，在 60 到 160 "
                           "之间（位置正好时是 110），例如 112.5。",
                           "“abc”不是量到的距离。请填大十字的中心离纸的上边有多少毫米，在 10 到 110 "
                           "之间（位置正好时是 60），例如 62.5。"}));

  asker.typed_answers = {"111", std::nullopt};  // cancelled: nothing changes
  EXPECT_FALSE(print::correct_offsets(view, path_, asker));
  EXPECT_EQ(view.text(left_offset), "3.5");
}

namespace {

// Each printed waybill takes the number of the form in the printer and the
// box moves on to the next form of that template's stack; a declined
// print, or a number no form has, takes none.
TEST_F(PrintJob, EachWaybillTakesTheFormsNumberAndItsStackMovesOn) {
  std::string log = std::string(rt::exe_dir().view()) + "/地址.txt";
  std::ofstream(log, std::ios::binary) << "";
  job->show_form_number();
  EXPECT_EQ(view.text(waybill_number), "");
  view.set_text(waybill_number, " yt0000000009 ");  // as typed
  job->keep_typed_form_number();
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::printed);
  EXPECT_EQ(view.text(waybill_number), "YT0000000010");
  EXPECT_EQ(rt::ini_read(path_, "yundanhao", "dayin,申通"), "YT0000000010");
  std::optional<std::string> content = rt::read_file(log);
  ASSERT_TRUE(content);
  EXPECT_NE(content->find("；运单号=YT0000000009\r\n"), std::string::npos) << *content;

  view.set_text(name_box, "李四");
  view.set_text(mobile_phone, "1381234567");
  answers = {RT_IDNO};  // the mobile's question
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::cancelled);
  EXPECT_EQ(view.text(waybill_number), "YT0000000010");

  view.list_select(template_list, 1);  // another courier's stack
  job->show_form_number();
  EXPECT_EQ(view.text(waybill_number), "");
  view.set_text(waybill_number, "EA123456784CN");
  questions.clear();
  answers = {RT_IDYES};
  EXPECT_EQ(job->print_waybill("p"), print::PrintOutcome::failed);
  EXPECT_NE(view.status.find("的校验位（第 11 位）应为 5"), std::string::npos) << view.status;
  EXPECT_EQ(view.text(waybill_number), "EA123456784CN");

  view.list_select(template_list, 0);
  job->show_form_number();
  EXPECT_EQ(view.text(waybill_number), "YT0000000010");
  rt::delete_file(log);
}

}  // namespace

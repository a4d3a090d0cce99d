// Printing through the real window onto the test printer, checked in the
// PDF it writes: page size, every item at its template position plus the
// offsets, the log line, batches, cancelled and impossible prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/e2e/app_driver.h"
#include "tests/e2e/printed_pdf.h"
#include "tests/recognize/pages.h"
#include "view/main_view.h"

namespace {

using namespace view::control;
constexpr int kRecogniseButton = 1001;
constexpr int kPrintButton = 1016;
constexpr int kDefaultLink = 1035;

// Tenths of a millimetre of the template plus the offsets as millimetres.
constexpr double kLeft = 5, kTop = 3;
struct At {
  double x, y;
};

class Printing : public testing::Test {
 protected:
  void SetUp() override {
    clear_printed_pdfs();
    std::filesystem::remove(log_path());
  }
  void TearDown() override {
    if (app.window()) {
      EXPECT_EQ(app.close(), 0);
    }
    std::filesystem::remove(log_path());
  }

  static std::string log_path() { return AppDriver::program_folder() + "\\地址.txt"; }

  void start(const std::string& printer = "slipjet-pdf") {
    app.write_file("cfg.ini", "[dayinji]\r\nmoren=" + printer +
                                  "\r\nleft=5\r\ntop=3\r\n[ji]\r\njiname=王老板\r\n"
                                  "jitel=021-1234567\r\njiphone=13700001111\r\n");
    ASSERT_TRUE(app.start());
    app.choose(template_list, 0);  // 申通
  }
  // Clicks the link until the chosen template carries the default mark: a
  // real click can be lost while the display is still settling.
  void make_default_template() {
    for (int tries = 0; tries < 5; ++tries) {
      app.mouse_click(kDefaultLink);
      std::vector<std::string> names = app.items(template_list);
      int chosen = app.selection(template_list);
      if (chosen >= 0 && names.at(size_t(chosen)).ends_with("[默认]")) return;
    }
    ADD_FAILURE() << "the default link did not take";
  }
  void recognise(const std::string& text) {
    ASSERT_TRUE(AppDriver::set_clipboard(text));
    app.click(kRecogniseButton);
  }
  // Presses "打印" and answers the one question with `button`.
  void print_answering(int button) {
    app.click_async(kPrintButton);
    HWND box = AppDriver::wait_for_window("注意");
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, button, 0);
  }
  // Half a millimetre for the font's side bearing, plus 0.5 % of the
  // distance: the metric mapping scales by the printer's whole millimetres
  // (HORZSIZE 219 for a 219.9 mm wide printable area).
  static double tolerance(double mm) { return 0.5 + mm * 0.005; }
  static void expect_at(const PrintedPage& page, const std::string& text, At at) {
    const PrintedWord* w = page.find(text);
    ASSERT_TRUE(w) << "not printed: " << text;
    EXPECT_NEAR(w->x_mm, at.x + kLeft, tolerance(at.x + kLeft)) << text;
    EXPECT_NEAR(w->y_mm, at.y + kTop, tolerance(at.y + kTop)) << text;
  }

  AppDriver app;
};

TEST_F(Printing, ItemsLandAtTheTemplatePositionsPlusTheOffsets) {
  std::ofstream(log_path(), std::ios::binary) << "";
  start();
  recognise(
      "广东省 深圳市 南山区 粤海街道 科技园南区 高新南七道100号数字技术园 ，518000，赵六，"
      "0755-26661234 13511112222");
  ASSERT_EQ(app.text(status_line), "已识别 1 个 [发货页]");
  print_answering(IDYES);  // the template is not the default
  ASSERT_TRUE(app.wait_for_text(status_line, "[赵六] 已打印完毕"));
  ASSERT_TRUE(wait_for_pdfs(1));
  PrintedPage page = read_pdf(printed_pdfs().at(0));
  EXPECT_NEAR(page.width_mm, 220, 0.5);
  EXPECT_NEAR(page.height_mm, 127, 0.5);

  // 申通: name 120,25; fixed 160,60; mobile 126,60; sender name 26,25;
  // sender fixed 69,60; sender mobile 36,60; address box 118,40; date 20,5.
  expect_at(page, "赵六", {120, 25});
  expect_at(page, "0755-26661234", {160, 60});
  expect_at(page, "13511112222", {126, 60});
  expect_at(page, "王老板", {26, 25});
  expect_at(page, "021-1234567", {69, 60});
  expect_at(page, "13700001111", {36, 60});
  expect_at(page, "广东省深圳市南山区粤海街道科技园", {118, 40});
  const PrintedWord* second_line = page.find("南区高新南七道100号数字技术园");
  ASSERT_TRUE(second_line);
  EXPECT_NEAR(second_line->x_mm, 118 + kLeft, tolerance(118 + kLeft));
  EXPECT_GT(second_line->y_mm, 40 + kTop + 2);
  EXPECT_LT(second_line->y_mm, 40 + kTop + 30);

  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string date =
      std::to_string(now.wYear) + "." + std::to_string(now.wMonth) + "." + std::to_string(now.wDay);
  expect_at(page, date, {20, 5});

  std::ifstream in(log_path(), std::ios::binary);
  std::string log((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(log, date +
                     "；赵六；广东省深圳市南山区粤海街道科技园南区高新南七道100号数字技术园；"
                     "13511112222；0755-26661234；\r\n");
}

TEST_F(Printing, BatchOfThreePrintsThreeDocumentsInRecordOrder) {
  start();
  make_default_template();
  std::vector<pages::Order> orders;
  for (int i = 1; i <= 3; ++i) orders.push_back(pages::numbered_order(i));
  recognise(pages::batch_page_of(orders));
  ASSERT_EQ(app.text(status_line), "获取成功 3 条！ [批量页]");
  app.click_async(batch_print_button);
  ASSERT_TRUE(app.wait_for_text(status_line, "[收件人3] 已打印完毕", 60000));
  ASSERT_TRUE(wait_for_pdfs(3));
  std::vector<std::string> pdfs = printed_pdfs();
  ASSERT_EQ(pdfs.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(read_pdf(pdfs[size_t(i)]).find("收件人" + std::to_string(i + 1))) << i;
  EXPECT_TRUE(app.enabled(batch_print_button));
}

TEST_F(Printing, NoToAQuestionPrintsNothing) {
  start();
  recognise("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678");
  print_answering(IDNO);
  ASSERT_TRUE(app.wait_for_text(status_line, "已取消打印"));
  Sleep(3000);
  EXPECT_TRUE(printed_pdfs().empty());
}

TEST_F(Printing, UninstalledPrinterPrintsNothingAndSaysNothing) {
  start("没有这台打印机");
  make_default_template();
  recognise("浙江省 杭州市 西湖区 文三路100号 ，310000，张三，13812345678");
  std::string before = app.text(status_line);
  app.click(kPrintButton);
  Sleep(3000);
  EXPECT_EQ(app.text(status_line), before);
  EXPECT_TRUE(printed_pdfs().empty());
}

}  // namespace

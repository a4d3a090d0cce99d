// The real slipjet.exe under Wine, driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h.
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/input_box.h"
#include "runtime/text_encoding.h"
#include "tests/e2e/app_driver.h"
#include "tests/recognize/pages.h"
#include "view/main_view.h"

namespace {

using namespace view::control;

class MainWindow : public testing::Test {
 protected:
  void start() { ASSERT_TRUE(app.start()) << "no main window"; }
  void TearDown() override {
    if (app.window()) {
      EXPECT_EQ(app.close(), 0);
    }
  }

  AppDriver app;
};

TEST_F(MainWindow, FirstStart) {
  start();
  char caption[256] = {};
  GetWindowTextA(app.window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "青禾快递单打印系统 2.1");
  EXPECT_EQ(app.window_width(), 300);
  // A first start says where to begin and where the tools are.
  EXPECT_EQ(app.text(status_line),
            "首次使用：先点“设置”填写寄件人。模板下面可预览快递单、打印校准页、查看打印记录。");
  std::vector<std::string> templates = app.items(template_list);
  ASSERT_EQ(templates.size(), 9u);
  EXPECT_EQ(templates[0], "申通");
  EXPECT_EQ(app.text(sender_name), "");
  // No printer saved: the list shows the system's default, which prints.
  char printer[256] = {};
  DWORD size = sizeof printer;
  ASSERT_TRUE(GetDefaultPrinterA(printer, &size));
  std::vector<std::string> printers = app.items(printer_list);
  int shown = app.selection(printer_list);
  ASSERT_TRUE(shown >= 0 && shown < int(printers.size()));
  EXPECT_EQ(printers[size_t(shown)], printer);
  EXPECT_EQ(app.text(settings_button), "设置");
  EXPECT_FALSE(app.enabled(batch_print_button));
}

// The file's properties (its version resource) name the version the
// caption shows: both read from the running program and its file.
TEST_F(MainWindow, TheFilesVersionIsTheCaptionsVersion) {
  start();
  wchar_t caption[256] = {};
  GetWindowTextW(app.window(), caption, int(std::size(caption)));
  std::wstring shown(caption);
  shown = shown.substr(shown.rfind(L' ') + 1);

  std::wstring path = rt::widen(AppDriver::program_path());
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
  auto value = [&](const wchar_t* name) {
    void* text = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &text, &length) || length == 0) return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(text));
  };
  EXPECT_EQ(value(L"FileVersion"), shown);
  EXPECT_EQ(value(L"ProductVersion"), shown);
  EXPECT_EQ(value(L"ProductName") + L" " + shown, std::wstring(caption));
  EXPECT_FALSE(value(L"CompanyName").empty());
  EXPECT_NE(value(L"LegalCopyright").find(L"MIT"), std::wstring::npos);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                         std::to_wstring(LOWORD(fixed->dwFileVersionMS));
  EXPECT_EQ(shown.rfind(numbers, 0), 0u) << numbers;
}

// The title-bar menu opens the seller's guide from beside the program; a
// program without it (as here, the build's own) says where it belongs.
TEST_F(MainWindow, TheGuideWithoutItsFileSaysWhereItBelongs) {
  start();
  PostMessageA(app.window(), WM_SYSCOMMAND, 0x0130, 0);
  HWND box = AppDriver::wait_for_window("使用说明", 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(AppDriver::box_text(box).rfind("程序所在的文件夹里没有“使用说明.html”。", 0), 0u)
      << AppDriver::box_text(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindow, BatchPageWithTwoRecordsAsksForTheItemCodeOnce) {
  start();
  pages::Order first, second;
  first.goods = pages::goods_block("新款跑鞋");
  second.goods = pages::goods_block("新款跑鞋", "鞋码: 42");
  second.address_line = "上海 上海市 浦东新区 世纪大道1号 ，200120，李四，021-58881234 13987654321";
  ASSERT_TRUE(AppDriver::set_clipboard(pages::batch_page_of({first, second})));

  app.click_async(recognise_button);
  // Generous: where Wine's VBScript is switched off but still registered,
  // the program's one attempt at the system's pattern service can take
  // seconds before it falls back to its own engine.
  HWND dialog = AppDriver::wait_for_window("请输入宝贝代号", 30000);
  ASSERT_TRUE(dialog);
  AppDriver::answer(dialog, rt::kInputBoxTextEdit, "R1");
  ASSERT_TRUE(app.wait_for_text(status_line, "获取成功 2 条！ [批量页]"));
  EXPECT_EQ(AppDriver::wait_for_window("请输入宝贝代号", 300), nullptr);  // asked once

  EXPECT_EQ(app.items(name_box), (std::vector<std::string>{"张三", "李四"}));
  EXPECT_EQ(app.text(name_box), "张三");
  EXPECT_EQ(app.text(mobile_phone), "13812345678");
  EXPECT_EQ(app.text(address), "浙江省杭州市西湖区文三路100号");
  EXPECT_EQ(app.text(goods), "R1_黑色_40×2件▅");
  EXPECT_TRUE(app.enabled(batch_print_button));

  app.choose(name_box, 1);
  EXPECT_EQ(app.text(name_box), "李四");
  EXPECT_EQ(app.text(fixed_phone), "021-58881234");
  EXPECT_EQ(app.text(goods), "R1_黑色_42×2件▅");
  EXPECT_NE(app.read_file("cfg.ini").find("新款跑鞋=R1"), std::string::npos);
}

// The item-code questions are the main window's: it is disabled under the
// question and under the refusal of a code the settings file cannot keep,
// and closing it anyway (as a program can) ends the program with no
// question left behind for the orders still to be read.
TEST_F(MainWindow, ClosedDuringTheItemCodeQuestionsTheProgramEndsAskingNothingMore) {
  start();
  pages::Order first, second;
  first.goods = pages::goods_block("新款跑鞋");
  second.goods = pages::goods_block("另一款");
  ASSERT_TRUE(AppDriver::set_clipboard(pages::batch_page_of({first, second})));
  app.click_async(recognise_button);
  HWND question = AppDriver::wait_for_window("请输入宝贝代号", 30000);
  ASSERT_TRUE(question);
  EXPECT_EQ(GetWindow(question, GW_OWNER), app.window());
  AppDriver::answer(question, rt::kInputBoxTextEdit, "A\x82\x34\x88\x38");
  HWND refusal = AppDriver::wait_for_window("注意", 10000);
  ASSERT_TRUE(refusal);
  EXPECT_NE(AppDriver::box_text(refusal).find("存不进设置文件"), std::string::npos);
  EXPECT_EQ(GetWindow(refusal, GW_OWNER), app.window());
  EXPECT_FALSE(IsWindowEnabled(app.window()));
  EXPECT_EQ(app.close(), 0);
  EXPECT_EQ(AppDriver::wait_for_window("请输入宝贝代号", 1000), nullptr);
  EXPECT_EQ(app.read_file("cfg.ini").find("新款跑鞋="), std::string::npos);
}

// A batch page of 1,000 orders whose item codes are stored: the figure is
// printed (the click returns when the recognition has ended).
TEST_F(MainWindow, ABatchPageOfAThousandOrders) {
  std::string cfg = "[baobeibiaotidaihao]\r\n";
  for (int i = 0; i < 20; ++i) cfg += "运动鞋款式" + std::to_string(i) + "=K" + std::to_string(i) + "\r\n";
  app.write_file("cfg.ini", cfg);
  ASSERT_TRUE(app.start());
  std::vector<pages::Order> orders;
  for (int i = 1; i <= 1000; ++i)
    orders.push_back(
        pages::numbered_order(i, pages::goods_block("运动鞋款式" + std::to_string(i % 20))));
  ASSERT_TRUE(AppDriver::set_clipboard(pages::batch_page_of(orders)));
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  app.click(recognise_button);
  QueryPerformanceCounter(&after);
  EXPECT_EQ(app.text(status_line), "获取成功 1000 条！ [批量页]");
  EXPECT_EQ(app.items(name_box).size(), 1000u);
  EXPECT_EQ(app.text(goods), "K1_黑色_40×2件▅");
  std::printf("a batch page of 1,000 orders recognised in %lld ms\n",
              (after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
}

TEST_F(MainWindow, DetailPage) {
  start();
  ASSERT_TRUE(
      AppDriver::set_clipboard("张三，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310000"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "已识别 1 个 [详情页]");
  EXPECT_EQ(app.text(name_box), "张三");
  EXPECT_EQ(app.text(mobile_phone), "13812345678");
  EXPECT_EQ(app.text(address), "浙江省杭州市西湖区文三路100号");
  EXPECT_FALSE(app.enabled(batch_print_button));
}

// A recipient text no page kind knows: the address parser fills the boxes.
TEST_F(MainWindow, AnyRecipientTextFillsTheBoxes) {
  start();
  ASSERT_TRUE(AppDriver::set_clipboard(
      "收货人: 李丽 手机号码: 13166666666 所在地区: 上海市黄浦区 详细地址: 南苏州路333号"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "已识别 1 个 [智能识别]");
  EXPECT_EQ(app.text(name_box), "李丽");
  EXPECT_EQ(app.text(mobile_phone), "13166666666");
  EXPECT_EQ(app.text(address), "上海市黄浦区南苏州路333号");
  EXPECT_FALSE(app.enabled(batch_print_button));
}

// A buyer's chat message: the greeting and the remark stay out of the
// boxes; a name cut off the address's end by its shape asks to be checked.
TEST_F(MainWindow, AChatMessageFillsTheBoxesAndAGuessedNameIsToBeChecked) {
  start();
  ASSERT_TRUE(AppDriver::set_clipboard(
      "哈喽，宝贝发这里：浙江省杭州市西湖区文三路100号 张伟 13800138000 辛苦啦"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "已识别 1 个 [智能识别]");
  EXPECT_EQ(app.text(name_box), "张伟");
  EXPECT_EQ(app.text(mobile_phone), "13800138000");
  EXPECT_EQ(app.text(address), "浙江省杭州市西湖区文三路100号");
  ASSERT_TRUE(AppDriver::set_clipboard("广西南宁良庆区五象航洋城38楼马云15000000000"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "已识别 1 个 [智能识别] 请核对：姓名");
  EXPECT_EQ(app.text(name_box), "马云");
}

// A chat that changes the address ends with the remark, glued or not: the
// box holds the address alone. An order still masked by the platform fills
// no mask into a box, and the status says how to copy it whole. Copied as
// a chat program copies (Unicode only), with a no-break space in the number.
TEST_F(MainWindow, ARemarkAfterTheAddressAndAMaskedOrderFillNothingOfTheirs) {
  start();
  ASSERT_TRUE(AppDriver::set_unicode_clipboard(
      "刘洋 138\x81\x30\x84\x32" "0013\x81\x30\x84\x32" "8000 浙江省杭州市西湖区文三路100号301室，地址换一下哈"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "已识别 1 个 [智能识别]");
  EXPECT_EQ(app.text(mobile_phone), "13800138000");
  EXPECT_EQ(app.text(address), "浙江省杭州市西湖区文三路100号301\r\n室");  // wrapped as it prints
  ASSERT_TRUE(AppDriver::set_clipboard("收货信息：王**，139****1234，浙江省杭州市西湖区****"));
  app.click(recognise_button);
  EXPECT_EQ(app.text(status_line), "收货信息已打码（姓名、手机、详细地址）：请在订单页点开“查看”后再复制");
  EXPECT_EQ(app.text(name_box), "");
  EXPECT_EQ(app.text(mobile_phone), "");
}

TEST_F(MainWindow, SettingsPaneOpensAndSaves) {
  start();
  app.click(settings_button);
  EXPECT_EQ(app.window_width(), 600);
  EXPECT_EQ(app.text(settings_button), "保存");
  app.set_text(sender_name, "王老板");
  app.set_text(sender_mobile, "13700001111");
  app.set_text(left_offset, "3");
  // A town whose name GBK lacks (䢺) is the seller's own address: kept.
  const std::string town = "重庆市巫溪县\x82\x34\x88\x38江镇";
  app.set_text(sender_address, town);
  app.click(settings_button);
  EXPECT_EQ(app.window_width(), 300);
  EXPECT_EQ(app.text(settings_button), "设置");
  std::string cfg = app.read_file("cfg.ini");
  EXPECT_NE(cfg.find("jiname=王老板"), std::string::npos) << cfg;
  EXPECT_NE(cfg.find("jiphone=13700001111"), std::string::npos);
  EXPECT_NE(cfg.find("left=3"), std::string::npos);
  EXPECT_EQ(app.close(), 0);
  ASSERT_TRUE(app.start());
  EXPECT_EQ(app.text(sender_address), town);
}

// A settings file that cannot be written is never reported as saved: a box
// says so with the file's path and the pane stays open with the edits.
TEST_F(MainWindow, ReadOnlySettingsFileSaysTheSaveFailedAndKeepsThePaneOpen) {
  start();
  std::string cfg = app.folder() + "\\cfg.ini";
  std::string before = app.read_file("cfg.ini");
  ASSERT_TRUE(SetFileAttributesA(cfg.c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine lets root write through the read-only mark; held open for reading
  // only, as an editor or a backup tool may hold it, the file cannot be
  // written by anyone.
  HANDLE held =
      CreateFileA(cfg.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  app.click(settings_button);
  app.set_text(sender_name, "王老板");
  app.click_async(settings_button);
  HWND box = AppDriver::wait_for_window("信息");
  ASSERT_TRUE(box) << "no failure message";
  std::string text = AppDriver::box_text(box);
  EXPECT_EQ(text.rfind("保存设置失败：无法写入 ", 0), 0u) << text;
  EXPECT_NE(text.find("cfg.ini"), std::string::npos) << text;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(app.wait_for_text(settings_button, "保存"));
  EXPECT_EQ(app.window_width(), 600);
  EXPECT_EQ(app.text(sender_name), "王老板");
  // The status line is written once the box is answered: waited for.
  for (int waited = 0; !app.text(status_line).starts_with("保存设置失败") && waited < 5000; waited += 50)
    Sleep(50);
  EXPECT_EQ(app.text(status_line).rfind("保存设置失败", 0), 0u) << app.text(status_line);
  EXPECT_EQ(app.read_file("cfg.ini"), before);
  CloseHandle(held);
  SetFileAttributesA(cfg.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainWindow, DefaultLinkMarksTheChosenTemplate) {
  start();
  app.choose(template_list, 2);
  // A real click can be lost while the display settles after another
  // test's message box: click until the mark is there (five times at most).
  std::vector<std::string> templates;
  for (int tries = 0; tries < 5; ++tries) {
    app.mouse_click(default_link);
    templates = app.items(template_list);
    if (templates.size() > 2 && templates[2].ends_with("[默认]")) break;
  }
  ASSERT_EQ(templates.size(), 9u);
  EXPECT_NE(templates[2].find("[默认]"), std::string::npos) << templates[2];
  EXPECT_EQ(app.selection(template_list), 2);
}

TEST_F(MainWindow, HelpShowsTheTutorial) {
  start();
  app.click_async(help_button);
  HWND box = AppDriver::wait_for_window("使用教程");
  ASSERT_TRUE(box);
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_EQ(std::string(text).find("1.第一次使用请设置好发件人和打印机"), 0u) << text;
  EXPECT_NE(std::string(text).find("4.不懂别问我"), std::string::npos);
  // The way on to the guide (not beside the test build: it says where the
  // guide belongs).
  EXPECT_NE(std::string(text).find("打开使用说明"), std::string::npos);
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  HWND guide = AppDriver::wait_for_window("使用说明");
  ASSERT_TRUE(guide);
  GetDlgItemTextA(guide, 0xFFFF, text, sizeof text);
  EXPECT_NE(std::string(text).find("使用说明.html"), std::string::npos) << text;
  PostMessageA(guide, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(app.wait_for_text(status_line, "首次使用：先点“设置”填写寄件人。模板下面可预览快递单、打印校准页、查看打印记录。"));
}

}  // namespace

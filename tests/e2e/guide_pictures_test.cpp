// The pictures of the seller's guide: the real program's windows along a
// seller's way, taken by the test environment's photographer
// (scripts/guide-pictures). Without a photographer there is nothing to do.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/history_window_win32.h"
#include "app/preview_window_win32.h"
#include "tests/e2e/app_driver.h"
#include "view/main_view.h"

namespace {

using namespace view::control;

constexpr char kSettings[] =
    "[dayinji]\r\nleft=0\r\ntop=0\r\n[ji]\r\njiname=王老板\r\njitel=021-56781234\r\n"
    "jiphone=13700001111\r\njiqita=上海市闵行区七宝镇漕宝路3366号\r\n"
    "[yundanhao]\r\ndayin,申通=773012345672\r\n";
constexpr char kLog[] =
    "2026.12.7；李丽；上海市黄浦区南苏州路333号；13166666666；；连衣裙_红色_M×1\r\n"
    "@时间=09:12:40；模板=申通；运单号=773012345670；订单号=3528811234567890\r\n"
    "2026.12.8；赵六；广东省深圳市南山区高新南七道100号；13511112222；0755-26661234；运动鞋_黑色_"
    "40×1\r\n"
    "@时间=16:05:02；模板=圆通；运单号=YT0000000009；订单号=3528811234567891\r\n"
    "2026.12.9；张三；浙江省杭州市西湖区文三路100号；13812345678；；茶杯_白色×2\r\n"
    "@时间=10:31:15；模板=申通；运单号=773012345671\r\n";

// The window a system-menu command opens, or null.
HWND open_from_menu(const AppDriver& app, WPARAM command, const char* caption) {
  PostMessageA(app.window(), WM_SYSCOMMAND, command, 0);
  return AppDriver::wait_for_window(caption, 20000);
}

void close_and_wait(HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  for (int waited = 0; IsWindow(window) && waited < 5000; waited += 50) Sleep(50);
}

TEST(GuidePictures, TheSellersWay) {
  if (!AppDriver::can_photograph()) GTEST_SKIP() << "no photographer: scripts/guide-pictures";
  AppDriver app;
  // Run from its own folder as a seller's unzipped copy is: the settings
  // and the log beside it.
  std::string exe = app.folder() + "\\slipjet.exe";
  ASSERT_TRUE(CopyFileA(AppDriver::program_path().c_str(), exe.c_str(), FALSE));
  app.write_file("cfg.ini", kSettings);
  app.write_file("地址.txt", kLog);
  ASSERT_TRUE(app.launch(exe) && app.wait_for_main_window());
  app.choose(template_list, 0);

  ASSERT_TRUE(
      AppDriver::set_clipboard("张三，13812345678，浙江省 杭州市 西湖区 文三路100号 ，310000"));
  app.click(recognise_button);
  app.set_text(goods, "茶杯_白色×2");
  EXPECT_TRUE(AppDriver::photograph(app.window(), "main"));

  app.click(settings_button);
  EXPECT_TRUE(AppDriver::photograph(app.window(), "settings"));
  app.click(settings_button);

  HWND preview = open_from_menu(app, 0x0100, app::kPreviewTitle);
  ASSERT_TRUE(preview);
  EXPECT_TRUE(AppDriver::photograph(preview, "preview"));
  AppDriver::press(preview, 4);  // 关闭
  for (int waited = 0; IsWindow(preview) && waited < 5000; waited += 50) Sleep(50);

  HWND question = open_from_menu(app, 0x0110, "注意");
  ASSERT_TRUE(question);
  EXPECT_TRUE(AppDriver::photograph(question, "calibration"));
  PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
  for (int waited = 0; IsWindow(question) && waited < 5000; waited += 50) Sleep(50);

  HWND history = open_from_menu(app, 0x0120, "打印记录（3 / 3 条）");
  ASSERT_TRUE(history);
  EXPECT_TRUE(AppDriver::photograph(history, "history"));
  close_and_wait(history);

  EXPECT_EQ(app.close(), 0);
}

}  // namespace

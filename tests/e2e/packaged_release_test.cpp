// A packaged release (tools/release package, its folder named by
// SLIPJET_PACKAGE) as a seller meets it: the program starts and shows its
// window, and a seller's older copy accepts it as an update from a loopback
// server on the host it was packaged for (tests/release/package_test).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/app_driver.h"
#include "tests/windows/loopback_server.h"
#include "view/main_view.h"

namespace {

using namespace view::control;

const std::string kPrefix = "/corvel/zuzedavud/";

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The same program claiming an older version: its version mark with one
// number lowered. Only the update's checks read the mark; its Authenticode
// signature no longer holds, which nothing in an update relies on.
std::string older_copy(std::string program, const std::string& version) {
  std::string mark = "slipjet-version=" + version;
  size_t at = program.find(mark);
  if (at == std::string::npos) return {};
  std::string older = version;
  for (size_t i = older.size(); i-- > 0;) {
    if (older[i] > '0' && older[i] <= '9') {
      --older[i];
      program.replace(at + mark.size() - version.size(), version.size(), older);
      return program;
    }
  }
  return {};
}

// A main window, of whichever process, with this caption; null after `ms`.
HWND main_window_captioned(const std::string& wanted, int ms = 30000) {
  for (int waited = 0; waited < ms; waited += 100, Sleep(100))
    for (HWND found : AppDriver::main_windows())
      if (caption(found) == wanted) return found;
  return nullptr;
}

TEST(PackagedRelease, StartsAndIsAcceptedAsAnUpdate) {
  const char* package = std::getenv("SLIPJET_PACKAGE");
  if (!package) GTEST_SKIP() << "no package: tests/release/package_test";
  std::string folder = AppDriver::wine_path(package);
  std::string release = read_bytes(folder + "\\slipjet.exe");
  std::string manifest = read_bytes(folder + "\\slipjet.exe.manifest");
  std::string signature = read_bytes(folder + "\\slipjet.exe.manifest.sig");
  size_t at = manifest.find("version=");
  ASSERT_NE(at, std::string::npos) << "no manifest in " << folder;
  std::string version = manifest.substr(at + 8, manifest.find('\r', at) - at - 8);

  AppDriver app;
  std::string exe = app.folder() + "\\slipjet.exe";
  std::string installed = older_copy(release, version);
  ASSERT_FALSE(installed.empty()) << "no version mark " << version << " in the program";
  std::ofstream(exe, std::ios::binary) << installed;
  app.write_file("cfg.ini", "");  // not a first start

  LoopbackServer server(
      [&](const ReceivedRequest& request) -> std::optional<std::string> {
        std::string line = request.line();
        auto asks = [&](const std::string& name) {
          return line == "GET " + kPrefix + name + " HTTP/1.1";
        };
        if (asks("bannerkd.htm")) return http_answer(200, "<p>最新版本：" + version + "</p>");
        if (asks("slipjet.exe")) return http_answer(200, release);
        if (asks("slipjet.exe.manifest")) return http_answer(200, manifest);
        if (asks("slipjet.exe.manifest.sig")) return http_answer(200, signature);
        return http_answer(404, "<h1>404</h1>");
      },
      47180);
  ASSERT_EQ(server.port(), 47180);

  ASSERT_TRUE(app.launch(exe));
  HWND offer = AppDriver::wait_for_window("软件需要更新", 60000);
  ASSERT_TRUE(offer) << "the older copy was not offered the release";
  EXPECT_NE(AppDriver::box_text(offer).find("最新版本：" + version), std::string::npos);
  PostMessageA(offer, WM_COMMAND, IDOK, 0);
  HWND done = AppDriver::wait_for_window("更新完成", 60000);
  ASSERT_TRUE(done) << "the release was not accepted";
  PostMessageA(done, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.wait_for_exit(), 0);
  EXPECT_TRUE(read_bytes(exe) == release) << "the installed program is not the release";

  HWND restarted = main_window_captioned("青禾快递单打印系统 " + version);
  ASSERT_TRUE(restarted) << "the packaged program did not show its window";
  for (int waited = 0; waited < 10000; waited += 100, Sleep(100)) {
    char status[256] = {};
    GetDlgItemTextA(restarted, status_line, status, sizeof status);
    if (std::string(status) == "已经是最新版本") break;
  }
  EXPECT_TRUE(AppDriver::photograph(restarted, "packaged"));
  char status[256] = {};
  GetDlgItemTextA(restarted, status_line, status, sizeof status);
  EXPECT_STREQ(status, "已经是最新版本");
  PostMessageA(restarted, WM_CLOSE, 0, 0);
  for (int waited = 0; IsWindow(restarted) && waited < 20000; waited += 100) Sleep(100);
  AppDriver::end_programs_in(app.folder());
}

}  // namespace

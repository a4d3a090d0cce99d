// The update check and the self-update of the real slipjet.exe, against a
// loopback update server on the port the test build is configured with.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "app/startup_win32.h"
#include "app/update_progress_win32.h"
#include "tests/e2e/app_driver.h"
#include "tests/windows/loopback_server.h"
#include "view/main_view.h"

namespace {

using namespace view::control;

constexpr int kUpdatePort = 47180;
const std::string kBannerPath = "/corvel/zuzedavud/bannerkd.htm";
const std::string kReleasePath = "/corvel/zuzedavud/slipjet.exe";

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string fixture(const std::string& name) {
  return read_bytes(std::string("Z:") + SLIPJET_RELEASE_FIXTURES + "/" + name);
}

// What the update server answers; changed by the test while it runs.
struct ServerPages {
  std::mutex mutex;
  std::string banner;
  std::string release;  // whole answers
  std::string manifest, signature;
  std::string after_release_banner;  // the banner once the release was fetched

  std::optional<std::string> answer(const ReceivedRequest& request) {
    std::lock_guard lock(mutex);
    std::string line = request.line();
    if (line == "GET " + kBannerPath + " HTTP/1.1") return http_answer(200, banner);
    if (line == "GET " + kReleasePath + ".manifest HTTP/1.1") return manifest;
    if (line == "GET " + kReleasePath + ".manifest.sig HTTP/1.1") return signature;
    if (line == "GET " + kReleasePath + " HTTP/1.1") {
      if (!after_release_banner.empty()) banner = after_release_banner;
      return release;
    }
    return http_answer(404, "<h1>404</h1>");
  }
};

const std::string offer = "新版修正打印|<p>最新版本：2.2</p>";

class Update : public testing::Test {
 protected:
  void SetUp() override {
    signed_release_ = fixture("slipjet.exe");
    ASSERT_FALSE(signed_release_.empty());
    // The installed program differs from the release by a trailing byte
    // (data after a PE image does not stop it from running).
    installed_ = signed_release_ + '\0';
    exe_ = app.folder() + "\\slipjet.exe";
    std::ofstream(exe_, std::ios::binary) << installed_;
    pages.release = http_answer(200, signed_release_);
    pages.manifest = http_answer(200, fixture("slipjet.exe.manifest"));
    pages.signature = http_answer(200, fixture("slipjet.exe.manifest.sig"));
  }
  void TearDown() override {
    if (app.window()) {
      EXPECT_EQ(app.close(), 0);
    }
    // A restarted program is no child of this test: never leave it running.
    AppDriver::end_programs_in(app.folder());
  }

  void start_server() {
    server.emplace([this](const ReceivedRequest& r) { return pages.answer(r); }, kUpdatePort);
    ASSERT_EQ(server->port(), kUpdatePort);
  }
  void launch() { ASSERT_TRUE(app.launch(exe_)); }
  // The update question of a program started with the offer on the page,
  // once its window is shown; null when it did not come.
  HWND shown_offer() {
    pages.banner = offer;
    start_server();
    launch();
    if (!app.wait_for_main_window()) return nullptr;
    return AppDriver::wait_for_window("软件需要更新");
  }
  // Answers the update question with OK or Cancel.
  void answer_offer(int button) {
    HWND box = AppDriver::wait_for_window("软件需要更新");
    ASSERT_TRUE(box) << "no update question";
    EXPECT_NE(AppDriver::box_text(box).find("最新版本：2.2"), std::string::npos);
    PostMessageA(box, WM_COMMAND, button, 0);
  }
  // The failure box's text after an accepted update, then the old program
  // carries on with its main window.
  std::string failure_after_accepting() {
    launch();
    answer_offer(IDOK);
    HWND box = AppDriver::wait_for_window("更新失败", 30000);
    if (!box) return "<no failure message>";
    std::string text = AppDriver::box_text(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(app.wait_for_main_window());
    return text;
  }
  void expect_untouched() {
    EXPECT_EQ(read_bytes(exe_), installed_);
    EXPECT_FALSE(std::filesystem::exists(exe_ + ".delete"));
    EXPECT_FALSE(std::filesystem::exists(exe_ + ".download"));
  }

  AppDriver app;
  ServerPages pages;
  std::optional<LoopbackServer> server;
  std::string signed_release_, installed_, exe_;
};

TEST_F(Update, CurrentVersionSaysSoAndRemovesTheLeftover) {
  pages.banner = "<p>最新版本：2.1</p>";
  start_server();
  std::ofstream(exe_ + ".delete") << "old";
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_EQ(app.text(status_line), "已经是最新版本");
  EXPECT_FALSE(std::filesystem::exists(exe_ + ".delete"));
}

TEST_F(Update, NoServerShowsTheNetworkMessageAtOnce) {
  app.write_file("cfg.ini", "");  // not a first start, which has a note of its own
  ULONGLONG started = GetTickCount64();
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  ULONGLONG shown = GetTickCount64() - started;
  EXPECT_EQ(app.text(status_line), "网络访问失败，无法检测新版本");
  RecordProperty("main_window_ms", int(shown));
  std::printf("main window shown %llu ms after the start\n", (unsigned long long)shown);
  EXPECT_LT(shown, 10000u);
}

TEST_F(Update, PageWithoutVersionSaysNothing) {
  pages.banner = "<h1>维护中</h1>";
  start_server();
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_NE(app.text(status_line), "网络访问失败，无法检测新版本");
  EXPECT_NE(app.text(status_line), "已经是最新版本");
  expect_untouched();
}

TEST_F(Update, TemplateBlockOverwritesItsRows) {
  pages.banner = "位置1=甲快递,1,2,,,\r\n2=乙快递,3,4,,,\r\n|<p>最新版本：2.1</p>";
  start_server();
  app.write_file("cfg.ini", "[dayin]\r\n1=申通,5,,,\r\n2=圆通,6,,,\r\n3=中通,7,,,\r\n");
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_EQ(app.items(template_list), (std::vector<std::string>{"甲快递", "乙快递", "中通"}));
}

// The seller's own templates live apart from the rows an update rewrites.
TEST_F(Update, TheSellersOwnTemplatesSurviveATemplateBlock) {
  pages.banner = "位置1=甲快递,1,2,,,\r\n2=乙快递,3,4,,,\r\n|<p>最新版本：2.1</p>";
  start_server();
  std::string own = "我的申通,260,250,690,600,360,600,260,400,1300,250,1600,600,1260,600,1180,"
                    "400,200,0,200,50,";
  app.write_file("cfg.ini", "[dayin]\r\n1=申通,5,,,\r\n2=圆通,6,,,\r\n[wodemoban]\r\n1=" + own +
                                "\r\n");
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_EQ(app.items(template_list), (std::vector<std::string>{"甲快递", "乙快递", "我的申通"}));
  EXPECT_NE(app.read_file("cfg.ini").find("[wodemoban]\r\n1=" + own + "\r\n"), std::string::npos);
}

// The page comes over plain HTTP: a block that would write anything but
// sound template rows leaves the settings byte for byte as they were.
TEST_F(Update, InjectedSectionLeavesTheSettingsUntouched) {
  pages.banner = "位置1=X,1,2,,,\n[ji]\njiname=EVIL\r\n|<p>最新版本：2.1</p>";
  start_server();
  std::string settings = "[dayin]\r\n1=申通,5,,,\r\n2=圆通,6,,,\r\n";
  app.write_file("cfg.ini", settings);
  launch();
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_EQ(app.text(status_line), "已经是最新版本");
  EXPECT_EQ(app.items(template_list), (std::vector<std::string>{"申通", "圆通"}));
  EXPECT_EQ(app.read_file("cfg.ini"), settings);
}

// Milliseconds from the program's start to its main window.
ULONGLONG time_to_window(AppDriver& driver, const std::string& exe) {
  ULONGLONG started = GetTickCount64();
  if (!driver.launch(exe) || !driver.wait_for_main_window(30000)) return 1000000;
  return GetTickCount64() - started;
}

TEST_F(Update, AHugeTemplateBlockIsIgnoredWithoutSlowingTheStart) {
  ULONGLONG without_server = time_to_window(app, exe_);
  ASSERT_EQ(app.close(), 0);
  std::string block = "位置";
  for (int n = 1; n <= 75000; ++n) block += std::to_string(n) + "=R,1\r\n";
  pages.banner = block + "|<p>最新版本：2.1</p>";
  ASSERT_LT(pages.banner.size(), size_t(1) << 20);  // within the page limit
  start_server();
  ULONGLONG with_block = time_to_window(app, exe_);
  std::printf("main window after %llu ms without a server, %llu ms with 75,000 rows\n",
              without_server, with_block);
  EXPECT_LT(with_block, without_server + 2000);
  EXPECT_EQ(app.text(status_line), "已经是最新版本");
  EXPECT_EQ(app.items(template_list).size(), 9u);  // the built-in rows
}

TEST_F(Update, ATricklingServerCannotHoldTheWindowBack) {
  pages.banner = std::string(4000, ' ') + "<p>最新版本：2.1</p>";
  start_server();
  server->trickle(1000);  // a byte a second: inside every time-out
  app.write_file("cfg.ini", "");  // not a first start, which has a note of its own
  ULONGLONG shown = time_to_window(app, exe_);
  std::printf("main window after %llu ms with a trickling server\n", shown);
  EXPECT_LT(shown, 6000u);
  EXPECT_EQ(app.text(status_line), "网络访问失败，无法检测新版本");
}

// After "确定", a server that trickles the release keeps nothing back: the
// window works on while it downloads, and the download ends at its
// deadline with the update failed.
TEST_F(Update, ATricklingServerAfterTheOfferEndsAtItsDeadline) {
  HWND box = shown_offer();
  ASSERT_TRUE(box);
  EXPECT_EQ(GetWindow(box, GW_OWNER), app.window());
  EXPECT_NE(AppDriver::box_text(box).find("服务器提示：修正打印"), std::string::npos);
  server->trickle(1000);
  ULONGLONG accepted = GetTickCount64();
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND progress = AppDriver::wait_for_window(app::kUpdateProgressTitle);
  ASSERT_TRUE(progress);
  EXPECT_TRUE(app.wait_for_text(status_line, "正在下载新版本…", 2000));  // the window answers
  HWND failed = AppDriver::wait_for_window("更新失败", 30000);
  ASSERT_TRUE(failed);
  ULONGLONG waited = GetTickCount64() - accepted;
  std::printf("a trickling release failed after %llu ms\n", waited);
  EXPECT_LT(waited, 25000u);
  EXPECT_EQ(AppDriver::box_text(failed).rfind("更新失败：新版本没有完整下载。", 0), 0u);
  PostMessageA(failed, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(app.wait_for_text(status_line, "更新失败，当前版本保持不变"));
  EXPECT_FALSE(IsWindow(progress));
  expect_untouched();
}

// "取消" in the progress window ends the download at once.
TEST_F(Update, TheDownloadCanBeCancelled) {
  HWND box = shown_offer();
  ASSERT_TRUE(box);
  server->trickle(1000);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND progress = AppDriver::wait_for_window(app::kUpdateProgressTitle);
  ASSERT_TRUE(progress);
  EXPECT_FALSE(IsWindowEnabled(app.window()));
  AppDriver::press(progress, 1);  // 取消
  EXPECT_TRUE(app.wait_for_text(status_line, "已取消更新，当前版本保持不变", 5000))
      << app.text(status_line);
  EXPECT_TRUE(IsWindowEnabled(app.window()));
  EXPECT_FALSE(AppDriver::wait_for_window("更新失败", 1000));
  expect_untouched();
}

// Closing the main window during the download cancels it: the program
// ends at once, its file untouched, and nothing is started after it.
TEST_F(Update, ClosingTheWindowDuringTheDownloadCancelsIt) {
  HWND box = shown_offer();
  ASSERT_TRUE(box);
  server->trickle(1000);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(AppDriver::wait_for_window(app::kUpdateProgressTitle));
  ULONGLONG closed = GetTickCount64();
  PostMessageA(app.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.wait_for_exit(5000), 0);  // not at the download's deadline
  std::printf("closed during the download: ended after %llu ms, %zu requests\n",
              GetTickCount64() - closed, server->requests().size());
  Sleep(3000);
  EXPECT_TRUE(AppDriver::main_windows().empty());
  expect_untouched();
}

TEST_F(Update, CancelledOfferTouchesNothing) {
  pages.banner = offer;
  start_server();
  launch();
  answer_offer(IDCANCEL);
  ASSERT_TRUE(app.wait_for_main_window());
  EXPECT_EQ(server->requests().size(), 1u);  // the banner only
  expect_untouched();
}

TEST_F(Update, ReplacementThatCannotBeWrittenIsUndone) {
  pages.banner = offer;
  start_server();
  // A folder where the new program would be written first.
  std::filesystem::create_directory(exe_ + ".download");
  EXPECT_EQ(failure_after_accepting().rfind("更新失败：无法替换程序文件。", 0), 0u);
  EXPECT_EQ(read_bytes(exe_), installed_);
  EXPECT_FALSE(std::filesystem::exists(exe_ + ".delete"));
}

// The new program replaces the old one, starts, and removes the leftover
// once the server reports its version; an earlier leftover is no obstacle.
TEST_F(Update, AcceptedSignedReleaseReplacesAndRestartsTheProgram) {
  pages.banner = offer;
  pages.after_release_banner = "<p>最新版本：2.1</p>";
  start_server();
  std::ofstream(exe_ + ".delete") << "an earlier update's leftover";
  launch();
  answer_offer(IDOK);
  HWND done = AppDriver::wait_for_window("更新完成", 30000);
  ASSERT_TRUE(done) << "no success message";
  EXPECT_EQ(AppDriver::box_text(done), "软件更新成功，即将运行新版本！");
  PostMessageA(done, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.wait_for_exit(), 0);  // the old program quits
  EXPECT_EQ(read_bytes(exe_), signed_release_);

  HWND restarted = nullptr;
  for (int waited = 0; waited < 30000 && !restarted; waited += 100, Sleep(100)) {
    for (HWND found : AppDriver::main_windows()) {
      char status[256] = {};
      GetDlgItemTextA(found, status_line, status, sizeof status);
      if (std::string(status) == "已经是最新版本") restarted = found;
    }
  }
  ASSERT_TRUE(restarted) << "the new program did not start";
  EXPECT_FALSE(std::filesystem::exists(exe_ + ".download"));
  DWORD pid = 0;
  GetWindowThreadProcessId(restarted, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(restarted, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
  CloseHandle(process);

  // The old program may still have been ending when the new one looked;
  // the next start removes the leftover.
  AppDriver next;
  ASSERT_TRUE(next.launch(exe_, app.folder()));
  ASSERT_TRUE(next.wait_for_main_window());
  EXPECT_EQ(next.text(status_line), "已经是最新版本");
  EXPECT_FALSE(std::filesystem::exists(exe_ + ".delete"));
  EXPECT_EQ(next.close(), 0);
}

struct BadDownload {
  const char* name;
  std::string (*release)(const std::string& signed_release);
  std::string (*signature)();
  const char* message;
  std::string (*manifest)() = [] { return http_answer(200, fixture("slipjet.exe.manifest")); };
};

std::string good_signature() { return http_answer(200, fixture("slipjet.exe.manifest.sig")); }
std::string whole(const std::string& release) { return http_answer(200, release); }

const char* const incomplete = "更新失败：新版本没有完整下载。";
const char* const not_program = "更新失败：下载的文件不是本机可以运行的程序。";
const char* const not_signed = "更新失败：新版本的签名无法验证，已拒绝安装。";

const BadDownload bad_downloads[] = {
    {"NoSignature", whole, [] { return http_answer(404, "<h1>404</h1>"); }, not_signed},
    {"AnotherKeysSignature", whole,
     [] { return http_answer(200, fixture("slipjet.exe.manifest.other-key.sig")); }, not_signed},
    // A release really signed, but older than the running program, offered
    // as the update the page announces.
    {"OlderSignedRelease", whole,
     [] { return http_answer(200, fixture("older/slipjet.exe.manifest.sig")); },
     "更新失败：服务器提供的版本 2.0 不比当前版本 2.1 新，已拒绝安装。",
     [] { return http_answer(200, fixture("older/slipjet.exe.manifest")); }},
    {"OneFlippedByte",
     [](const std::string& r) {
       std::string flipped = r;
       flipped[flipped.size() / 2] ^= 1;
       return http_answer(200, flipped);
     },
     good_signature, not_signed},
    {"EmptyBody", [](const std::string&) { return http_answer(200, ""); }, good_signature,
     incomplete},
    {"TruncatedBody",
     [](const std::string& r) {
       std::string answer = http_answer(200, r);  // announces the whole length
       answer.resize(answer.size() - 1000);
       return answer;
     },
     good_signature, incomplete},
    {"ErrorPageWith200", [](const std::string&) { return http_answer(200, "<html>出错了</html>"); },
     good_signature, not_program},
    {"ErrorPageWith404", [](const std::string&) { return http_answer(404, "<html>没有</html>"); },
     good_signature, incomplete},
};

class BadRelease : public Update, public testing::WithParamInterface<BadDownload> {};

TEST_P(BadRelease, IsRefusedAndTheProgramStaysAsItWas) {
  pages.banner = offer;
  pages.release = GetParam().release(signed_release_);
  pages.signature = GetParam().signature();
  pages.manifest = GetParam().manifest();
  start_server();
  EXPECT_EQ(failure_after_accepting().rfind(GetParam().message, 0), 0u);
  expect_untouched();
}

INSTANTIATE_TEST_SUITE_P(Update, BadRelease, testing::ValuesIn(bad_downloads),
                         [](const testing::TestParamInfo<BadDownload>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace

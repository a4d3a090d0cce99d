// The update check's states and messages. No update server answers here:
// an accepted update fails its download and must leave everything alone.
#include "app/update_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/message_box.h"
#include "runtime/system.h"
#include "view/memory_view.h"

namespace {

using namespace app;

TEST(BannerPage, StatesFromTheVersionStretch) {
  struct Case {
    const char* page;
    UpdateState state;
    const char* latest;
  };
  const Case table[] = {
      {"", UpdateState::no_page, ""},
      {"<p>最新版本：2.1</p>", UpdateState::current, "2.1"},
      {"<p>最新版本：2.0</p>", UpdateState::offered, "2.0"},  // text, not order
      {"<p>最新版本：2.1 </p>", UpdateState::offered, "2.1 "},
      {"<p>最新版本：2.1", UpdateState::silent, ""},  // no "<" after it
      {"<h1>404 Not Found</h1>", UpdateState::silent, ""},
  };
  for (const Case& c : table) {
    BannerVersion banner = read_banner(c.page);
    EXPECT_EQ(banner.state, c.state) << c.page;
    EXPECT_EQ(banner.latest, c.latest) << c.page;
  }
}

TEST(BannerPage, NoteStartsInsideTheVersionMarkerWhenThatComesFirst) {
  EXPECT_EQ(read_banner("新版说明：修正打印|<p>最新版本：2.2</p>").note, "说明：修正打印");
  EXPECT_EQ(read_banner("<p>最新版本：2.2</p>新版说明|").note, "本：2.2</p>新版说明");
  EXPECT_EQ(read_banner("<p>最新版本：2.2</p>").note, "");
}

// The page's note is the server's words, said so.
TEST(BannerPage, PromptText) {
  EXPECT_EQ(update_prompt("2.2", "修正打印"),
            std::string("当前版本：") + kVersion +
                "\r\n最新版本：2.2\r\n点击确定后立即开始更新！\r\n\r\n服务器提示：修正打印");
  EXPECT_EQ(update_prompt("2.2", ""),
            std::string("当前版本：") + kVersion + "\r\n最新版本：2.2\r\n点击确定后立即开始更新！");
}

struct Box {
  std::string text, caption;
  unsigned type;
};
std::vector<Box> boxes;
int answer = RT_IDCANCEL;
int record_box(const char* text, const char* caption, unsigned type, uintptr_t) {
  boxes.push_back({text, caption, type});
  return answer;
}
bool quit_posted = false;
void record_quit() { quit_posted = true; }

struct Start {
  std::string command;
  bool wait;
  int show;
};
std::vector<Start> starts;
bool starts_succeed = true;
bool record_start(const char* command, bool wait, int show) {
  starts.push_back({command, wait, show});
  return starts_succeed;
}

class UpdateCheck : public testing::Test {
 protected:
  void SetUp() override {
    boxes.clear();
    quit_posted = false;
    rt_set_message_box_hook(record_box);
    previous_ = std::filesystem::current_path();
    folder_ =
        std::filesystem::temp_directory_path() /
        ("slipjet-update-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
    view_.set_status("before");
  }
  void TearDown() override {
    rt_set_message_box_hook(nullptr);
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  // No update server answers this address: tests must never download (and
  // install) a release over their own executable.
  void check(const std::string& page, bool (*cancelled)() = nullptr) {
    UpdateContext context{view_,       main_window_, page, "http://update.slipjet.invalid/slipjet.exe",
                          record_quit, nullptr,      cancelled};
    if (check_for_update(context)) offer_update(context);
  }
  static std::string leftover() { return std::string(rt::exe_name().view()) + ".delete"; }
  static void make(const std::string& name) { std::ofstream(name) << "old"; }

  view::MemoryView view_;
  view::BoxAsker main_window_;  // its boxes go to record_box
  std::filesystem::path previous_, folder_;
};

TEST_F(UpdateCheck, NoPageSaysTheNetworkFailedAndKeepsTheLeftover) {
  make(leftover());
  check("");
  EXPECT_EQ(view_.status, "网络访问失败，无法检测新版本");
  EXPECT_TRUE(rt::file_exists(leftover()));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheck, CurrentVersionRemovesTheLeftoverInTheWorkingDirectory) {
  make(leftover());
  check("<b>最新版本：2.1</b>");
  EXPECT_EQ(view_.status, "已经是最新版本");
  EXPECT_FALSE(rt::file_exists(leftover()));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheck, PageWithoutVersionSaysNothing) {
  make(leftover());
  check("<h1>Service Unavailable</h1>");
  EXPECT_EQ(view_.status, "before");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(rt::file_exists(leftover()));
}

TEST_F(UpdateCheck, CancelledOfferTouchesNothing) {
  answer = RT_IDCANCEL;
  check("新版修正|<b>最新版本：2.2</b>");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "软件需要更新");
  EXPECT_EQ(boxes[0].text, update_prompt("2.2", "修正"));
  EXPECT_EQ(boxes[0].type, RT_MB_OKCANCEL);
  EXPECT_EQ(view_.status, "before");
  EXPECT_FALSE(quit_posted);
}

TEST_F(UpdateCheck, AcceptedOfferWithoutADownloadSaysSoAndCarriesOn) {
  answer = RT_IDOK;
  std::string exe = std::string(rt::exe_dir().view()) + "/" + std::string(rt::exe_name().view());
  auto size_before = std::filesystem::file_size(exe);
  check("<b>最新版本：2.2</b>");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "更新失败");
  EXPECT_EQ(boxes[1].text, "更新失败：新版本没有完整下载。\r\n当前版本保持不变，请稍后再试。");
  EXPECT_EQ(view_.status, "更新失败，当前版本保持不变");
  EXPECT_FALSE(quit_posted);
  EXPECT_EQ(std::filesystem::file_size(exe), size_before);
  EXPECT_FALSE(rt::file_exists(exe + ".delete"));

  // Cancelled while downloading: said in the status line, no failure box.
  boxes.clear();
  check("<b>最新版本：2.2</b>", [] { return true; });
  EXPECT_EQ(boxes.size(), 1u);  // the question only
  EXPECT_EQ(view_.status, "已取消更新，当前版本保持不变");
}

// The new version is started shown normally (SW_SHOWNORMAL), its path
// quoted, and this run quits; a start that fails is told and this run
// carries on.
TEST_F(UpdateCheck, NewVersionStartsShownNormallyOrSaysItCannotStart) {
  rt_set_run_hook(record_start);
  starts.clear();
  starts_succeed = true;
  start_new_version({view_, main_window_, "", "", record_quit}, "C:\\Program Files\\slipjet.exe");
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].command, "\"C:\\Program Files\\slipjet.exe\"");
  EXPECT_FALSE(starts[0].wait);
  EXPECT_EQ(starts[0].show, 1);
  EXPECT_TRUE(quit_posted);
  EXPECT_TRUE(boxes.empty());

  quit_posted = false;
  starts_succeed = false;
  start_new_version({view_, main_window_, "", "", record_quit}, "D:\\slipjet.exe");
  EXPECT_FALSE(quit_posted);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "新版本已安装，但无法启动：程序 D:\\slipjet.exe 无法运行，请手动运行");
  rt_set_run_hook(nullptr);
}

}  // namespace

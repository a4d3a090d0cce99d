// The update check at start: the banner page's version against the
// program's own, the messages about it, and the self-update it may lead to.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "view/asker.h"
#include "view/main_view.h"

namespace app {

// The program's version (the build's project version), behind a mark by
// which tools/release reads it from the executable.
inline constexpr char kVersionMark[] = "slipjet-version=" SLIPJET_VERSION;
inline constexpr const char* kVersion = kVersionMark + sizeof "slipjet-version=" - 1;

// Addresses on the update server (its host is a build setting).
std::string banner_page_url();
std::string release_url();

enum class UpdateState { no_page, current, silent, offered };

struct BannerVersion {
  UpdateState state = UpdateState::no_page;
  std::string latest;  // the latest-version stretch
  std::string note;    // the update-note stretch
};

BannerVersion read_banner(std::string_view page);
// The text of the update question.
std::string update_prompt(std::string_view latest, std::string_view note);

struct UpdateContext {
  view::MainView& view;
  view::Asker& asker;  // the main window's: the question and the boxes after it
  std::string_view banner_page;
  std::string release_url;     // where a new executable comes from
  std::function<void()> quit;  // posts the quit request
  // Shows (true) or hides (false) that the release is downloading, with a
  // way to cancel; and whether the seller cancelled.
  std::function<void(bool shown)> downloading;
  std::function<bool()> cancelled;
};

// Runs once at start, after the banner page was fetched: the status line
// and a finished update's leftovers. True when the page offers a newer
// version, for offer_update once the window is shown.
bool check_for_update(const UpdateContext& context);
// Asks about the offered version and, on "确定", downloads it (each part
// within its deadline, the window working on), checks and installs it.
void offer_update(const UpdateContext& context);

// Starts the installed new version shown normally and asks this run to
// quit; if it cannot be started, says so and this run carries on.
void start_new_version(const UpdateContext& context, const std::string& path);

}  // namespace app

// The update check at start: the banner page's version against the
// program's own, the messages about it, and the self-update it may lead to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "view/main_view.h"

namespace app {

inline constexpr const char* kVersion = "2.1";

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
  std::string_view banner_page;
  std::string release_url;    // where a new executable comes from
  uintptr_t main_window = 0;  // owner of the boxes after the question
  void (*quit)() = nullptr;   // posts the quit request
};

// Runs once at start, after the banner page was fetched.
void check_for_update(const UpdateContext& context);

// Starts the installed new version shown normally and asks this run to
// quit; if it cannot be started, says so and this run carries on.
void start_new_version(const UpdateContext& context, const std::string& path);

}  // namespace app

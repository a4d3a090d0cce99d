// The program's start and end, in this process: closing the main window
// runs the exit routine and ends the process with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/startup_win32.h"

namespace {

void report_exit_routine() { std::fprintf(stderr, "exit routine ran\n"); }

// This process's visible main window (another program may be running).
HWND own_main_window() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        char caption[64] = {};
        DWORD owner = 0;
        GetWindowTextA(window, caption, sizeof caption);
        GetWindowThreadProcessId(window, &owner);
        if (owner != GetCurrentProcessId() || std::string(caption) != app::kCaption ||
            !IsWindowVisible(window))
          return TRUE;
        reinterpret_cast<Search*>(data)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Closes the main window once it is up, as its close box does.
void close_main_window_when_shown() {
  for (int waited = 0; waited < 20000; waited += 50) {
    if (HWND window = own_main_window()) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    }
    Sleep(50);
  }
}

TEST(StartupDeathTest, ClosingTheWindowRunsTheExitRoutineAndExitsWithZero) {
  auto folder = std::filesystem::temp_directory_path() / "slipjet-startup-test";
  std::filesystem::create_directories(folder);
  EXPECT_EXIT(
      {
        std::filesystem::current_path(folder);
        app::set_exit_observer(report_exit_routine);
        std::thread(close_main_window_when_shown).detach();
        app::start();
      },
      testing::ExitedWithCode(0), "exit routine ran");
  std::filesystem::remove_all(folder);
}

}  // namespace

// The program's start and the shell's message boxes.
#pragma once

#include <windows.h>

namespace app {

inline constexpr char kCaption[] = "青禾快递单打印系统 " SLIPJET_VERSION;

// Runs the program: start-up, the main window until it closes, and the
// orderly exit with code 0. Does not return.
[[noreturn]] void start();

// A message box of the shell: `buttons` is the platform's box type (0: OK
// only), `caption` defaults to "信息". The platform's button code minus 1,
// so 0 means OK.
int show_message(const char* text, unsigned buttons = 0, const char* caption = nullptr,
                 HWND owner = nullptr);

// The four-line tutorial, captioned "使用教程".
void show_tutorial(HWND owner);

// Tests learn through this that the exit routine has run.
using ExitObserver = void (*)();
void set_exit_observer(ExitObserver observer);

}  // namespace app

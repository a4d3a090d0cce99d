// The program's start and its tutorial.
#pragma once

#include "view/asker.h"

namespace app {

inline constexpr char kCaption[] = "青禾快递单打印系统 " SLIPJET_VERSION;

// Runs the program: start-up, the main window until it closes, and the
// orderly exit with code 0. Does not return.
[[noreturn]] void start();

// The four-line tutorial, captioned "使用教程", offering the guide: true
// when the seller wants it opened.
bool show_tutorial(view::Asker& asker);

// Tests learn through this that the exit routine has run.
using ExitObserver = void (*)();
void set_exit_observer(ExitObserver observer);

}  // namespace app

// Starting programs, the clipboard, keeping the window alive, the clock.
#pragma once

#include <optional>
#include <string_view>

#include "runtime/text.h"
#include "runtime/value.h"

namespace rt {

// Window mode: 1 hidden, 2 normal, 3 minimized, 4 maximized, 5 shown
// without activation, 6 minimized without activation; others normal.
bool run(std::string_view command_line, bool wait, std::optional<int> window_mode = std::nullopt);
Text clipboard_text();
void do_events();
// Waits `ms` milliseconds while processing window messages.
void wait(int ms);
// The local date and time (whole seconds) as an OLE Automation date.
double now();
int year(double date);
int month(double date);
int day(double date);

}  // namespace rt

// Tests see the process start that rt::run asks the platform for through
// this hook: the command line, whether it waits, the Win32 show command
// (null: none, the platform starts the program).
using RtRunHook = bool (*)(const char* command_line, bool wait, int show_command);
void rt_set_run_hook(RtRunHook hook);

int32_t rt_run(int count, const RtArg* args);
char* rt_clipboard_text(int count, const RtArg* args);
void rt_do_events(int count, const RtArg* args);
void rt_wait(int count, const RtArg* args);
double rt_now(int count, const RtArg* args);
int32_t rt_year(int count, const RtArg* args);
int32_t rt_month(int count, const RtArg* args);
int32_t rt_day(int count, const RtArg* args);

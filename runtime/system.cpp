#include "runtime/system.h"

#include <cmath>
#include <string>

#include "runtime/command_args.h"
#include "runtime/convert.h"
#include "runtime/platform.h"

namespace {
RtRunHook run_hook = nullptr;
}

void rt_set_run_hook(RtRunHook hook) { run_hook = hook; }

namespace rt {

namespace {

// Win32 show commands.
int show_command(std::optional<int> window_mode) {
  switch (window_mode.value_or(2)) {
    case 1: return 0;   // SW_HIDE
    case 3: return 6;   // SW_MINIMIZE
    case 4: return 3;   // SW_MAXIMIZE
    case 5: return 4;   // SW_SHOWNOACTIVATE
    case 6: return 7;   // SW_SHOWMINNOACTIVE
    default: return 1;  // SW_SHOWNORMAL
  }
}

}  // namespace

bool run(std::string_view command_line, bool wait_for_end, std::optional<int> window_mode) {
  std::string command(command_line);
  if (run_hook) return run_hook(command.c_str(), wait_for_end, show_command(window_mode));
  return platform_run(command.c_str(), wait_for_end, show_command(window_mode));
}

Text clipboard_text() { return Text(platform_clipboard_text()); }

void do_events() { platform_do_events(); }

void wait(int ms) {
  if (ms <= 0) return;
  uint32_t start = platform_tick_count();
  do_events();
  // Sleeps until a message arrives or the time is up instead of spinning.
  for (;;) {
    uint32_t elapsed = platform_tick_count() - start;
    if (elapsed >= uint32_t(ms)) break;
    platform_wait_for_messages(uint32_t(ms) - elapsed);
    do_events();
  }
  do_events();
}

double now() {
  PlatformLocalTime t = platform_local_time();
  return date_from_parts({t.year, t.month, t.day, t.hour, t.minute, t.second});
}

int year(double date) { return date_parts(std::trunc(date)).year; }
int month(double date) { return date_parts(std::trunc(date)).month; }
int day(double date) { return date_parts(std::trunc(date)).day; }

}  // namespace rt

namespace {

double date_arg(const CommandArgs& a, int i) {
  return a.given(i) && a.raw(i).type == RT_DATETIME ? rt_arg_double(a.raw(i)) : a.number(i);
}

}  // namespace

int32_t rt_run(int count, const RtArg* args) {
  CommandArgs a(count, args);
  return rt::run(a.text(0), a.flag(1), a.optional_integer(2));
}

char* rt_clipboard_text(int, const RtArg*) { return rt::clipboard_text().release(); }
void rt_do_events(int, const RtArg*) { rt::do_events(); }
void rt_wait(int count, const RtArg* args) { rt::wait(CommandArgs(count, args).integer(0)); }
double rt_now(int, const RtArg*) { return rt::now(); }
int32_t rt_year(int count, const RtArg* args) {
  return rt::year(date_arg(CommandArgs(count, args), 0));
}
int32_t rt_month(int count, const RtArg* args) {
  return rt::month(date_arg(CommandArgs(count, args), 0));
}
int32_t rt_day(int count, const RtArg* args) {
  return rt::day(date_arg(CommandArgs(count, args), 0));
}

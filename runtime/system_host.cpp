// Host stand-ins: programs started directly (no shell), an in-memory clipboard,
// no window messages.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runtime/platform.h"

extern char** environ;

namespace {

std::string clipboard;

// Splits a command line at blanks outside double quotes, as Windows does
// for the program name and plain arguments.
std::vector<std::string> split_command_line(const char* line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, in_word = false;
  for (const char* p = line; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((*p == ' ' || *p == '\t') && !quoted) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += *p;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

}  // namespace

bool platform_run(const char* command_line, bool wait, int) {
  std::vector<std::string> words = split_command_line(command_line);
  if (words.empty()) return false;
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  if (wait) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  return true;
}

std::string platform_clipboard_text() { return clipboard; }

bool platform_set_clipboard_text(std::string_view gbk) {
  clipboard = gbk.substr(0, gbk.find('\0'));
  return true;
}

void platform_do_events() {}

void platform_wait_for_messages(uint32_t ms) {
  timespec pause{time_t(ms / 1000), long(ms % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
}

uint32_t platform_tick_count() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return uint32_t(uint64_t(t.tv_sec) * 1000 + uint64_t(t.tv_nsec) / 1000000);
}

PlatformLocalTime platform_local_time() {
  time_t now = time(nullptr);
  tm local;
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

// Host stand-ins for the platform services the neutral runtime needs.
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

int platform_message_box(const char* text, const char* caption, unsigned, uintptr_t) {
  std::string line = "[" + platform_to_terminal(caption) + "] " + platform_to_terminal(text) + "\n";
  std::fputs(line.c_str(), stderr);
  return 1;  // OK
}

// The host has no windows, so nothing is ever closing.
void platform_mark_closing(uintptr_t) {}
bool platform_is_closing(uintptr_t) { return false; }
void platform_end_questions_of(uintptr_t) {}

void platform_end_process(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

bool platform_read_memory(const void* src, void* dst, size_t n) {
  if (n == 0) return true;
  iovec local{dst, n};
  iovec remote{const_cast<void*>(src), n};
  return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == ssize_t(n);
}

std::string platform_to_terminal(std::string_view gbk) { return rt::to_utf8(gbk); }
bool platform_stdin_is_terminal() { return ::isatty(0) == 1; }
std::string platform_from_terminal(std::string_view text) { return rt::from_utf8(text); }


// Win32 implementations of the platform services the runtime needs.
#include <windows.h>

#include <cstdio>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

int platform_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner) {
  return MessageBoxW(reinterpret_cast<HWND>(owner), rt::widen(text).c_str(), rt::widen(caption).c_str(),
                     type);
}

void platform_end_process(int code) {
  std::fflush(nullptr);
  ExitProcess(UINT(code));
}

bool platform_read_memory(const void* src, void* dst, size_t n) {
  if (n == 0) return true;
  SIZE_T read = 0;
  return ReadProcessMemory(GetCurrentProcess(), src, dst, n, &read) && read == n;
}

// The console shows the ANSI code page, which is GBK on a Chinese system.
std::string platform_to_terminal(std::string_view gbk) { return std::string(gbk); }
std::string platform_from_terminal(std::string_view text) { return std::string(text); }

bool platform_stdin_is_terminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != FALSE;
}


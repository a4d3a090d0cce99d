// Win32 implementations of the platform services the runtime needs.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "runtime/platform.h"

int platform_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, type);
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

std::string platform_map_width(std::string_view gbk, bool full) {
  if (gbk.empty()) return {};
  // Room for every byte to double, as the mapping may widen each one.
  std::vector<char> out(gbk.size() * 2 + 2);
  const LCID chinese_prc = 2052;
  int n = LCMapStringA(chinese_prc, full ? LCMAP_FULLWIDTH : LCMAP_HALFWIDTH, gbk.data(),
                       int(gbk.size()), out.data(), int(out.size()));
  return std::string(out.data(), n > 0 ? size_t(n) : 0);
}

// The console shows the ANSI code page, which is GBK on a Chinese system.
std::string platform_to_terminal(std::string_view gbk) { return std::string(gbk); }
std::string platform_from_terminal(std::string_view text) { return std::string(text); }

// Win32 implementations of the platform services the runtime needs.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

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

namespace {

std::wstring from_utf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
  return wide;
}

std::string to_utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string utf8(size_t(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
  return utf8;
}

}  // namespace

std::string platform_utf8_to_gbk(std::string_view utf8) { return rt::narrow(from_utf8(utf8)); }
std::string platform_gbk_to_utf8(std::string_view gbk) { return to_utf8(rt::widen(gbk)); }

bool platform_stdin_is_terminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != FALSE;
}

char16_t platform_gbk_to_unicode(const char* bytes, int n) {
  wchar_t out[2] = {};
  if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, n, out, 2) != 1) return 0;
  return char16_t(out[0]);
}

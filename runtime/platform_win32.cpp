// Win32 implementations of the platform services the runtime needs.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace {
constexpr wchar_t kClosingProperty[] = L"slipjet.closing";
}

void platform_mark_closing(uintptr_t window) {
  SetPropW(reinterpret_cast<HWND>(window), kClosingProperty, reinterpret_cast<HANDLE>(1));
}

bool platform_is_closing(uintptr_t window) {
  HWND handle = reinterpret_cast<HWND>(window);
  return handle && IsWindow(handle) && GetPropW(handle, kClosingProperty);
}

void platform_end_questions_of(uintptr_t window) {
  struct Owned {
    HWND owner;
    std::vector<HWND> windows;
  } owned{reinterpret_cast<HWND>(window), {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND found, LPARAM list) {
        auto* o = reinterpret_cast<Owned*>(list);
        if (GetWindow(found, GW_OWNER) == o->owner) o->windows.push_back(found);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&owned));
  // Their modal loops see them gone and return unanswered.
  for (HWND question : owned.windows) DestroyWindow(question);
}

int platform_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner) {
  if (platform_is_closing(owner)) return 0;
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


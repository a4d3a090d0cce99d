#include <windows.h>

#include <cstring>

#include "runtime/platform.h"

bool platform_run(const char* command_line, bool wait, int show) {
  STARTUPINFOA startup{};
  GetStartupInfoA(&startup);
  startup.dwFlags |= STARTF_USESHOWWINDOW;
  startup.wShowWindow = WORD(show);
  startup.hStdOutput = nullptr;
  startup.hStdError = nullptr;
  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line.
  std::string line = command_line;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  if (wait) WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

std::string platform_clipboard_text() {
  if (!OpenClipboard(nullptr)) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(data))) {
      text.assign(p, strnlen(p, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool platform_set_clipboard_text(std::string_view gbk) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, gbk.size() + 1);
  if (!memory) return false;
  auto* p = static_cast<char*>(GlobalLock(memory));
  std::memcpy(p, gbk.data(), gbk.size());
  p[gbk.size()] = '\0';
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
  if (!set) GlobalFree(memory);
  CloseClipboard();
  return set;
}

void platform_do_events() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void platform_wait_for_messages(uint32_t ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
}

uint32_t platform_tick_count() { return GetTickCount(); }

PlatformLocalTime platform_local_time() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

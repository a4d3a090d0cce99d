#include <windows.h>

#include <algorithm>
#include <cstring>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

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

namespace {

// The clipboard's text in one format, up to its terminating zero.
template <class Char>
std::basic_string<Char> clipboard_data(UINT format) {
  std::basic_string<Char> text;
  if (HANDLE data = GetClipboardData(format)) {
    if (auto* p = static_cast<const Char*>(GlobalLock(data))) {
      size_t most = GlobalSize(data) / sizeof(Char);
      text.assign(p, std::find(p, p + most, Char(0)));
      GlobalUnlock(data);
    }
  }
  return text;
}

bool put_on_clipboard(UINT format, const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  std::memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

}  // namespace

// The Unicode text first: the ANSI one has lost every character outside
// the code page before the program sees it.
std::string platform_clipboard_text() {
  if (!OpenClipboard(nullptr)) return {};
  std::string text;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT))
    text = rt::narrow(clipboard_data<wchar_t>(CF_UNICODETEXT));
  else
    text = clipboard_data<char>(CF_TEXT);
  CloseClipboard();
  return text;
}

// A GBK text goes as both; one with other characters leaves the ANSI text
// to Windows, which makes it from the Unicode one for the code page.
bool platform_set_clipboard_text(std::string_view gbk) {
  std::wstring wide = rt::widen(gbk);
  std::string ansi(gbk);
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool set = put_on_clipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (set && rt::first_outside_gbk(ansi) == std::string::npos)
    set = put_on_clipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  CloseClipboard();
  return set;
}

void platform_do_events() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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

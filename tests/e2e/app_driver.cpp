#include "tests/e2e/app_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/startup_win32.h"
#include "runtime/text_encoding.h"

namespace {

void pump_for(int ms) { Sleep(DWORD(ms)); }

}  // namespace

std::string AppDriver::wine_path(const std::string& host) {
  std::string path = "Z:" + host;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool file_exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string AppDriver::program_path() {
  std::string packaged = environment("SLIPJET_PROGRAM");
  return wine_path(packaged.empty() ? SLIPJET_EXE : packaged);
}

bool AppDriver::can_photograph() { return !environment("SLIPJET_PHOTOS").empty(); }

bool AppDriver::photograph(HWND window, const std::string& name) {
  if (!can_photograph()) return false;
  std::string folder = wine_path(environment("SLIPJET_PHOTOS")) + "\\";
  std::string picture = folder + name + ".png", request = folder + name + ".request";
  DeleteFileA(picture.c_str());
  SetForegroundWindow(window);
  // The frame drawn anew: Wine's virtual desktop can keep a frame drawn
  // before the window's last resize.
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  Sleep(1000);  // painted, the caret and focus settled
  RECT r;
  GetWindowRect(window, &r);
  // Written whole before the photographer can see it.
  std::string part = folder + name + ".part";
  std::ofstream(part) << r.right - r.left << 'x' << r.bottom - r.top << '+' << r.left << '+'
                      << r.top;
  if (!MoveFileExA(part.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  for (int waited = 0; waited < 20000; waited += 100) {
    if (file_exists(picture)) return true;
    Sleep(100);
  }
  return false;
}

std::string AppDriver::program_folder() {
  std::string path = program_path();
  return path.substr(0, path.rfind('\\'));
}

AppDriver::AppDriver() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // Process ids come back in later runs, and a folder an earlier run could
  // not remove (a file it left read-only) is passed over, never reused.
  std::error_code ignored;
  do {
    folder_ = std::string(temp) + "slipjet-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter);
    std::filesystem::remove_all(folder_, ignored);
  } while (std::filesystem::exists(folder_, ignored));
  std::filesystem::create_directories(folder_, ignored);
}

AppDriver::~AppDriver() {
  if (process_.hProcess) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string AppDriver::read_file(const std::string& name) const {
  std::ifstream in(folder_ + "\\" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void AppDriver::write_file(const std::string& name, const std::string& bytes) const {
  std::ofstream(folder_ + "\\" + name, std::ios::binary) << bytes;
}

bool AppDriver::start() { return launch() && wait_for_main_window(); }

bool AppDriver::launch(const std::string& program, const std::string& working_folder) {
  // A driver may start the program again once the last one has ended.
  if (process_.hProcess) {
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  process_ = {};
  window_ = nullptr;
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_folder.empty() ? folder_.c_str() : working_folder.c_str(), &startup,
                        &process_) != FALSE;
}

bool AppDriver::wait_for_main_window(int ms) {
  for (int waited = 0; waited < ms && !window_; waited += 50) {
    for (HWND found : main_windows()) {
      DWORD pid = 0;
      GetWindowThreadProcessId(found, &pid);
      if (pid == process_.dwProcessId) window_ = found;
    }
    if (!window_) pump_for(50);
  }
  return window_ != nullptr;
}

int AppDriver::close() {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  return wait_for_exit();
}

int AppDriver::wait_for_exit(int ms) {
  if (WaitForSingleObject(process_.hProcess, DWORD(ms)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return int(code);
}

std::string AppDriver::text(int id) const {
  wchar_t buffer[4096] = {};
  LRESULT n = SendMessageW(item(id), WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
  return rt::narrow(std::wstring_view(buffer, size_t(n > 0 ? n : 0)));
}

std::vector<std::string> AppDriver::items(int id) const {
  std::vector<std::string> result;
  LRESULT count = SendDlgItemMessageA(window_, id, CB_GETCOUNT, 0, 0);
  // Across processes the list's items arrive as UTF-16 whatever is asked.
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[1024] = {};
    SendDlgItemMessageW(window_, id, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide));
    result.push_back(rt::narrow(wide));
  }
  return result;
}

int AppDriver::selection(int id) const {
  return int(SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0));
}

bool AppDriver::enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }

int AppDriver::window_width() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return r.right - r.left;
}

void AppDriver::set_text(int id, const std::string& gbk) const {
  SendMessageW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rt::widen(gbk).c_str()));
}

void AppDriver::click(int id) const {
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
}

void AppDriver::click_async(int id) const { press(window_, id); }

void AppDriver::press(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void AppDriver::mouse_click(int id) const {
  RECT r{};
  GetWindowRect(item(id), &r);
  click_at(window_, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  pump_for(500);
}

void AppDriver::click_at(HWND window, int x, int y) {
  SetForegroundWindow(window);
  SetCursorPos(x, y);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void AppDriver::choose(int id, int index) const {
  SendDlgItemMessageA(window_, id, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(item(id)));
}

bool AppDriver::set_clipboard(const std::string& gbk) {
  for (int tries = 0; tries < 50 && !OpenClipboard(nullptr); ++tries) pump_for(20);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, gbk.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(memory));
  std::copy(gbk.begin(), gbk.end(), bytes);
  bytes[gbk.size()] = '\0';
  GlobalUnlock(memory);
  bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  return set;
}

bool AppDriver::set_unicode_clipboard(const std::string& text) {
  std::wstring wide = rt::widen(text);
  for (int tries = 0; tries < 50 && !OpenClipboard(nullptr); ++tries) pump_for(20);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  auto* units = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(wide.begin(), wide.end(), units);
  units[wide.size()] = L'\0';
  GlobalUnlock(memory);
  bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return set;
}

HWND AppDriver::wait_for_window(const char* caption, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (HWND found = FindWindowA(nullptr, caption); found && IsWindowVisible(found)) return found;
    pump_for(50);
  }
  return nullptr;
}

bool AppDriver::wait_for_text(int id, const std::string& expected, int ms) const {
  for (int waited = 0; waited < ms; waited += 50) {
    if (text(id) == expected) return true;
    pump_for(50);
  }
  return false;
}

std::vector<HWND> AppDriver::main_windows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) == app::kCaption && IsWindowVisible(window))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void AppDriver::end_programs_in(const std::string& folder) {
  for (HWND window : main_windows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) continue;
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    if (QueryFullProcessImageNameA(process, 0, image, &size) &&
        _strnicmp(image, folder.c_str(), folder.size()) == 0) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
  }
}

std::string AppDriver::box_text(HWND box) {
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, int(std::size(text)));  // the box's static text
  return rt::narrow(text);
}

void AppDriver::answer(HWND dialog, int edit_id, const std::string& gbk, int ok_id) {
  SendDlgItemMessageW(dialog, edit_id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rt::widen(gbk).c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ok_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, ok_id)));
}

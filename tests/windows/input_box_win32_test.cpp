// The real input box under Wine, driven from a second thread as a user
// would: type into the edit field, press Enter, cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/heap.h"
#include "runtime/input_box.h"

namespace {

struct Script {
  std::string caption;
  std::string typed;
  bool cancel = false;
  int edit_id = 1001;
  // Read from the dialog before answering.
  RECT window{}, edit_in_client{};
};

HWND wait_for_dialog(const std::string& caption) {
  for (int i = 0; i < 500; ++i) {
    if (HWND dialog = FindWindowA(nullptr, caption.c_str())) return dialog;
    Sleep(10);
  }
  return nullptr;
}

DWORD WINAPI answer(void* param) {
  auto* script = static_cast<Script*>(param);
  HWND dialog = wait_for_dialog(script->caption);
  if (!dialog) return 1;
  Sleep(100);  // let it finish its layout
  HWND edit = GetDlgItem(dialog, script->edit_id);
  GetWindowRect(dialog, &script->window);
  GetWindowRect(edit, &script->edit_in_client);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&script->edit_in_client), 2);
  if (script->cancel) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  for (char c : script->typed)
    PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
  PostMessageA(edit, WM_CHAR, '\r', 0);
  return 0;
}

// Shows the box with the script answering; the text stored, or nothing.
std::optional<std::string> run_box(Script& script, std::optional<std::string_view> prompt, int kind,
                                   std::optional<std::string_view> default_text = {}) {
  HANDLE thread = CreateThread(nullptr, 0, answer, &script, 0, nullptr);
  char* text = nullptr;
  bool confirmed = rt::input_box({prompt, script.caption, default_text, kind},
                                 rt_pointer_arg(&text, RT_TEXT | RT_BY_REF));
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  std::optional<std::string> result;
  if (confirmed) result = text ? text : "";
  rt_free(text);
  return result;
}

TEST(InputBoxWin32, TypedTextIsConfirmedWithEnter) {
  Script script{"slipjet test 1", "abc 12"};
  EXPECT_EQ(run_box(script, "请输入宝贝代号", 1), "abc 12");
}

TEST(InputBoxWin32, DefaultTextFillsTheField) {
  Script script{"slipjet test 2", ""};
  EXPECT_EQ(run_box(script, "prompt", 1, "默认 值"), "默认 值");
}

TEST(InputBoxWin32, NumberKindsFilterCharacters) {
  Script integer{"slipjet test 3", "1a2.-3\b"};
  EXPECT_EQ(run_box(integer, "prompt", 2), "12-3");
  Script decimal{"slipjet test 4", "1a2.5"};
  EXPECT_EQ(run_box(decimal, "prompt", 3), "12.5");
}

TEST(InputBoxWin32, HiddenKindUsesThePasswordField) {
  Script script{"slipjet test 5", "secret"};
  script.edit_id = 1002;
  EXPECT_EQ(run_box(script, "prompt", 4), "secret");
}

TEST(InputBoxWin32, CancelStoresNothing) {
  Script script{"slipjet test 6", ""};
  script.cancel = true;
  EXPECT_EQ(run_box(script, "prompt", 1), std::nullopt);
}

TEST(InputBoxWin32, WithoutPromptTheBoxIs57PixelsShorter) {
  Script with{"slipjet test 7", "a"}, without{"slipjet test 8", "a"};
  ASSERT_TRUE(run_box(with, "prompt", 1));
  ASSERT_TRUE(run_box(without, std::nullopt, 1));
  int tall = with.window.bottom - with.window.top;
  int short_one = without.window.bottom - without.window.top;
  EXPECT_EQ(tall - short_one, 57);
  EXPECT_EQ(without.edit_in_client.top, 11);
  EXPECT_GT(with.edit_in_client.top, 11);
}

}  // namespace

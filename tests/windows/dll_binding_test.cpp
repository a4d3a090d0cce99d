// DLL commands bound on first use, under Wine.
#include "runtime/dll_binding.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/runtime/boxes_to_stderr.h"

namespace {

using IntFunction = int (*)();

TEST(DllCommand, BindsOnTheFirstCallOnly) {
  RtDllCommand<IntFunction> answer{"slipjet_test_library.dll", "answer"};
  ASSERT_EQ(GetModuleHandleA("slipjet_test_library.dll"), nullptr);
  size_t before = rt_dll_lookups();
  EXPECT_EQ(answer(), 42);
  void* bound = reinterpret_cast<void*>(answer.slot);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(rt_dll_lookups(), before + 1);  // one lookup for two calls
  EXPECT_EQ(reinterpret_cast<void*>(answer.slot), bound);
  HMODULE module = GetModuleHandleA("slipjet_test_library.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(bound, reinterpret_cast<void*>(GetProcAddress(module, "answer")));
}

TEST(DllCommand, OrdinalsAndDoubledAtSigns) {
  RtDllCommand<IntFunction> by_ordinal{"slipjet_test_library.dll", "#12"};
  EXPECT_EQ(by_ordinal(), 12);
  RtDllCommand<IntFunction> cut{"slipjet_test_library.dll", "answer@@8 and more"};
  EXPECT_EQ(cut(), 42);
}

TEST(DllCommand, CurrentDirectoryThroughKernel32) {
  RtDllCommand<DWORD(WINAPI*)(DWORD, LPSTR)> current{"kernel32", "GetCurrentDirectoryA"};
  char bound[MAX_PATH] = {}, direct[MAX_PATH] = {};
  EXPECT_GT(current(DWORD(sizeof bound), bound), 0u);
  GetCurrentDirectoryA(sizeof direct, direct);
  EXPECT_STREQ(bound, direct);
}

void call_missing_library() {
  show_boxes_on_stderr();
  RtDllCommand<IntFunction> missing{"no_such_library.dll", "f"};
  missing();
}

void call_missing_function() {
  show_boxes_on_stderr();
  RtDllCommand<IntFunction> missing{"slipjet_test_library.dll", "nothing@@x"};
  missing();
}

TEST(DllCommandDeathTest, MissingLibraryOrFunctionEndsTheProgram) {
  EXPECT_EXIT(
      call_missing_library(), testing::ExitedWithCode(0),
      "box DLL ERROR\\|同目录下无法找到DLL文件:\"no_such_library.dll\".请与作者联系.\\|icon 16");
  EXPECT_EXIT(
      call_missing_function(), testing::ExitedWithCode(0),
      "box DLL ERROR\\|无法定位DLL文件:\"slipjet_test_library.dll\"当中的\"nothing@@x\"函数."
      "\\|icon 16");
}

}  // namespace

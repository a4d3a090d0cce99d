// The regular-expression library's commands, called as library commands,
// and the runtime service function they rely on.
#include "regex/rx_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "regex/support_libraries.h"
#include "runtime/heap.h"
#include "runtime/text.h"
#include "tests/runtime/boxes_to_stderr.h"

namespace {

class RxCommands : public testing::Test {
 protected:
  static void SetUpTestSuite() { rt_start_libraries(support_libraries); }
  void SetUp() override {
    blocks_ = rt_heap_live_blocks();
    rt_call_library(rx_new, 1, &object_);
  }
  void TearDown() override {
    rt_call_library(rx_free, 1, &object_);
    EXPECT_EQ(rt_heap_live_blocks(), blocks_);  // every returned block was released
  }

  bool compile(const char* pattern, std::optional<bool> case_sensitive = std::nullopt) {
    RtArg args[] = {object_, rt_text_arg(pattern),
                    case_sensitive ? rt_bool_arg(*case_sensitive) : rt_omitted()};
    return rt_call_library(rx_compile, 3, args).value != 0;
  }

  // The match text and offset of a search, or "-" when there is no match.
  std::string search(const char* text, int start, std::optional<int> length = std::nullopt,
                     int* offset = nullptr) {
    RtArg args[] = {object_, rt_text_arg(text), rt_int_arg(start),
                    length ? rt_int_arg(*length) : rt_omitted()};
    RtArg holder = rt_call_library(rx_search, 4, args);
    EXPECT_EQ(holder.type, RX_RESULT_TYPE);
    EXPECT_TRUE(rt_is_heap_block(rt_arg_pointer(holder)));
    int32_t at = -7;
    RtArg text_args[] = {holder, rt_text_arg(text), rt_pointer_arg(&at, RT_INT | RT_BY_REF)};
    RtArg match = rt_call_library(rx_match_text, 3, text_args);
    auto* records = static_cast<RxResultVariable*>(rt_arg_pointer(holder))->records;
    bool found = !records->empty();
    rt::Text owned = rt::Text::adopt(static_cast<char*>(rt_arg_pointer(match)));
    rt_call_library(rx_result_free, 1, &holder);
    rt_free(rt_arg_pointer(holder));
    if (offset) *offset = at;
    return found ? std::string(owned.view()) : "-";
  }

  RxRegexVariable variable_{};
  RtArg object_ = rt_pointer_arg(&variable_, RX_REGEX_TYPE);
  size_t blocks_ = 0;
};

TEST_F(RxCommands, NewSetsTheConstructedWord) {
  EXPECT_NE(variable_.implementation, nullptr);
  EXPECT_EQ(variable_.constructed, 1u);
}

TEST_F(RxCommands, SearchGivesTheFirstMatchAndItsOffset) {
  ASSERT_TRUE(compile("[0-9]+"));
  int offset = 0;
  EXPECT_EQ(search("12a3", 1, std::nullopt, &offset), "12");
  EXPECT_EQ(offset, 0);
  EXPECT_EQ(search("a12", 1, std::nullopt, &offset), "12");
  EXPECT_EQ(offset, 1);
  EXPECT_EQ(search("a123", 2, 2), "12");
  EXPECT_EQ(search("a123", 3, std::nullopt, &offset), "23");
  EXPECT_EQ(offset, 2);
}

TEST_F(RxCommands, OutOfRangeSearchesFindNothing) {
  ASSERT_TRUE(compile("[0-9]*"));
  int offset = 5;
  EXPECT_EQ(search("123", 0, std::nullopt, &offset), "-");
  EXPECT_EQ(offset, -7);  // left alone
  EXPECT_EQ(search("123", 4), "-");
  EXPECT_EQ(search("", 1), "-");
  EXPECT_EQ(search("123", 2, 3), "-");
  EXPECT_EQ(search("123", 1, -1), "-");
  EXPECT_EQ(search("123", 1, 0), "");  // an empty range still matches an empty pattern
}

TEST_F(RxCommands, FailedCompileLeavesNoExpression) {
  EXPECT_FALSE(compile("[0-9"));
  EXPECT_EQ(search("123", 1), "-");
  EXPECT_TRUE(compile("abc", false));
  EXPECT_EQ(search("xABC", 1), "ABC");
  EXPECT_TRUE(compile("abc"));
  EXPECT_EQ(search("xABC", 1), "-");
}

TEST_F(RxCommands, PatternsWorkOnBytes) {
  ASSERT_TRUE(compile("^.{2}$"));
  EXPECT_EQ(search("中", 1), "中");  // one character, two bytes
  ASSERT_TRUE(compile("(a)|(b)"));
  RtArg args[] = {object_, rt_text_arg("xb"), rt_int_arg(1)};
  RtArg holder = rt_call_library(rx_search, 3, args);
  auto& records = *static_cast<RxResultVariable*>(rt_arg_pointer(holder))->records;
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].offset, 1);
  EXPECT_EQ(records[1].matched, 0);
  EXPECT_EQ(records[2].matched, 1);
  EXPECT_EQ(records[2].length, 1);
  rt_call_library(rx_result_free, 1, &holder);
  rt_free(rt_arg_pointer(holder));
}

TEST_F(RxCommands, ResultVariables) {
  RxResultVariable result{};
  RtArg arg = rt_pointer_arg(&result, RX_RESULT_TYPE);
  rt_call_library(rx_result_new, 1, &arg);
  ASSERT_NE(result.records, nullptr);
  EXPECT_TRUE(result.records->empty());
  RtArg text_args[] = {arg, rt_text_arg("abc")};
  EXPECT_EQ(rt_arg_pointer(rt_call_library(rx_match_text, 2, text_args)), nullptr);
  rt_call_library(rx_result_free, 1, &arg);
  EXPECT_EQ(result.records, nullptr);
}

TEST(RuntimeService, Codes) {
  EXPECT_EQ(rt_service(1004, 0, 0), 1);
  EXPECT_EQ(rt_service(1005, 0, 0), 4);
  EXPECT_EQ(rt_service(2030, 0, 0), 3);
  EXPECT_EQ(rt_service(2032, 0, 0), 0);
  RtArg d = rt_double_arg(-7.9);
  EXPECT_EQ(rt_service(2001, reinterpret_cast<intptr_t>(&d), 0), -7);
  auto* block = reinterpret_cast<char*>(rt_service(2024, 16, 0));
  ASSERT_TRUE(rt_is_heap_block(block));
  block = reinterpret_cast<char*>(rt_service(2026, reinterpret_cast<intptr_t>(block), 64));
  EXPECT_EQ(rt_heap_block_size(block), 64u);
  rt_service(2025, reinterpret_cast<intptr_t>(block), 0);
  EXPECT_FALSE(rt_is_heap_block(block));
  std::string exe_name = reinterpret_cast<const char*>(rt_service(2004, 0, 0));
  EXPECT_NE(exe_name.find("regex_tests"), std::string::npos);
  char buffer[4096] = {};
  EXPECT_EQ(rt_service(1006, 2002, reinterpret_cast<intptr_t>(buffer)),
            reinterpret_cast<intptr_t>(buffer));
  EXPECT_EQ(exe_name, buffer);
  EXPECT_EQ(rt_service(1006, 7, reinterpret_cast<intptr_t>(buffer)), 0);
}

int unknown_box_count = 0;
int count_boxes(const char* text, const char* caption, unsigned type, uintptr_t) {
  EXPECT_STREQ(text, "不支持系统功能函数4242. 请将此信息反馈给作者");
  EXPECT_STREQ(caption, "umbra");
  EXPECT_EQ(type & 0xF0u, RT_MB_ICONERROR);
  ++unknown_box_count;
  return RT_IDOK;
}

TEST(RuntimeService, UnknownCodeIsReportedAndTheProgramGoesOn) {
  rt_set_message_box_hook(count_boxes);
  EXPECT_EQ(rt_service(4242, 1, 2), 0);
  rt_set_message_box_hook(nullptr);
  EXPECT_EQ(unknown_box_count, 1);
}

using RuntimeServiceDeathTest = testing::Test;

TEST(RuntimeServiceDeathTest, FatalLibraryErrorEndsTheProgram) {
  EXPECT_EXIT(
      {
        show_boxes_on_stderr();
        rt_service(2027, reinterpret_cast<intptr_t>("broken"), 0);
      },
      testing::ExitedWithCode(0), "box ERROR\\|Umbra RunTime Error:    broken\\|icon 16");
}

int shutdown_notify(int code, intptr_t, intptr_t) {
  std::fprintf(stderr, "notified %d\n", code);
  return 0;
}

TEST(RuntimeServiceDeathTest, ExitSequenceSendsTheShutdownNotification) {
  EXPECT_EXIT(
      {
        rt_start_libraries(std::array<RtNotifyEntry, 2>{shutdown_notify, nullptr});
        rt_service(2028, 3, 0);
      },
      testing::ExitedWithCode(3), "notified 1\nnotified 6");
}

}  // namespace

// The command convention: a count, then one triple per argument.
#include "runtime/commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/blocks.h"
#include "runtime/bytes.h"
#include "runtime/heap.h"
#include "runtime/text.h"
#include "tests/runtime/boxes_to_stderr.h"

namespace {

using Args = std::vector<RtArg>;

rt::Text text_result(char* block) { return rt::Text::adopt(block); }

int32_t call(int32_t (*command)(int, const RtArg*), const Args& args) {
  return command(int(args.size()), args.data());
}

TEST(Commands, OmittedArgumentsTakeTheirDefaults) {
  EXPECT_EQ(call(rt_find, {rt_text_arg("abab"), rt_text_arg("b"), rt_omitted(), rt_omitted()}), 2);
  EXPECT_EQ(
      call(rt_find, {rt_text_arg("abAB"), rt_text_arg("B"), rt_int_arg(3), rt_bool_arg(true)}), 4);
  EXPECT_EQ(call(rt_find_last, {rt_text_arg("abab"), rt_text_arg("b")}), 4);
  // A left-out flag counts as false: rt_replace_sub then ignores case.
  Args replace = {rt_text_arg("aXbx"), rt_text_arg("x"), rt_text_arg("-"),
                  rt_omitted(),        rt_omitted(),     rt_omitted()};
  EXPECT_EQ(text_result(rt_replace_sub(6, replace.data())), "a-b-");
  // Start given as 0 is not the same as start left out.
  replace[3] = rt_int_arg(0);
  EXPECT_EQ(text_result(rt_replace_sub(6, replace.data())), "aXbx");
}

TEST(Commands, SplitSeparatorAndLimit) {
  Args args = {rt_text_arg("a,b;c"), rt_omitted(), rt_omitted()};
  rt::TextArray comma = rt::TextArray::adopt(rt_split(3, args.data()));
  EXPECT_EQ(comma.size(), 2u);
  args[1] = rt_text_arg("");  // given but empty: the whole text
  EXPECT_EQ(rt::TextArray::adopt(rt_split(3, args.data())).size(), 1u);
  args[1] = rt_text_arg(";");
  args[2] = rt_int_arg(-3);
  EXPECT_EQ(rt::TextArray::adopt(rt_split(3, args.data())).size(), 0u);
}

TEST(Commands, NumbersArriveInAnyNumericKind) {
  Args args = {rt_text_arg("abcdef"), rt_double_arg(2.9), RtArg{3, 0, RT_BYTE}};
  EXPECT_EQ(text_result(rt_mid(3, args.data())), "bcd");
  Args empty_text = {rt_text_arg(nullptr), rt_int_arg(3)};
  EXPECT_EQ(rt_left(2, empty_text.data()), nullptr);
  Args hex = {rt_int64_arg(0x1FFFFFFFFLL)};
  EXPECT_EQ(text_result(rt_hex(1, hex.data())), "FFFFFFFF");
}

TEST(Commands, ConversionsAndDates) {
  Args value = {rt_double_arg(2.5)};
  EXPECT_EQ(text_result(rt_to_text(1, value.data())), "2.5");
  Args text = {rt_text_arg("１２３")};
  EXPECT_EQ(rt_to_int(1, text.data()), 123);
  EXPECT_DOUBLE_EQ(rt_to_number(1, text.data()), 123.0);
  Args date = {rt_double_arg(36526.5, RT_DATETIME), rt_omitted()};
  EXPECT_EQ(text_result(rt_date_text(2, date.data())), "2000年1月1日12时");
  date[1] = rt_bool_arg(true);
  EXPECT_EQ(text_result(rt_date_text(2, date.data())), "2000年1月1日");
}

TEST(Commands, ReadWithAPositionVariable) {
  rt::Bytes b = rt::Bytes::copy_of(std::string_view("\x05\x00\x00\x00\x07", 5));
  int32_t position = 1;
  Args args = {rt_pointer_arg(b.block(), RT_BYTES), rt_int_arg(3),
               rt_pointer_arg(&position, RT_INT | RT_BY_REF)};
  EXPECT_EQ(rt_bytes_read(3, args.data()).value, 5u);
  EXPECT_EQ(position, 5);
  args[1] = rt_int_arg(1);
  EXPECT_EQ(rt_bytes_read(3, args.data()).value, 7u);
  EXPECT_EQ(position, 6);
  Args plain = {rt_pointer_arg(b.block(), RT_BYTES), rt_int_arg(1)};
  EXPECT_EQ(rt_bytes_read(2, plain.data()).value, 5u);
  EXPECT_EQ(rt_bytes_size(1, plain.data()), 5);
}

TEST(Commands, VariadicBitsAndRemainders) {
  Args ints = {rt_int_arg(1), rt_int_arg(8), rt_int_arg(16)};
  EXPECT_EQ(call(rt_bit_or, ints), 25);
  Args doubles = {rt_double_arg(10), rt_double_arg(4), rt_double_arg(1.5)};
  EXPECT_DOUBLE_EQ(rt_remainder(3, doubles.data()), 0.5);
}

TEST(CommandsDeathTest, WrongKindsRaiseRuntimeErrors) {
  show_boxes_on_stderr();
  Args text_for_number = {rt_text_arg("abc"), rt_text_arg("2")};
  EXPECT_EXIT(rt_left(2, text_for_number.data()), testing::ExitedWithCode(0),
              "error number is 2\\.");
  Args number_for_text = {rt_int_arg(5)};
  EXPECT_EXIT(rt_trim(1, number_for_text.data()), testing::ExitedWithCode(0),
              "error number is 11\\.");
  rt::Bytes b = rt::Bytes::copy_of("ab");
  Args bad_code = {rt_pointer_arg(b.block(), RT_BYTES), rt_int_arg(11)};
  EXPECT_EXIT(rt_bytes_read(2, bad_code.data()), testing::ExitedWithCode(0),
              "error number is 100\\.");
}

}  // namespace

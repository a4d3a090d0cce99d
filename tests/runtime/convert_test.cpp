#include "runtime/convert.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/blocks.h"
#include "runtime/heap.h"

namespace {

using namespace rt;

TEST(ToText, Numbers) {
  EXPECT_EQ(to_text(rt_double_arg(2.5)), "2.5");
  EXPECT_EQ(to_text(rt_double_arg(3.0)), "3");
  EXPECT_EQ(to_text(rt_double_arg(100.0)), "100");
  EXPECT_EQ(to_text(rt_double_arg(-0.125)), "-0.125");
  EXPECT_EQ(to_text(rt_double_arg(0.0)), "0");
  EXPECT_EQ(to_text(rt_double_arg(1e-9)), "0");  // "%f" keeps six places
  EXPECT_EQ(to_text(rt_float_arg(1.5f)), "1.5");
  EXPECT_EQ(to_text(rt_int_arg(-42)), "-42");
  EXPECT_EQ(to_text(RtArg{0xFF, 0, RT_BYTE}), "255");
  EXPECT_EQ(to_text(RtArg{0xFFFF, 0, RT_SHORT}), "-1");
  EXPECT_EQ(to_text(rt_int64_arg(-9000000000LL)), "-9000000000");
  EXPECT_EQ(to_text(rt_double_arg(INFINITY)), "inf");
}

TEST(ToText, OtherKinds) {
  EXPECT_EQ(to_text(rt_bool_arg(true)), "真");
  EXPECT_EQ(to_text(rt_bool_arg(false)), "假");
  EXPECT_EQ(to_text(rt_text_arg("abc")), "abc");
  EXPECT_EQ(to_text(rt_text_arg(nullptr)).block(), nullptr);
  void* set = rt_byte_set_make("ab\0cd", 5);
  EXPECT_EQ(to_text(rt_pointer_arg(set, RT_BYTES)), "ab");
  rt_free(set);
  const int32_t sizes[] = {2};
  void* shorts = rt_array_new(sizes, 2);
  std::memcpy(rt_array_data(shorts), "xyz", 3);  // bytes x y z 0
  EXPECT_EQ(to_text(rt_pointer_arg(shorts, RT_SHORT | RT_BY_REF)), "xyz");
  rt_free(shorts);
  EXPECT_EQ(to_text(rt_double_arg(2.25, RT_DATETIME)), "1900年1月1日6时");
  EXPECT_TRUE(to_text(RtArg{1, 0, 0x1234}).empty());
}

TEST(ToInt, Conversions) {
  EXPECT_EQ(to_int(rt_text_arg("１２３")), 123);
  EXPECT_EQ(to_int(rt_text_arg("  -42abc")), -42);
  EXPECT_EQ(to_int(rt_text_arg("+7")), 7);
  EXPECT_EQ(to_int(rt_text_arg("abc")), 0);
  EXPECT_EQ(to_int(rt_text_arg("99999999999")), INT32_MAX);
  EXPECT_EQ(to_int(rt_text_arg("99999999999999999999")), INT32_MAX);  // 20 digits
  EXPECT_EQ(rt::leading_integer("99999999999999999999"), INT64_MAX);
  EXPECT_EQ(rt::leading_integer("-999999999999999999999999"), INT64_MIN);
  EXPECT_EQ(rt::leading_integer("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(rt::leading_integer("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(to_int(rt_double_arg(2.9)), 2);
  EXPECT_EQ(to_int(rt_double_arg(-2.9)), -2);
  EXPECT_EQ(to_int(rt_double_arg(1e20)), INT32_MAX);
  EXPECT_EQ(to_int(rt_double_arg(NAN)), 0);
  EXPECT_EQ(to_int(RtArg{0xFF, 0, RT_BYTE}), 255);
  EXPECT_EQ(to_int(RtArg{0xFFFF, 0, RT_SHORT}), -1);
  EXPECT_EQ(to_int(rt_int64_arg(0x100000005LL)), 5);  // low 32 bits
  EXPECT_EQ(to_int(rt_double_arg(3.5, RT_DATETIME)), 0);
}

TEST(ToNumber, Conversions) {
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg(" -1.5e2x")), -150.0);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("３．５")), 3.5);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg(".5")), 0.5);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("7e")), 7.0);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("inf")), 0.0);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("-.")), 0.0);
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("")), 0.0);
  EXPECT_TRUE(std::isinf(to_number(rt_text_arg("1e999"))));
  EXPECT_DOUBLE_EQ(to_number(rt_text_arg("1e-999")), 0.0);
  EXPECT_DOUBLE_EQ(to_number(rt_int_arg(-3)), -3.0);
  EXPECT_DOUBLE_EQ(to_number(RtArg{200, 0, RT_BYTE}), 200.0);
  EXPECT_DOUBLE_EQ(to_number(rt_bool_arg(true)), 1.0);
  EXPECT_DOUBLE_EQ(to_number(rt_double_arg(4.25, RT_DATETIME)), 4.25);
}

TEST(Dates, AroundDayZero) {
  EXPECT_EQ(date_text(0, false), "1899年12月30日");
  EXPECT_EQ(date_text(1, false), "1899年12月31日");
  EXPECT_EQ(date_text(2, false), "1900年1月1日");
  EXPECT_EQ(date_text(-1, false), "1899年12月29日");
  EXPECT_EQ(date_text(-363, false), "1899年1月1日");
  EXPECT_EQ(date_text(-364, false), "1898年12月31日");
  // Negative dates keep their time of day as a positive fraction.
  EXPECT_EQ(date_text(-1.25, false), "1899年12月29日6时");
}

TEST(Dates, LeapYears) {
  EXPECT_EQ(date_text(60, true), "1900年2月28日");  // 1900 is no leap year
  EXPECT_EQ(date_text(61, true), "1900年3月1日");
  EXPECT_EQ(date_text(36585, true), "2000年2月29日");
  EXPECT_EQ(date_text(36586, true), "2000年3月1日");
  EXPECT_EQ(date_text(45351, true), "2024年2月29日");
  EXPECT_EQ(date_text(73109, true), "2100年2月28日");
  EXPECT_EQ(date_text(73110, true), "2100年3月1日");
}

TEST(Dates, TimeShowsDownToItsLastNonZeroPart) {
  const double day = 45351;  // 2024-02-29
  EXPECT_EQ(date_text(day + 10.0 / 24, false), "2024年2月29日10时");
  EXPECT_EQ(date_text(day, false), "2024年2月29日");
  EXPECT_EQ(date_text(day + (10 * 60 + 5) / 1440.0, false), "2024年2月29日10时5分");
  EXPECT_EQ(date_text(day + 1.0 / 86400, false), "2024年2月29日0时0分1秒");
  EXPECT_EQ(date_text(day + 10.0 / 24, true), "2024年2月29日");
  // A time that rounds up to 24:00 is midnight of the next day.
  EXPECT_EQ(date_text(day + 0.9999999, false), "2024年3月1日");
  DateParts p = date_parts(day + 0.75);
  EXPECT_EQ(p.hour, 18);
}

TEST(Dates, AbsurdValuesStayWithinBounds) {
  EXPECT_EQ(date_text(NAN, false), "1899年12月30日");
  EXPECT_FALSE(date_text(1e300, false).empty());
  EXPECT_FALSE(date_text(-1e300, false).empty());
}

}  // namespace

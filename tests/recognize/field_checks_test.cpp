#include "recognize/field_checks.h"

#include <gtest/gtest.h>

#include "regex/support_libraries.h"
#include "runtime/heap.h"

namespace {

using recognize::find_phone;
using recognize::is_all_digits;

class FieldChecks : public testing::Test {
 protected:
  static void SetUpTestSuite() { rt_start_libraries(support_libraries); }
};

TEST_F(FieldChecks, AllDigits) {
  size_t blocks = rt_heap_live_blocks();
  EXPECT_TRUE(is_all_digits("12345678"));
  EXPECT_TRUE(is_all_digits(""));
  EXPECT_FALSE(is_all_digits("1234567a"));
  EXPECT_FALSE(is_all_digits("　1234567"));
  EXPECT_FALSE(is_all_digits("1234-567"));
  EXPECT_FALSE(is_all_digits("１２３４"));  // full-width digits are not ASCII digits
  EXPECT_FALSE(
      is_all_digits(std::string("12\0"
                                "34",
                                5)));
  EXPECT_EQ(rt_heap_live_blocks(), blocks);
}

TEST_F(FieldChecks, PhonesInADetailText) {
  std::string text = "张三，13812345678，0571-88886666，浙江省";
  EXPECT_EQ(find_phone(text, 1), "13812345678");
  EXPECT_EQ(find_phone(text, 2), "0571-88886666");
  EXPECT_EQ(find_phone(text, 3), "");
  EXPECT_EQ(find_phone("无号码", 1), "");
}

TEST_F(FieldChecks, MobilePatternQuirks) {
  EXPECT_EQ(find_phone("x1|123456789y", 1), "1|123456789");
  EXPECT_EQ(find_phone("138123456789", 1), "13812345678");
  EXPECT_EQ(find_phone("订单 14912345 号", 1), "");  // 8 characters are too few
  EXPECT_EQ(find_phone("订单 149123456 号", 1), "149123456");
  EXPECT_EQ(find_phone("订单号 15800001111222 电话 13900001111", 1), "15800001111");
}

TEST_F(FieldChecks, FixedLineWithExtension) {
  EXPECT_EQ(find_phone("电话 0571-88886666-123 转", 2), "0571-88886666-123");
  EXPECT_EQ(find_phone("010-1234567", 2), "010-1234567");
  EXPECT_EQ(find_phone("01-1234567", 2), "");
}

}  // namespace

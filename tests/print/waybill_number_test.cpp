// The forms' numbers: the next form's, and numbers no form has.
#include "print/waybill_number.h"

#include <gtest/gtest.h>

namespace {

using print::next_waybill_number;
using print::waybill_number_problem;

TEST(WaybillNumber, TheNextFormIsOneMoreOnTheTrailingDigitsKeepingTheirWidth) {
  struct {
    const char* number;
    const char* next;
  } cases[] = {
      {"773012345678", "773012345679"}, {"YT0000000009", "YT0000000010"},
      {"0999", "1000"},                 {"ZT12A999", "ZT12A1000"},
      {"9999", "10000"},
  };
  for (auto c : cases) EXPECT_EQ(next_waybill_number(c.number), c.next) << c.number;
  EXPECT_FALSE(next_waybill_number("ABC"));
  EXPECT_FALSE(next_waybill_number(""));
}

// EMS's S10 numbers: the serial goes up and the check digit is its own.
TEST(WaybillNumber, AnS10NumberTakesTheNextSerialWithItsCheckDigit) {
  EXPECT_EQ(print::s10_check_digit("12345678"), 5);  // EA 12345678 5 CN
  EXPECT_EQ(print::s10_check_digit("00000001"), 4);  // 11 - 7: the last weight
  EXPECT_EQ(print::s10_check_digit("00000008"), 0);  // 11 - 1 gives 10: 0
  EXPECT_EQ(print::s10_check_digit("00000000"), 5);  // 11 - 0 gives 11: 5
  EXPECT_EQ(next_waybill_number("EA123456785CN"), "EA123456799CN");
  EXPECT_EQ(next_waybill_number("EA123456799CN"), "EA123456808CN");  // the serial carries
  EXPECT_FALSE(next_waybill_number("EA999999995CN"));                 // the last serial
  EXPECT_EQ(waybill_number_problem("EA123456785CN"), "");
}

TEST(WaybillNumber, ANumberNoFormHasIsRefusedWithItsReason) {
  EXPECT_EQ(waybill_number_problem("773012345678"), "");
  EXPECT_EQ(waybill_number_problem("EA123456784CN"),
            "运单号【EA123456784CN】的校验位（第 11 位）应为 5，请核对是否输错或扫错");
  EXPECT_EQ(waybill_number_problem("12345"),
            "运单号【12345】有 5 位，快递单号一般是 10 到 15 位，请核对是否输错或扫错");
  EXPECT_EQ(waybill_number_problem("7730-1234-5678"),
            "运单号【7730-1234-5678】只能有字母和数字，请核对是否输错或扫错");
  EXPECT_EQ(waybill_number_problem("7730123456AB"),
            "运单号【7730123456AB】的末尾不是数字，推算不出下一张快递单的单号");
  // As a scanner or a web page gives it: blanks, full-width, lower case.
  EXPECT_EQ(print::typed_waybill_number(" ea１２３456785cn\r\n"), "EA123456785CN");
}

}  // namespace

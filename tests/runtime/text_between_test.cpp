#include "runtime/text_between.h"

#include <gtest/gtest.h>

namespace {

using rt::Between;
using rt::text_between;

TEST(TextBetween, StrictlyBetweenTheFirstMarkers) {
  EXPECT_EQ(text_between("a[x]b[y]", "[", "]"), "x");
  EXPECT_EQ(text_between("位置1=a\r\n|rest|", "位置", "|"), "1=a\r\n");
  EXPECT_EQ(text_between("[]", "[", "]"), "");
  EXPECT_EQ(text_between("no markers", "[", "]"), "");
  EXPECT_EQ(text_between("[open", "[", "]"), "");
  EXPECT_EQ(text_between("]x[", "[", "]"), "");  // the right marker must follow
  EXPECT_EQ(text_between("", "[", "]"), "");
}

TEST(TextBetween, OtherModes) {
  EXPECT_EQ(text_between("码: XL", "码: ", {}, Between::after_left), "XL");
  EXPECT_EQ(text_between("ab收货信息：x", "收货信息：", {}, Between::from_left), "收货信息：x");
  EXPECT_EQ(text_between("abc", "z", {}, Between::after_left), "");
}

TEST(TextBetween, MatchesOnlyAtCharacterBoundaries) {
  // "啊" is B0 A1; the A1 inside it is not the marker "\xA1|".
  EXPECT_EQ(text_between("\xB0\xA1|x|", "\xA1|", "|"), "");
}

}  // namespace

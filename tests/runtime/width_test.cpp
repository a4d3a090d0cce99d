#include "runtime/width.h"

#include <gtest/gtest.h>

namespace {

TEST(WidthTable, FullWidthOfAscii) {
  EXPECT_EQ(gbk_map_width("Az09!", true), "\xA3\xC1\xA3\xFA\xA3\xB0\xA3\xB9\xA3\xA1");
  EXPECT_EQ(gbk_map_width(" $~", true), "\xA1\xA1\xA1\xE7\xA1\xAB");
  EXPECT_EQ(gbk_map_width("\\\t", true), "\\\t");
  EXPECT_EQ(gbk_map_width("中", true), "中");
}

TEST(WidthTable, HalfWidthOfFullWidthForms) {
  EXPECT_EQ(gbk_map_width("\xA3\xC1\xA1\xA1\xA1\xE7\xA1\xAB", false), "A $~");
  EXPECT_EQ(gbk_map_width("“引号”", false), "\"\xD2\xFD\xBA\xC5\"");
  EXPECT_EQ(gbk_map_width("\xA3\xA4", false), "\xA3\xA4");     // ￥ stays
  EXPECT_EQ(gbk_map_width("\xA5\xAC\xA5\xA1", false), "???");  // voiced katakana decompose
}

TEST(WidthTable, BrokenUnitsBecomeQuestionMarks) {
  EXPECT_EQ(gbk_map_width("a\x81", true), "\xA3\xE1\xA3\xBF");
  EXPECT_EQ(gbk_map_width("\x81\x30z", false), "?z");
  EXPECT_EQ(gbk_map_width("\x80\xFF", false), "\x80\xFF");
}

}  // namespace

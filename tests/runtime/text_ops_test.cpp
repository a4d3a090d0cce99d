#include "runtime/text_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/heap.h"

namespace {

using namespace rt;

std::vector<std::string> pieces(const TextArray& a) {
  std::vector<std::string> out;
  for (size_t i = 0; i < a.size(); ++i) out.emplace_back(a[i]);
  return out;
}

using Pieces = std::vector<std::string>;

TEST(TextOps, LeftRightMidClipAndMayCutACharacter) {
  EXPECT_EQ(left("abc", 2), "ab");
  EXPECT_EQ(left("abc", 10), "abc");
  EXPECT_EQ(left("abc", 0).block(), nullptr);
  EXPECT_EQ(left("中文", 1), "\xD6");  // half of a character, as asked
  EXPECT_EQ(right("abc", 2), "bc");
  EXPECT_EQ(right("abc", -1).block(), nullptr);
  EXPECT_EQ(right("中文", 3), "\xD0\xCE\xC4");
  EXPECT_EQ(mid("abc", 2, 10), "bc");
  EXPECT_TRUE(mid("abc", 4, 1).empty());
  EXPECT_TRUE(mid("abc", 0, 1).empty());
  EXPECT_TRUE(mid("abc", 1, 0).empty());
  EXPECT_EQ(text_len("中a"), 3);
}

TEST(TextOps, FindStepsWholeCharacters) {
  EXPECT_EQ(find("ab", "b", 2), 2);
  EXPECT_EQ(find("ab", "b", 3), -1);
  EXPECT_EQ(find("ab", "a", -5), 1);
  EXPECT_EQ(find("", "a"), -1);
  EXPECT_EQ(find("a", ""), -1);
  EXPECT_EQ(find("a", "ab"), -1);
  EXPECT_EQ(find("xAbC", "abc", 0, true), 2);
  EXPECT_EQ(find("xAbC", "abc"), -1);
  // "啊" is B0 A1 and "∩" is A1 C9: the A1 C9 straddling them is no match.
  const std::string text = "\xB0\xA1\xC9";
  EXPECT_EQ(find(text, "\xA1\xC9"), -1);
  EXPECT_EQ(find_last(text, "\xA1\xC9"), 2);
}

TEST(TextOps, FindLastHonoursTheEndPosition) {
  EXPECT_EQ(find_last("abab", "ab"), 3);
  EXPECT_EQ(find_last("abab", "ab", 3), 1);   // must end at or before byte 3
  EXPECT_EQ(find_last("abab", "ab", 1), 1);   // candidate raised to offset 0
  EXPECT_EQ(find_last("abab", "ab", 99), 3);  // lowered to the last offset
  EXPECT_EQ(find_last("abab", "AB", 0, true), 3);
  EXPECT_EQ(find_last("abab", "x"), -1);
}

TEST(TextOps, ReplaceRange) {
  EXPECT_EQ(replace_range("abcdef", 3, 2, "XY"), "abXYef");
  EXPECT_EQ(replace_range("abcdef", 5, 10, "Z"), "abcdZ");
  EXPECT_EQ(replace_range("abcdef", 7, 1, "Z"), "abcdef");
  EXPECT_EQ(replace_range("abcdef", -1, 1, "Z"), "abcdef");  // negative counts as too large
  EXPECT_EQ(replace_range("abcdef", 0, 2, "Z"), "Zcdef");
  EXPECT_EQ(replace_range("abcdef", 2, 0, "Z"), "abcdef");
  EXPECT_EQ(replace_range("abcdef", 2, 2), "adef");
  EXPECT_EQ(replace_range("", 1, 1, "R"), "R");
  EXPECT_EQ(replace_range("", 1, 1).block(), nullptr);
  EXPECT_EQ(replace_range("abc", 2, INT_MAX, "Z"), "aZ");  // no overflow
}

TEST(TextOps, ReplaceSub) {
  EXPECT_EQ(replace_sub("aXbXc", "X", "-", 1, 1), "a-bXc");
  EXPECT_EQ(replace_sub("aXbXc", "X", "-", 3), "aXb-c");
  EXPECT_EQ(replace_sub("aXbXc", "X", "-", 0), "aXbXc");
  EXPECT_EQ(replace_sub("aXbXc", "X", "-", 1, 0), "aXbXc");
  EXPECT_EQ(replace_sub("aXbXc", "x", "-"), "a-b-c");  // ignores case by default
  EXPECT_EQ(replace_sub("aXbXc", "x", "-", 1, INT_MAX, true), "aXbXc");
  EXPECT_EQ(replace_sub("aXbXc", "X"), "abc");
  EXPECT_TRUE(replace_sub("XX", "X").empty());
  EXPECT_EQ(replace_sub("ab", "abc", "-"), "ab");
  EXPECT_EQ(replace_sub("ab", "", "-"), "ab");
  // The trail byte of "ｘ" (A3 F8) is no "x" to replace.
  EXPECT_EQ(replace_sub("\xA3xa", "x", "y", 1, INT_MAX, true), "\xA3xa");
  EXPECT_EQ(replace_sub("a\xA3x", "x", "y", 1, INT_MAX, true), "a\xA3x");
}

TEST(TextOps, Split) {
  EXPECT_EQ(pieces(split("a,,b,")), (Pieces{"a", "", "b"}));
  EXPECT_EQ(pieces(split(",a")), (Pieces{"", "a"}));
  EXPECT_EQ(pieces(split("a,b,c", ",", 2)), (Pieces{"a", "b"}));
  EXPECT_EQ(pieces(split("a,b,c", ",", -1)), Pieces{});
  EXPECT_EQ(pieces(split("a,b,c", ",", 0)), Pieces{});
  EXPECT_EQ(pieces(split("")), Pieces{});
  EXPECT_EQ(pieces(split("a,b", "")), (Pieces{"a,b"}));
  EXPECT_EQ(pieces(split("a\r\nb\r\n", "\r\n")), (Pieces{"a", "b"}));
  // A separator inside a two-byte character does not split it.
  EXPECT_EQ(pieces(split("\xB0\xA1|\xB0|", "\xA1|")), (Pieces{"\xB0\xA1|\xB0|"}));
  // A lead byte just before the end of the text ends the scan.
  EXPECT_EQ(pieces(split("a,\xB0")), (Pieces{"a", "\xB0"}));
  EXPECT_EQ(split("a,,b,").size(), 3u);
}

TEST(TextOps, SplitElementsAreEmptyTextsNotBlocks) {
  TextArray a = split("a,,b");
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(rt_array_pointer_at(a.block(), 1), nullptr);
}

TEST(TextOps, TrimAndStripOnlyAsciiAndFullWidthSpaces) {
  EXPECT_EQ(trim("\xA1\xA1 a \xA1\xA1 "), "a");
  EXPECT_EQ(trim("\ta "), "\ta");
  EXPECT_TRUE(trim("  \xA1\xA1").empty());
  EXPECT_EQ(trim_start("\xA1\xA1 a "), "a ");
  EXPECT_TRUE(trim_start(" ").empty());
  EXPECT_EQ(strip_spaces(" a\xA1\xA1 b "), "ab");
  EXPECT_TRUE(strip_spaces(" \xA1\xA1").empty());
  // "薄" (B1 A1) then a full-width space: the A1 A1 across them is none.
  EXPECT_EQ(trim("\xA1\xA1\xB1\xA1\xA1\xA1"), "\xB1\xA1");
  EXPECT_EQ(strip_spaces("\xB1\xA1\xA1\xA1"), "\xB1\xA1");
}

TEST(TextOps, CaseChangesSkipTwoByteCharacters) {
  EXPECT_EQ(upper("ab中Z"), "AB中Z");
  EXPECT_EQ(lower("AB\xA3\xC1Z"), "ab\xA3\xC1z");
  // "\x81\x61" is one character whose trail byte looks like "a".
  EXPECT_EQ(upper("\x81\x61"
                  "a"),
            "\x81\x61"
            "A");
}

TEST(TextOps, Compare) {
  EXPECT_EQ(compare("abc", "abd", true), -1);
  EXPECT_EQ(compare("abd", "abc", true), 1);
  EXPECT_EQ(compare("abc", "abc", true), 0);
  EXPECT_EQ(compare("ab", "abc", true), -1);
  EXPECT_EQ(compare("\xB0\xA1", "a", true), 1);  // unsigned bytes
  EXPECT_EQ(compare("ABC", "abc", false), 0);
  EXPECT_LT(compare("abc", "ABD", false), 0);
  EXPECT_GT(compare("abc", "AB", false), 0);
  EXPECT_LT(compare("", "a", false), 0);
}

TEST(TextOps, SmallBuilders) {
  EXPECT_EQ(spaces(3), "   ");
  EXPECT_TRUE(spaces(0).empty());
  EXPECT_EQ(code_at("中"), -42);  // D6
  EXPECT_EQ(code_at("ab", 2), 'b');
  EXPECT_EQ(code_at("ab", 0), 0);
  EXPECT_EQ(code_at("ab", 3), 0);
  EXPECT_EQ(code_at(""), 0);
  EXPECT_EQ(char_of(0x141), "A");
  EXPECT_TRUE(char_of(0x100).empty());
  EXPECT_EQ(hex(255), "FF");
  EXPECT_EQ(hex(0), "0");
  EXPECT_EQ(hex(-1), "FFFFFFFF");
}

TEST(TextOps, FullAndHalfWidth) {
  EXPECT_EQ(fullwidth("a1 /\\"), "\xA3\xE1\xA3\xB1\xA1\xA1\xA3\xAF\xA3\xDC");
  EXPECT_EQ(halfwidth("\xA3\xE1\xA3\xB1\xA1\xA1\xA3\xAF\xA3\xDC"), "a1 /\\");
  EXPECT_EQ(halfwidth("１２３中"), "123中");
  EXPECT_TRUE(fullwidth("").empty());
  // Some characters widen when halved (A9 64 becomes A9 63 and "?"): the
  // result is not cut to the input's length.
  EXPECT_EQ(halfwidth("\xA9\x64\xA9\x64"), "\xA9\x63?\xA9\x63?");
  // Only whole characters are mapped: "x" here is the trail of "\x81x".
  EXPECT_EQ(fullwidth("\x81xy"), "\x81x\xA3\xF9");
}

TEST(TextOps, ResultsLeaveNoBlocksBehind) {
  size_t before = rt_heap_live_blocks();
  {
    Text a = replace_sub("aXbXc", "X", "--");
    TextArray b = split("a,b,c,,d");
    Text c = trim("  x  ");
    Text d = fullwidth("abc");
  }
  EXPECT_EQ(rt_heap_live_blocks(), before);
}

}  // namespace

// The one walk over the program's text and its one conversion pair: the
// same tests natively and under Wine.
#include "runtime/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every character start, walking forwards.
std::vector<size_t> starts(std::string_view text) {
  std::vector<size_t> at;
  for (size_t i = 0; i < text.size(); i = rt::next_character(text, i)) at.push_back(i);
  return at;
}

// ASCII, characters whose second byte looks like ASCII (區 85 5E ends in
// "^", 丂 81 40 in "@", 8B 5C in "\"), stray bytes (0x80, 0xFF) and a lead
// byte cut off at the end.
const std::string kMixed = "a區1\x81\x40z\x8B\x5C" "\x80" "\xFF" "b\x81";

TEST(TextEncoding, EveryWalkAgreesOnWhereCharactersStart) {
  EXPECT_EQ(starts(kMixed), (std::vector<size_t>{0, 1, 3, 4, 6, 7, 9, 10, 11, 12}));
  std::vector<size_t> forwards = starts(kMixed);
  for (size_t k = 1; k < forwards.size(); ++k)
    EXPECT_EQ(rt::previous_character(kMixed, forwards[k]), forwards[k - 1]) << k;
  EXPECT_EQ(rt::previous_character(kMixed, kMixed.size()), forwards.back());
  EXPECT_EQ(rt::previous_character(kMixed, 0), 0u);
  for (size_t at = 0; at <= kMixed.size(); ++at) {
    bool listed = at == kMixed.size() ||
                  std::find(forwards.begin(), forwards.end(), at) != forwards.end();
    EXPECT_EQ(rt::is_character_start(kMixed, at), listed) << at;
  }
  // A second byte that looks like a digit or a mark is never one.
  EXPECT_FALSE(rt::is_character_start("區", 1));
  EXPECT_EQ(rt::character_size("\x81", 0), 1u);
}

// GB18030's four-byte characters (U+48BA 82 34 88 38, U+3BBE 82 31 B7 39) are one
// character each, so their digit bytes are never walked onto; a lead byte
// before a digit without the rest is two bytes, as before.
TEST(TextEncoding, FourByteCharactersAreWalkedWhole) {
  const std::string text = "刘\x82\x34\x88\x38" "13800138000\x82\x31\xB7\x39";
  EXPECT_EQ(starts(text).size(), 1u + 1u + 11u + 1u);
  EXPECT_EQ(rt::character_size(text, 2), 4u);
  for (size_t inside : {3u, 4u, 5u}) EXPECT_FALSE(rt::is_character_start(text, inside));
  EXPECT_EQ(rt::previous_character(text, 6), 2u);
  EXPECT_EQ(rt::previous_character(text, text.size()), text.size() - 4);
  EXPECT_TRUE(rt::is_whole_text(text));
  EXPECT_EQ(rt::character_size("\x82\x34", 0), 2u);
  EXPECT_FALSE(rt::is_whole_text("\x82\x34"));        // cut after two of four bytes
  EXPECT_EQ(rt::character_size("\x82\x34\x88", 0), 2u);
  // Ideographs (U+3400, U+48BA, U+4DBF, U+20000) and not (U+4DC0, a
  // hexagram; U+10000).
  for (const char* ideograph : {"\x81\x39\xEE\x39", "\x82\x34\x88\x38", "\x82\x35\x88\x38",
                                "\x95\x32\x82\x36"})
    EXPECT_TRUE(rt::is_four_byte_ideograph(ideograph, 0)) << ideograph;
  for (const char* other : {"\x82\x35\x88\x39", "\x90\x30\x81\x30", "刘"})
    EXPECT_FALSE(rt::is_four_byte_ideograph(other, 0));
}

TEST(TextEncoding, WholeTextsHaveNoCutOrStrayBytes) {
  EXPECT_TRUE(rt::is_whole_text(""));
  EXPECT_TRUE(rt::is_whole_text("张三 13800138000 區\x81\x40"));
  EXPECT_FALSE(rt::is_whole_text("张三\xD5"));   // cut at the end
  EXPECT_FALSE(rt::is_whole_text("\xD5\x7F"));   // no character ends in 0x7F
  EXPECT_FALSE(rt::is_whole_text("\x80"));
  EXPECT_FALSE(rt::is_whole_text("a\xFF"));
}

TEST(TextEncoding, WideningAndNarrowingGiveTheTextBack) {
  for (std::string text : {std::string(), std::string("abc 123"), std::string("张三，區\x81\x40"),
                           std::string("浙江省杭州市西湖区文三路100号")}) {
    std::wstring wide = rt::widen(text);
    EXPECT_EQ(rt::narrow(wide), text);
  }
  EXPECT_EQ(rt::widen("區"), std::wstring(1, wchar_t(0x5340)));
  EXPECT_EQ(rt::widen("a張"), (std::wstring{L'a', wchar_t(0x5F35)}));
  // A character the encoding has not is replaced, not dropped.
  EXPECT_EQ(rt::narrow(std::wstring(1, wchar_t(0x4DAE))), "?");
}

}  // namespace

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
  EXPECT_TRUE(rt::is_whole_text("\x80"));  // code page 936's euro sign
  EXPECT_FALSE(rt::is_whole_text("a\xFF"));
}

TEST(TextEncoding, WideningAndNarrowingGiveTheTextBack) {
  for (std::string text : {std::string(), std::string("abc 123"), std::string("张三，區\x81\x40"),
                           std::string("浙江省杭州市西湖区文三路100号"),
                           std::string("刘\xFE\x9F 重庆市巫溪县\x82\x34\x88\x38江镇 \x95\x32\x82\x36")}) {
    EXPECT_EQ(rt::narrow(rt::widen(text)), text);
    EXPECT_EQ(rt::from_utf8(rt::to_utf8(text)), text);
  }
  EXPECT_EQ(rt::widen("區"), std::wstring(1, wchar_t(0x5340)));
  EXPECT_EQ(rt::widen("a張"), (std::wstring{L'a', wchar_t(0x5F35)}));
  EXPECT_EQ(rt::to_utf8("刘\xFE\x9F"), "\xE5\x88\x98\xE4\xB6\xAE");
  EXPECT_EQ(rt::to_utf8("\x95\x32\x82\x36"), "\xF0\xA0\x80\x80");
}

// Codes as glibc's and Windows' GB 18030 converters give them: the
// characters GBK has not, the ends of the four-byte ranges, and the euro
// sign code page 936 kept in one byte.
TEST(TextEncoding, CharactersOutsideGbkHaveTheirGb18030Codes) {
  const std::pair<char32_t, const char*> codes[] = {
      {0x4DAE, "\xFE\x9F"},         {0x48BA, "\x82\x34\x88\x38"}, {0x3BBE, "\x82\x31\xB7\x39"},
      {0x20000, "\x95\x32\x82\x36"}, {0x0080, "\x81\x30\x81\x30"}, {0xFFFF, "\x84\x31\xA4\x39"},
      {0x10FFFF, "\xE3\x32\x9A\x35"}, {0x20AC, "\xA2\xE3"},        {0x3473, "\xFE\x55"},
  };
  for (auto [character, code] : codes) {
    std::string text;
    rt::append_character(character, text);
    EXPECT_EQ(text, code) << std::hex << unsigned(character);
    EXPECT_EQ(rt::character_at(code, 0), character) << std::hex << unsigned(character);
  }
  EXPECT_EQ(rt::character_at("\x80", 0), char32_t(0x20AC));
}

// Every character there is survives the round trip, and the codes it takes
// are exactly GB 18030's: 23940 of two bytes and 39420 four-byte ones in the
// Basic Multilingual Plane, the rest of the planes after them.
TEST(TextEncoding, EveryCharacterHasOneCodeAndComesBack) {
  size_t two = 0, four_bmp = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    std::string text;
    rt::append_character(c, text);
    ASSERT_TRUE(rt::is_whole_text(text)) << std::hex << unsigned(c);
    ASSERT_EQ(rt::character_size(text, 0), text.size()) << std::hex << unsigned(c);
    ASSERT_EQ(rt::character_at(text, 0), c) << std::hex << unsigned(c);
    if (text.size() == 2) ++two;
    if (text.size() == 4 && c < 0x10000) ++four_bmp;
  }
  EXPECT_EQ(two, 23940u);
  EXPECT_EQ(four_bmp, 39420u);
}

TEST(TextEncoding, BytesThatAreNoCharacterAreReplacedOneByOne) {
  const std::wstring fffd(1, wchar_t(0xFFFD));
  EXPECT_EQ(rt::widen("\x81 a"), fffd + L" a");                     // the space survives
  EXPECT_EQ(rt::widen("\xFF"), fffd);
  EXPECT_EQ(rt::widen("\x84\x31\xA5\x30"), fffd);                   // between the ranges
  EXPECT_EQ(rt::widen("\xE3\x32\x9A\x36" "1"), fffd + L"1");        // beyond U+10FFFF
  std::string replaced;
  rt::append_character(0xFFFD, replaced);
  EXPECT_EQ(rt::from_utf8("\xC0\x80z"), replaced + replaced + "z");  // overlong
  EXPECT_EQ(rt::from_utf8("\xED\xA0\x80"), replaced + replaced + replaced);  // a surrogate
  EXPECT_EQ(rt::from_utf8("\xE4\xB8"), replaced + replaced);         // cut
  EXPECT_EQ(rt::from_utf8("\xEF\xBF\xBD"), replaced);               // U+FFFD itself
}

TEST(TextEncoding, GbkTextsAreToldFromThoseThatNeedGb18030) {
  EXPECT_EQ(rt::first_outside_gbk("张三 13800138000 區\x81\x40"), std::string_view::npos);
  EXPECT_EQ(rt::first_outside_gbk("刘\xFE\x9F"), 2u);
  EXPECT_EQ(rt::first_outside_gbk("a\x82\x34\x88\x38"), 1u);
  EXPECT_EQ(rt::first_outside_gbk("\xA2\xE3"), 0u);  // GBK has the euro sign as 0x80
  EXPECT_EQ(rt::first_outside_gbk("\xAA\xA1"), std::string_view::npos);  // user-defined area
}

}  // namespace

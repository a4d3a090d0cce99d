// Texts as characters: every GBK code reads as code page 936 reads it,
// except the codes GB 18030 gave characters of their own.
#include "runtime/unicode.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/gb18030_table.h"
#include "runtime/text_encoding.h"

namespace {

TEST(CodePage936, GbkCodesReadAsWindowsReadsThem) {
  // FNV-1a over every (code, character) pair, taken from Windows' code page
  // 936 over the same codes.
  const uint16_t* added = rt::gb18030::kNotInCodePage936;
  const uint16_t* added_end = added + rt::gb18030::kNotInCodePage936Count;
  uint64_t hash = 0xcbf29ce484222325u;
  int characters = 0;
  for (unsigned code = 1; code < 65536; ++code) {
    if (std::binary_search(added, added_end, uint16_t(code))) continue;
    char bytes[2] = {char(code >> 8), char(code)};
    std::string_view text = code < 256 ? std::string_view(bytes + 1, 1) : std::string_view(bytes, 2);
    if (rt::character_size(text, 0) != text.size()) continue;
    char32_t c = rt::character_at(text, 0);
    if (c == 0xFFFD) continue;
    ++characters;
    for (unsigned v : {code, unsigned(c)}) hash = (hash ^ v) * 0x100000001b3u;
  }
  EXPECT_EQ(characters, 23987);
  EXPECT_EQ(hash, 7605207195199111929u);
}

TEST(DecodeGbk, CharactersAndTheirByteOffsets) {
  rt::DecodedText d = rt::decode_gbk(
      "a中\xA1\xA1"
      "b");
  EXPECT_EQ(d.chars, u"a中\u3000b");
  EXPECT_EQ(d.starts, (std::vector<uint32_t>{0, 1, 3, 5, 6}));
  // Bytes that form no character stand alone.
  d = rt::decode_gbk(
      "\x81\x7F"
      "x\xFF");
  EXPECT_EQ(d.chars, u"\uFFFD\x7Fx\uFFFD");
  EXPECT_EQ(d.starts, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(rt::decode_gbk("").starts, (std::vector<uint32_t>{0}));
  EXPECT_EQ(rt::decode_gbk("\x81").chars, u"\uFFFD");
  // A four-byte character is one character: its digit bytes are no digits.
  d = rt::decode_gbk("1\x82\x34\x88\x38" "2\x95\x32\x82\x36");
  EXPECT_EQ(d.chars, u"1\u48BA2\uFFFD");
  EXPECT_EQ(d.starts, (std::vector<uint32_t>{0, 1, 5, 6, 10}));
}

}  // namespace

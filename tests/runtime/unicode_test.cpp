// GBK texts as characters: the code page table is the same in both builds
// (the host's is built from glibc plus the private-use areas Windows adds).
#include "runtime/unicode.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage936, WholeTableMatchesWindows) {
  // FNV-1a over every (code, character) pair, taken from the Windows build.
  uint64_t hash = 0xcbf29ce484222325u;
  int characters = 0;
  for (unsigned code = 0; code < 65536; ++code) {
    char16_t c = rt::gbk_code_to_unicode(code);
    if (!c) continue;
    ++characters;
    for (unsigned v : {code, unsigned(c)}) {
      hash = (hash ^ v) * 0x100000001b3u;
    }
  }
  EXPECT_EQ(characters, 24068);
  EXPECT_EQ(hash, 665182176384040459u);
}

TEST(CodePage936, KnownCharacters) {
  EXPECT_EQ(rt::gbk_code_to_unicode(0x80), u'\u20AC');
  EXPECT_EQ(rt::gbk_code_to_unicode(0xA1A1), u'\u3000');
  EXPECT_EQ(rt::gbk_code_to_unicode(0xA3AC), u'\uFF0C');
  EXPECT_EQ(rt::gbk_code_to_unicode(0xA1C1), u'\u00D7');
  EXPECT_EQ(rt::gbk_code_to_unicode(0xAAA1), u'\uE000');
  EXPECT_EQ(rt::gbk_code_to_unicode(0xFF), 0);
  EXPECT_EQ(rt::gbk_code_to_unicode(0x817F), 0);
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
  d = rt::decode_gbk("1\x82\x34\x88\x38" "2");
  EXPECT_EQ(d.chars, u"1\uFFFD2");
  EXPECT_EQ(d.starts, (std::vector<uint32_t>{0, 1, 5, 6}));
}

}  // namespace

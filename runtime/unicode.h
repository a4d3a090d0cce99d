// GBK text as Unicode characters, for operations that count characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// A GBK text decoded into UTF-16 units, one per character, with the byte
// offset where each character starts (and the text's size after the last),
// so that results can be cut from the original bytes.
struct DecodedText {
  std::u16string chars;
  std::vector<uint32_t> starts;
};

// A byte with the high bit set and a following byte that together form a
// code page 936 character are one character; any other byte is one
// character on its own (an undecodable one reads as U+FFFD).
DecodedText decode_gbk(std::string_view gbk);

// The Unicode character of a one- or two-byte code (lead byte in the high
// half for two bytes); 0 when the code is not a character.
char16_t gbk_code_to_unicode(unsigned code);

}  // namespace rt

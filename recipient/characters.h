// GBK characters as the address parser walks them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/text_encoding.h"

namespace recipient {

// The character at `at` as a number: the byte, or lead * 256 + trail.
inline uint16_t char_code(std::string_view s, size_t at) {
  auto byte = [&](size_t i) { return uint16_t(static_cast<unsigned char>(s[i])); };
  return rt::character_size(s, at) == 2 ? uint16_t(byte(at) << 8 | byte(at + 1)) : byte(at);
}
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Full-width letters, digits and marks as ASCII, the ideographic space and
// the dash as their ASCII forms; other characters unchanged. (A web page's
// blanks are made plain where the text comes in: rt::with_plain_blanks.)
std::string half_width(std::string_view gbk);
// The same text with traditional characters in their simplified form. Each
// character keeps its length, so positions agree with the input.
std::string simplified(std::string_view gbk);

}  // namespace recipient

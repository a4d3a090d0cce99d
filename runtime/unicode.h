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

// Characters as the text's walk finds them; a byte that is no character
// is one on its own, read as U+FFFD.
DecodedText decode_gbk(std::string_view gbk);

}  // namespace rt

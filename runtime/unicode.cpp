#include "runtime/unicode.h"

#include "runtime/text_encoding.h"

namespace rt {

DecodedText decode_gbk(std::string_view gbk) {
  DecodedText out;
  out.chars.reserve(gbk.size());
  out.starts.reserve(gbk.size() + 1);
  for (size_t i = 0; i < gbk.size();) {
    char32_t c = rt::character_at(gbk, i);
    size_t n = rt::character_size(gbk, i);
    // A broken pair gives up only its first byte: the second may be ASCII.
    if (c == 0xFFFD && n == 2) n = 1;
    // One unit per character: a character beyond the 16-bit range (no
    // pattern names one) reads as U+FFFD, whole.
    out.chars.push_back(c < 0x10000 ? char16_t(c) : u'\uFFFD');
    out.starts.push_back(uint32_t(i));
    i += n;
  }
  out.starts.push_back(uint32_t(gbk.size()));
  return out;
}

}  // namespace rt

#include "runtime/unicode.h"

#include <array>
#include <memory>

#include "runtime/platform.h"
#include "runtime/text_encoding.h"

namespace {

// Code page 936 as one table, built once from the platform's converter:
// index b for single bytes, lead * 256 + trail for pairs.
const std::array<char16_t, 65536>& code_table() {
  static const std::unique_ptr<std::array<char16_t, 65536>> table = [] {
    auto t = std::make_unique<std::array<char16_t, 65536>>();
    for (unsigned b = 0; b < 0x80; ++b) (*t)[b] = char16_t(b);
    for (unsigned b = 0x80; b < 0x100; ++b) {
      char single = char(b);
      (*t)[b] = char16_t(platform_gbk_to_unicode(&single, 1));
      for (unsigned trail = 0x40; trail < 0x100; ++trail) {
        char pair[2] = {char(b), char(trail)};
        (*t)[b * 256 + trail] = char16_t(platform_gbk_to_unicode(pair, 2));
      }
    }
    return t;
  }();
  return *table;
}

}  // namespace

namespace rt {

char16_t gbk_code_to_unicode(unsigned code) { return code < 65536 ? code_table()[code] : 0; }

DecodedText decode_gbk(std::string_view gbk) {
  const auto& table = code_table();
  DecodedText out;
  out.chars.reserve(gbk.size());
  out.starts.reserve(gbk.size() + 1);
  for (size_t i = 0; i < gbk.size();) {
    unsigned b = static_cast<unsigned char>(gbk[i]);
    char16_t c = 0;
    size_t n = 1;
    if (rt::character_size(gbk, i) == 4) {
      // A four-byte character is one character, none of its digit bytes a
      // digit; code page 936 has no code for it.
      c = u'\uFFFD';
      n = 4;
    } else if (b >= 0x80 && i + 1 < gbk.size()) {
      c = table[b * 256 + static_cast<unsigned char>(gbk[i + 1])];
      if (c) n = 2;
    }
    if (!c) c = b < 0x80 ? char16_t(b) : table[b];
    if (!c && b) c = u'\uFFFD';
    out.chars.push_back(c);
    out.starts.push_back(uint32_t(i));
    i += n;
  }
  out.starts.push_back(uint32_t(gbk.size()));
  return out;
}

}  // namespace rt

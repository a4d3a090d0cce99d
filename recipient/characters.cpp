#include "recipient/characters.h"

#include <array>
#include <memory>

#include "recipient/tables.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

// Simplified form of every two-byte code, 0 where there is none.
using SimplifiedTable = std::array<uint16_t, 65536>;

const SimplifiedTable& simplified_table() {
  static const std::unique_ptr<SimplifiedTable> table = [] {
    auto t = std::make_unique<SimplifiedTable>();
    t->fill(0);
    std::string_view pairs(kTraditionalPairs);
    for (size_t i = 0; i + 4 <= pairs.size(); i += 4)
      (*t)[char_code(pairs, i)] = char_code(pairs, i + 2);
    return t;
  }();
  return *table;
}

}  // namespace

uint16_t char_code(std::string_view s, size_t at) {
  auto byte = [&](size_t i) { return uint16_t(static_cast<unsigned char>(s[i])); };
  return rt::character_size(s, at) == 2 ? uint16_t(byte(at) << 8 | byte(at + 1)) : byte(at);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string half_width(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (size_t at = 0; at < gbk.size(); at += rt::character_size(gbk, at)) {
    if (gbk[at] != '\xA1' && gbk[at] != '\xA3') {  // nothing to change
      out.append(gbk.substr(at, rt::character_size(gbk, at)));
      continue;
    }
    uint16_t code = char_code(gbk, at);
    if (code >= 0xA3A1 && code <= 0xA3FE)
      out += char(code - 0xA3A1 + 0x21);
    else if (code == 0xA1A1)
      out += ' ';
    else if (code == 0xA1AA)
      out += '-';
    else
      out.append(gbk.substr(at, rt::character_size(gbk, at)));
  }
  return out;
}

std::string simplified(std::string_view gbk) {
  const SimplifiedTable& table = simplified_table();
  std::string out(gbk);
  for (size_t at = 0; at < out.size(); at += rt::character_size(out, at)) {
    if (rt::character_size(out, at) != 2) continue;
    if (uint16_t to = table[char_code(out, at)]) {
      out[at] = char(to >> 8);
      out[at + 1] = char(to & 0xFF);
    }
  }
  return out;
}

}  // namespace recipient

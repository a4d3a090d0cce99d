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

std::string half_width(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  size_t kept = 0;  // where the bytes not yet copied start
  for (size_t at = 0; at < gbk.size(); at += rt::character_size(gbk, at)) {
    if (gbk[at] != '\xA1' && gbk[at] != '\xA3') continue;  // nothing to change
    uint16_t code = char_code(gbk, at);
    char ascii = code >= 0xA3A1 && code <= 0xA3FE ? char(code - 0xA3A1 + 0x21)
                 : code == 0xA1A1                 ? ' '
                 : code == 0xA1AA                 ? '-'
                                                  : '\0';
    if (ascii == '\0') continue;
    out.append(gbk.substr(kept, at - kept));
    out += ascii;
    kept = at + rt::character_size(gbk, at);
  }
  out.append(gbk.substr(kept));
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

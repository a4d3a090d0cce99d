#include "runtime/width.h"

#include <cstdint>

#include "runtime/text_encoding.h"

namespace {


// Full width of one ASCII byte.
void append_full(std::string& out, uint8_t c) {
  switch (c) {
    case 0x20: out += "\xA1\xA1"; return;  // ideographic space
    case 0x24: out += "\xA1\xE7"; return;  // the dollar sign lives in row A1
    case 0x7E: out += "\xA1\xAB"; return;
    case 0x5C: out += '\\'; return;  // no full-width form in this mapping
  }
  if (c > 0x20 && c < 0x7F) {
    out += '\xA3';
    out += char(c + 0x80);
    return;
  }
  out += char(c);
}

// Half width of the double-byte characters that have one, beyond the
// regular full-width ASCII block A3A1..A3FD.
struct HalfForm {
  uint16_t code;
  const char* half;
};
const HalfForm irregular_half_forms[] = {
    {0xA1A1, " "}, {0xA1A2, "?"},         {0xA1A3, "?"},     {0xA1AB, "~"},
    {0xA1AE, "'"}, {0xA1AF, "'"},         {0xA1B0, "\""},    {0xA1B1, "\""},
    {0xA1B8, "?"}, {0xA1B9, "?"},         {0xA1E7, "$"},     {0xA1F0, "?"},
    {0xA1F6, "?"}, {0xA1FA, "?"},         {0xA1FB, "?"},     {0xA1FC, "?"},
    {0xA1FD, "?"}, {0xA3A4, nullptr},     {0xA3DC, nullptr}, {0xA3FE, "\xA1\xA5"},
    {0xA956, "?"}, {0xA957, "|"},         {0xA960, "?"},     {0xA961, "?"},
    {0xA962, "?"}, {0xA964, "\xA9\x63?"}, {0xA9A6, "?"},
};

// Katakana (row A5) have no GBK half-width form: they come out as "?", and
// the voiced ones, which decompose, as "??".
const char katakana_voiced[] =
    "\xAC\xAE\xB0\xB2\xB4\xB6\xB8\xBA\xBC\xBE\xC0\xC2\xC5\xC7\xC9\xD0\xD1\xD3\xD4\xD6\xD7\xD9"
    "\xDA\xDC\xDD\xF4";
const char katakana_kept[] = "\xEE\xF0\xF1\xF5\xF6";

// Each ASCII byte as a one-character text.
struct AsciiTexts {
  char text[128][2] = {};
  constexpr AsciiTexts() {
    for (int c = 0; c < 128; ++c) text[c][0] = char(c);
  }
};
constexpr AsciiTexts ascii_texts;

bool contains(const char* set, uint8_t b) {
  for (; *set; ++set)
    if (uint8_t(*set) == b) return true;
  return false;
}

// Half width of one double-byte character; null keeps it.
const char* half_form(uint8_t lead, uint8_t trail) {
  uint16_t code = uint16_t(lead << 8 | trail);
  for (const HalfForm& f : irregular_half_forms)
    if (f.code == code) return f.half;
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD) return ascii_texts.text[trail - 0x80];
  if (lead == 0xA5 && trail >= 0xA1 && trail <= 0xF6 && !contains(katakana_kept, trail))
    return contains(katakana_voiced, trail) ? "??" : "?";
  return nullptr;
}

// Full width of one double-byte character; null keeps it.
const char* full_form(uint8_t lead, uint8_t trail) {
  if (lead == 0xA9 && (trail == 0x61 || trail == 0x62)) return "?";
  return nullptr;
}

}  // namespace

std::string gbk_map_width(std::string_view gbk, bool full) {
  std::string out;
  out.reserve(full ? gbk.size() * 2 : gbk.size());
  for (size_t i = 0; i < gbk.size();) {
    uint8_t b = uint8_t(gbk[i]);
    if (!rt::is_lead_byte(char(b))) {
      if (full && b < 0x80) {
        append_full(out, b);
      } else {
        out += char(b);
      }
      ++i;
      continue;
    }
    if (rt::character_size(gbk, i) == 4) {  // no other width: kept whole
      out.append(gbk.substr(i, 4));
      i += 4;
      continue;
    }
    if (i + 1 >= gbk.size() || !rt::is_trail_byte(gbk[i + 1])) {
      // An incomplete or invalid unit is read as "?".
      if (full) {
        append_full(out, '?');
      } else {
        out += '?';
      }
      i += (i + 1 < gbk.size()) ? 2 : 1;
      continue;
    }
    uint8_t trail = uint8_t(gbk[i + 1]);
    const char* mapped = full ? full_form(b, trail) : half_form(b, trail);
    if (mapped) {
      out += mapped;
    } else {
      out.append(gbk.substr(i, 2));
    }
    i += 2;
  }
  return out;
}

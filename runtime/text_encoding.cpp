#include "runtime/text_encoding.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "runtime/gb18030_table.h"

namespace rt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr unsigned kFourByteBmpCount = 39420;       // 0x81308130 .. 0x8431A439
constexpr unsigned kFourByteSupplementary = 189000;  // 0x90308130 is U+10000
constexpr size_t kNone = 0;

// The four-byte codes of the Basic Multilingual Plane number, in order, the
// code points that no one- or two-byte code has (surrogates left out); the
// table is built once from the two-byte codes, with its inverse.
struct Tables {
  std::vector<char16_t> four_byte_bmp;  // index -> code point
  std::vector<uint32_t> code_of_bmp;    // code point -> two-byte code or four-byte index | kFour
  static constexpr uint32_t kFour = 0x80000000u;
};

const Tables& tables() {
  static const std::unique_ptr<Tables> built = [] {
    auto t = std::make_unique<Tables>();
    t->code_of_bmp.assign(0x10000, kNone);
    for (size_t i = 0; i < gb18030::kTwoByteCount; ++i) {
      size_t lead = 0x81 + i / gb18030::kTrailCount, trail = 0x40 + i % gb18030::kTrailCount;
      if (trail >= 0x7F) ++trail;
      t->code_of_bmp[gb18030::kTwoByte[i]] = uint32_t(lead * 256 + trail);
    }
    t->four_byte_bmp.reserve(kFourByteBmpCount);
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if ((c >= 0xD800 && c < 0xE000) || t->code_of_bmp[c] != kNone) continue;
      t->code_of_bmp[c] = uint32_t(t->four_byte_bmp.size()) | Tables::kFour;
      t->four_byte_bmp.push_back(char16_t(c));
    }
    return t;
  }();
  return *built;
}

unsigned byte_at(std::string_view text, size_t at) { return static_cast<unsigned char>(text[at]); }

unsigned four_byte_index(std::string_view text, size_t at) {
  return (byte_at(text, at) - 0x81) * 12600 + (byte_at(text, at + 1) - 0x30) * 1260 +
         (byte_at(text, at + 2) - 0x81) * 10 + (byte_at(text, at + 3) - 0x30);
}

void append_four_byte(unsigned index, std::string& out) {
  char bytes[4];
  bytes[3] = char(0x30 + index % 10);
  index /= 10;
  bytes[2] = char(0x81 + index % 126);
  index /= 126;
  bytes[1] = char(0x30 + index % 10);
  bytes[0] = char(0x81 + index / 10);
  out.append(bytes, 4);
}

// UTF-16 on Windows, UTF-32 where wchar_t holds every character.
void append_wide(char32_t c, std::wstring& out) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(wchar_t(0xD800 + (c >> 10)));
      out.push_back(wchar_t(0xDC00 + (c & 0x3FF)));
      return;
    }
  }
  out.push_back(wchar_t(c));
}

}  // namespace

bool is_whole_text(std::string_view text) {
  for (size_t at = 0; at < text.size(); at = next_character(text, at)) {
    // 0x80 is code page 936's euro sign, which older texts may hold.
    if (byte_at(text, at) <= 0x80) continue;
    size_t size = character_size(text, at);
    if (size == 1 || (size == 2 && !is_trail_byte(text[at + 1]))) return false;
  }
  return true;
}

char32_t character_at(std::string_view text, size_t at) {
  unsigned b = byte_at(text, at);
  if (b < 0x80) return b;
  // Code page 936's euro sign, which older texts may hold.
  if (b == 0x80) return 0x20AC;
  switch (character_size(text, at)) {
    case 2: {
      unsigned trail = byte_at(text, at + 1);
      if (!is_trail_byte(text[at + 1])) return kReplacement;
      return gb18030::kTwoByte[(b - 0x81) * gb18030::kTrailCount + trail - 0x40 - (trail > 0x7F)];
    }
    case 4: {
      unsigned index = four_byte_index(text, at);
      if (index < kFourByteBmpCount) return tables().four_byte_bmp[index];
      if (index >= kFourByteSupplementary && index - kFourByteSupplementary < 0x100000)
        return char32_t(0x10000 + index - kFourByteSupplementary);
      return kReplacement;
    }
    default:
      return kReplacement;
  }
}

void append_character(char32_t c, std::string& out) {
  if (c < 0x80) return out.push_back(char(c));
  if (c > 0x10FFFF) c = kReplacement;
  if (c >= 0x10000) return append_four_byte(kFourByteSupplementary + unsigned(c - 0x10000), out);
  uint32_t code = tables().code_of_bmp[c];
  if (code == kNone) {
    out.push_back('?');  // a lone surrogate: no character
  } else if (code & Tables::kFour) {
    append_four_byte(code & ~Tables::kFour, out);
  } else {
    out.push_back(char(code >> 8));
    out.push_back(char(code & 0xFF));
  }
}

std::string with_plain_blanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); at = next_character(text, at)) {
    size_t size = next_character(text, at) - at;
    if (size != 4) {  // every such blank is a four-byte sequence
      out.append(text.substr(at, size));
      continue;
    }
    char32_t c = character_at(text, at);
    if (c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F)
      out += ' ';
    else if (!((c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF))
      out.append(text.substr(at, size));
  }
  return out;
}

size_t first_outside_gbk(std::string_view text) {
  const uint16_t* begin = gb18030::kNotInCodePage936;
  const uint16_t* end = begin + gb18030::kNotInCodePage936Count;
  for (size_t at = 0; at < text.size(); at = next_character(text, at)) {
    size_t size = character_size(text, at);
    if (size == 4) return at;
    if (size == 2 && std::binary_search(begin, end, uint16_t(byte_at(text, at) * 256 + byte_at(text, at + 1))))
      return at;
  }
  return std::string_view::npos;
}

std::wstring widen(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    char32_t c = character_at(text, at);
    size_t size = character_size(text, at);
    // A broken pair gives up only its first byte: the second may be ASCII.
    if (c == kReplacement && size == 2) size = 1;
    append_wide(c, wide);
    at += size;
  }
  return wide;
}

std::string narrow(std::wstring_view wide) {
  std::string text;
  text.reserve(wide.size() * 2);
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = char32_t(wide[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() &&
        wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(wide[++i]) - 0xDC00);
    append_character(c, text);
  }
  return text;
}

std::string to_utf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() * 3 / 2);
  for (size_t at = 0; at < text.size();) {
    char32_t c = character_at(text, at);
    size_t size = character_size(text, at);
    if (c == kReplacement && size == 2) size = 1;
    at += size;
    if (c < 0x80) {
      utf8.push_back(char(c));
      continue;
    }
    int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    utf8.push_back(char(kLead[tail] | (c >> (6 * tail))));
    for (int k = tail - 1; k >= 0; --k) utf8.push_back(char(0x80 | ((c >> (6 * k)) & 0x3F)));
  }
  return utf8;
}

std::string from_utf8(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    unsigned b = byte_at(utf8, at);
    int tail = b < 0x80 ? 0 : b < 0xC2 ? -1 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : b < 0xF5 ? 3 : -1;
    char32_t c = tail < 0 ? 0 : char32_t(b & (0x7F >> tail));
    size_t end = at + 1;
    for (int k = 0; k < tail && end < utf8.size() && (byte_at(utf8, end) & 0xC0) == 0x80; ++k)
      c = (c << 6) | (byte_at(utf8, end++) & 0x3F);
    bool whole = tail >= 0 && end == at + 1 + size_t(tail);
    bool shortest = tail < 2 || c >= (tail == 2 ? 0x800u : 0x10000u);
    bool scalar = c < 0xD800 || (c >= 0xE000 && c <= 0x10FFFF);
    // A broken sequence gives up its first byte only.
    if (!whole || !shortest || !scalar) {
      append_character(kReplacement, text);
      ++at;
      continue;
    }
    append_character(c, text);
    at = end;
  }
  return text;
}

}  // namespace rt

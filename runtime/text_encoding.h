// The program's text encoding, in one place: texts are GB 18030 bytes
// inside. Every GBK text is one byte for byte: ASCII bytes, and two-byte
// characters whose first byte is 0x81..0xFE and whose second byte may be
// below 0x80, as 區 is 85 5E. The characters GBK has not are four-byte
// sequences (first and third byte 0x81..0xFE, second and fourth an ASCII
// digit, as U+48BA is 82 34 88 38): a walk never stops inside one, so no
// digit search reads their digit bytes. Every walk over a text's characters
// and every conversion to and from the platform's wide characters go
// through here; the conversion is the module's own, the same on every
// platform (Wine has no GB 18030 code page).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

// True when the byte starts a two-byte character.
inline bool is_lead_byte(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

// True when the byte can end a two-byte character: 0x40..0xFE, not 0x7F.
inline bool is_trail_byte(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

inline bool is_digit_byte(char c) { return c >= '0' && c <= '9'; }

// Bytes of the character that starts at `at`: 4 for a four-byte character,
// 2 for a lead byte with another byte after it, else 1 (ASCII, a stray
// byte, a lead byte cut off at the end).
inline size_t character_size(std::string_view text, size_t at) {
  if (!is_lead_byte(text[at]) || at + 1 >= text.size()) return 1;
  if (is_digit_byte(text[at + 1]) && at + 3 < text.size() && is_lead_byte(text[at + 2]) &&
      is_digit_byte(text[at + 3]))
    return 4;
  return 2;
}

// Whether the four-byte character at `at` is a CJK ideograph: extension A
// (U+3400–U+4DBF) or the supplementary ideographic planes (U+20000–
// U+3FFFF), where the rare characters of names and places are. The
// four-byte sequence numbers them in order: 0x81 30 81 30 is 0, each
// byte counts in its range (10, 126, 10).
inline bool is_four_byte_ideograph(std::string_view text, size_t at) {
  if (character_size(text, at) != 4) return false;
  auto b = [&](size_t k) { return unsigned(static_cast<unsigned char>(text[at + k])); };
  unsigned index = (b(0) - 0x81) * 12600 + (b(1) - 0x30) * 1260 + (b(2) - 0x81) * 10 + (b(3) - 0x30);
  constexpr unsigned kExtensionA = 12439, kExtensionAEnd = 18978;      // U+3400, U+4DBF
  constexpr unsigned kPlaneTwo = 254536, kPlaneThreeEnd = 385607;      // U+20000, U+3FFFF
  return (index >= kExtensionA && index <= kExtensionAEnd) ||
         (index >= kPlaneTwo && index <= kPlaneThreeEnd);
}

// Where the character after the one at `at` starts.
inline size_t next_character(std::string_view text, size_t at) {
  return at + character_size(text, at);
}

// Where the character before `end` starts (0 for `end` 0), found by walking
// from the start: a second byte can look like ASCII, so the byte before
// `end` does not tell. (Inline, as the whole walk is, so that the address
// parser needs nothing else of the runtime.)
inline size_t previous_character(std::string_view text, size_t end) {
  size_t at = 0, last = 0;
  while (at < end && at < text.size()) {
    last = at;
    at = next_character(text, at);
  }
  return last;
}

// Whether `at` is where a character starts (or the text's end), not inside
// one.
inline bool is_character_start(std::string_view text, size_t at) {
  size_t walked = 0;
  while (walked < at && walked < text.size()) walked = next_character(text, walked);
  return walked == at;
}

// Whether every byte is ASCII, code page 936's euro sign (0x80) or part of
// a whole character (a two-byte one with a second byte of 0x40..0xFE, not
// 0x7F, or a four-byte one): no character was cut.
bool is_whole_text(std::string_view text);

// The Unicode character at `at`, `character_size` bytes long; U+FFFD when
// those bytes are no character.
char32_t character_at(std::string_view text, size_t at);

// The character's bytes, appended to `out` (a lone surrogate as "?").
void append_character(char32_t character, std::string& out);

// Where the first character that code page 936 (GBK, what older versions
// and other programs read) has not, or reads as another, starts; npos when
// there is none.
size_t first_outside_gbk(std::string_view text);

// The text with web pages' blanks made plain: a no-break space and the
// other spaces of Unicode's punctuation block become " ", zero-width
// characters (U+200B–U+200D, U+2060, U+FEFF) go; a tab or a lone CR stays.
// What a page copied looks as typed, and cfg.ini (GBK) can keep it.
std::string with_plain_blanks(std::string_view text);

// The text as the platform's wide characters (UTF-16 on Windows) for its
// wide calls, and back. Every character survives the round trip; bytes that
// are no character become U+FFFD, one per byte (a whole four-byte sequence
// outside the code space is one).
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view wide);

// The text as UTF-8, for the command line, and back; the same round trip.
std::string to_utf8(std::string_view text);
std::string from_utf8(std::string_view utf8);

}  // namespace rt

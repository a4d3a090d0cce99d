// The program's text encoding, in one place: texts are GBK bytes inside
// (ASCII bytes, and two-byte characters whose first byte is 0x81..0xFE and
// whose second byte may be below 0x80, as 區 is 85 5E). Every walk over a
// text's characters and every conversion to and from the platform's UTF-16
// go through here.
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

// Bytes of the character that starts at `at`: 2 for a lead byte with a byte
// after it, else 1 (ASCII, a stray byte, a lead byte cut off at the end).
inline size_t character_size(std::string_view text, size_t at) {
  return is_lead_byte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// Where the character after the one at `at` starts.
inline size_t next_character(std::string_view text, size_t at) {
  return at + character_size(text, at);
}

// Where the character before `end` starts (0 for `end` 0), found by walking
// from the start: a second byte can look like ASCII, so the byte before
// `end` does not tell.
size_t previous_character(std::string_view text, size_t end);

// Whether `at` is where a character starts (or the text's end), not inside
// one.
bool is_character_start(std::string_view text, size_t at);

// Whether every byte is ASCII or part of a whole two-byte character (a
// second byte of 0x40..0xFE, not 0x7F): no character was cut.
bool is_whole_text(std::string_view text);

// The text as the platform's wide characters (UTF-16 on Windows) for its
// wide calls, and back. Bytes that are no character and characters the
// encoding has not are replaced, never dropped silently into another text.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view wide);

}  // namespace rt

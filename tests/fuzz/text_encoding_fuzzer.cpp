// Walks arbitrary bytes as the program's text and checks that every walk
// agrees: forwards and backwards meet at the same character starts, each
// character is one, two or four bytes (never stopping inside a four-byte
// one's digits), and a whole text's two-byte characters all end in a
// second byte. A text whose every byte belongs to a character comes back
// whole from the wide characters and from UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/text_encoding.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The backward checks walk from the start each time: 4 KB is plenty.
  std::string_view text(reinterpret_cast<const char*>(data), size < 4096 ? size : 4096);
  size_t at = 0, previous = 0;
  bool trails_valid = true;
  while (at < text.size()) {
    size_t n = rt::character_size(text, at);
    check(n == 1 || n == 2 || n == 4);
    check(rt::is_character_start(text, at));
    if (at > 0) check(rt::previous_character(text, at) == previous);
    if (n == 4) {
      check(rt::is_digit_byte(text[at + 1]) && rt::is_digit_byte(text[at + 3]));
      for (size_t inside = at + 1; inside < at + 4; ++inside)
        check(!rt::is_character_start(text, inside));
    } else if (n == 2) {
      check(rt::is_lead_byte(text[at]));
      if (!rt::is_trail_byte(text[at + 1])) trails_valid = false;
      check(!rt::is_character_start(text, at + 1));
    } else if (static_cast<unsigned char>(text[at]) > 0x80) {
      trails_valid = false;  // a stray byte or a cut character (0x80 is the euro sign)
    }
    previous = at;
    at = rt::next_character(text, at);
  }
  check(at == text.size());
  check(rt::is_whole_text(text) == trails_valid);
  std::wstring wide = rt::widen(text);
  bool all_characters = wide.find(wchar_t(0xFFFD)) == std::wstring::npos &&
                        text.find('\x80') == std::string_view::npos;  // 0x80 comes back as A2 E3
  if (all_characters) {
    check(rt::narrow(wide) == text);
    check(rt::from_utf8(rt::to_utf8(text)) == text);
  }
  check(rt::narrow(rt::widen(rt::narrow(wide))) == rt::narrow(wide));
  return 0;
}

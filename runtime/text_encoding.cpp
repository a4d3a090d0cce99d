#include "runtime/text_encoding.h"

namespace rt {

size_t previous_character(std::string_view text, size_t end) {
  size_t at = 0, last = 0;
  while (at < end && at < text.size()) {
    last = at;
    at = next_character(text, at);
  }
  return last;
}

bool is_character_start(std::string_view text, size_t at) {
  size_t walked = 0;
  while (walked < at && walked < text.size()) walked = next_character(text, walked);
  return walked == at;
}

bool is_whole_text(std::string_view text) {
  for (size_t at = 0; at < text.size(); at = next_character(text, at)) {
    if (static_cast<unsigned char>(text[at]) < 0x80) continue;
    size_t size = character_size(text, at);
    if (size == 1 || (size == 2 && !is_trail_byte(text[at + 1]))) return false;
  }
  return true;
}

}  // namespace rt

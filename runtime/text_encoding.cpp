#include "runtime/text_encoding.h"

namespace rt {

bool is_whole_text(std::string_view text) {
  for (size_t at = 0; at < text.size(); at = next_character(text, at)) {
    if (static_cast<unsigned char>(text[at]) < 0x80) continue;
    size_t size = character_size(text, at);
    if (size == 1 || (size == 2 && !is_trail_byte(text[at + 1]))) return false;
  }
  return true;
}

}  // namespace rt

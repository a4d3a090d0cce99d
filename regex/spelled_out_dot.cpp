#include "regex/spelled_out_dot.h"

#include "runtime/text_encoding.h"

namespace rx {

std::string spelled_out_dot(std::string_view gbk_pattern) {
  std::string out;
  out.reserve(gbk_pattern.size());
  // The service's classes end at the first unescaped "]", even right after
  // "[" ("[]" matches nothing, "[^]" anything).
  bool in_class = false;
  for (size_t i = 0; i < gbk_pattern.size();) {
    char c = gbk_pattern[i];
    size_t length = rt::character_size(gbk_pattern, i);
    if (c == '\\' && i + 1 < gbk_pattern.size()) length = 1 + rt::character_size(gbk_pattern, i + 1);
    if (in_class) {
      if (c == ']') in_class = false;
    } else if (c == '[') {
      in_class = true;
    } else if (c == '.') {
      out += "[^\\n]";
      ++i;
      continue;
    }
    out.append(gbk_pattern.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace rx

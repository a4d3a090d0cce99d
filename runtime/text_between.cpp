#include "runtime/text_between.h"

#include "runtime/text_ops.h"

namespace rt {

std::string text_between(std::string_view text, std::string_view left, std::string_view right,
                         Between mode) {
  int p = rt::find(text, left);
  if (p == -1) return {};
  size_t start = size_t(p - 1);
  if (mode == Between::from_left) return std::string(text.substr(start));
  start += left.size();
  if (mode == Between::after_left) return std::string(text.substr(start));
  int q = rt::find(text, right, int(start + 1));
  if (q == -1) return {};
  return std::string(text.substr(start, size_t(q - 1) - start));
}

}  // namespace rt

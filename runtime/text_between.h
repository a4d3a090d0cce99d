// The marker extraction shared by recognition, templates and the update
// check: a plain, case-sensitive search that matches only at character
// boundaries of the GBK text.
#pragma once

#include <string>
#include <string_view>

namespace rt {

enum class Between {
  strictly,    // the bytes strictly between `left` and the first `right` after it
  after_left,  // from after `left` to the end of the text
  from_left,   // from `left` (included) to the end of the text
};

// Empty when `left` is missing, or `right` is missing after it.
std::string text_between(std::string_view text, std::string_view left, std::string_view right = {},
                         Between mode = Between::strictly);

}  // namespace rt

// Pattern checks on recognised fields.
#pragma once

#include <string>
#include <string_view>

namespace recognize {

// True when `s` holds ASCII digits only; the empty text counts as digits.
bool is_all_digits(std::string_view s);

enum class PhoneKind { mobile = 1, fixed_line = 2 };

// The first phone number of the kind in the text; empty when none. Any
// other kind searches with an empty pattern, which finds the empty text.
std::string find_phone(std::string_view text, int kind);

}  // namespace recognize

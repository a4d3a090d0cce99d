// The recipient in the marketplace's address line, and the address box's
// line wrapping.
#pragma once

#include <string>
#include <string_view>

#include "view/parcel.h"

namespace recognize {

// The line reads: address, a space, "，", postcode, "，", name, "，", the
// phone number(s), the mobile number last.
view::Parcel parse_address_line(std::string_view line);

// The bytes of one line of an address box on the waybill: sixteen
// characters of the box's font fill its 80 mm.
inline constexpr int kAddressLineBytes = 32;

// Breaks `s` into lines of at most `width` bytes ending in CR LF: never
// inside a two-byte character or inside a run of ASCII letters and digits
// that does not start the line, never with an opening mark at a line's end
// or a closing mark at a line's start. A line the text already ends within
// the width is kept as it is. Empty when a line cannot be cut.
std::string wrap_text(std::string_view s, int width);

}  // namespace recognize

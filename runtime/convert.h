// Conversions between runtime values, and dates.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/text.h"
#include "runtime/value.h"

namespace rt {

Text to_text(const RtArg& value);
int32_t to_int(const RtArg& value);
double to_number(const RtArg& value);

// The leading decimal integer of a text: blanks, an optional sign, then
// digits up to the first other byte; no digits gives 0; saturates.
int64_t leading_integer(std::string_view text);
// The leading decimal number: sign, digits, optional point and fraction,
// optional exponent; no number gives 0.
double leading_number(std::string_view text);
// A typed text's number, read as every number the program takes from a
// text: full-width digits, signs and points count as their ASCII forms
// ("５" is 5), then the leading number (or integer) as above.
double text_number(std::string_view text);
int64_t text_integer(std::string_view text);

// Calendar parts of an OLE Automation date (day 0 is 30 December 1899).
struct DateParts {
  int year, month, day, hour, minute, second;
};
DateParts date_parts(double date);
// The OLE Automation date of a calendar date and time of day; dates before
// day 0 are stored as the negative of (days before day 0 + time fraction).
double date_from_parts(const DateParts& parts);

// "%d年%d月%d日", then the time down to its last non-zero part unless
// date-only.
Text date_text(double date, bool date_only);

// "%f"-style text with trailing zeros (and a bare point) removed.
Text number_text(double value);

}  // namespace rt

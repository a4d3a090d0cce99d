// The numbers printed on a courier's forms. A stack of forms is numbered in
// sequence, so the next form's number follows from this one's: one more on
// its trailing digits, or, for a number of the UPU S10 form that EMS uses
// (two letters, eight digits, a check digit, two letters), the next serial
// with its own check digit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace print {

// A number as typed or scanned: blanks left out, full-width letters and
// digits made plain, letters in upper case.
std::string typed_waybill_number(std::string_view typed);

// Why `number` cannot be a form's number, as a refusal says it; empty when
// it can.
std::string waybill_number_problem(std::string_view number);

// The next form's number: "0009" gives "0010", "YT0999" "YT1000", an S10
// number the next serial's with its check digit. None when there is no
// next one (no trailing digits, the last S10 serial).
std::optional<std::string> next_waybill_number(std::string_view number);

// The S10 check digit of eight serial digits.
int s10_check_digit(std::string_view serial);

}  // namespace print

// Phone numbers and postcodes in copied recipient text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "recipient/labels.h"

namespace recipient {

struct Numbers {
  std::string mobile;    // 11 digits, "-extension" for a virtual number
  std::string fixed;     // "area-number[-extension]", or a second mobile
  std::string postcode;  // 6 digits
  std::string masked;    // a mobile number written with '*' for digits
  int count = 0;         // phone numbers found, masked ones included
};

// Finds the numbers in `t` (half-width GBK) and blanks them out in `t` and
// in `s` (its simplified copy, same positions), so what is left is names
// and addresses. The first mobile number is the mobile; a fixed line, or
// else a second mobile, is the fixed line; a local number without its area code
// counts only after a phone label (`labels`, already blanked). A shop's
// number (售后 400-…, 客服电话) is taken out and kept nowhere. In a Hong
// Kong or Macao text (`region` "852" or "853") an eight-digit mobile
// without its country code is that region's ("9123 4567").
Numbers take_numbers(std::string& t, std::string& s, const std::vector<Label>& labels,
                     std::string_view region = {});

}  // namespace recipient

// Runs the address parser on arbitrary bytes and checks what it claims:
// mobiles are mobiles, a city comes with its province, a list has two
// recipients or more.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recipient/parser.h"

namespace {

bool all_digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A mainland mobile with its extension, a Hong Kong or Macao mobile
// ("+852" and 8 digits), a Taiwan one ("+886" and 9, or "09" and 8).
bool a_mobile(std::string_view s) {
  if (s.empty()) return true;
  if (s.starts_with("+852") || s.starts_with("+853")) return s.size() == 12 && all_digits(s.substr(1));
  if (s.starts_with("+886")) return s.size() == 13 && all_digits(s.substr(1));
  if (s.starts_with("09") && s.size() == 10) return all_digits(s);
  for (size_t i = 0; i < s.size(); ++i)
    if (!(s[i] >= '0' && s[i] <= '9') && !(s[i] == '-' && i == 11)) return false;
  return s.size() >= 11;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto list = recipient::parse_recipients(text);
  // One recipient has a phone number, a place or a street address.
  check(list.size() != 1 || !list[0].mobile.empty() || !list[0].fixed.empty() ||
        !list[0].masked_mobile.empty() || !list[0].province.empty() || !list[0].detail.empty());
  for (const recipient::Recipient& r : list) {
    check(a_mobile(r.mobile));
    check(r.city.empty() || !r.province.empty());
    check(r.district.empty() || !r.city.empty());
    check(r.postcode.empty() || r.postcode.size() == 6);
    check(recipient::full_address(r).size() >= r.detail.size());
  }
  return 0;
}

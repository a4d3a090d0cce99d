// Runs the address parser on arbitrary bytes and checks what it claims:
// numbers are digits, a city comes with its province, a list has two
// recipients or more.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recipient/parser.h"

namespace {

bool digits_with_extension(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i)
    if (!(s[i] >= '0' && s[i] <= '9') && !(s[i] == '-' && i == 11)) return false;
  return s.empty() || s.size() >= 11;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto list = recipient::parse_recipients(text);
  check(list.size() != 1 || !list[0].mobile.empty() || !list[0].phone.empty() ||
        !list[0].masked_mobile.empty() || !list[0].province.empty());
  for (const recipient::Recipient& r : list) {
    check(digits_with_extension(r.mobile));
    check(r.city.empty() || !r.province.empty());
    check(r.district.empty() || !r.city.empty());
    check(r.postcode.empty() || r.postcode.size() == 6);
    check(recipient::full_address(r).size() >= r.detail.size());
  }
  return 0;
}

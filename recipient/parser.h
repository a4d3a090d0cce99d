// The address parser: one recipient, or a list of them, from any copied
// text (order pages of any marketplace, chat messages, spreadsheet rows,
// the buyer's own words). Texts are GBK.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace recipient {

struct Recipient {
  std::string name;
  std::string mobile;    // digits, "-extension" for a virtual number
  std::string phone;     // fixed line "area-number[-extension]", or a second mobile
  std::string postcode;
  std::string province;  // full names; a municipality's city is the municipality
  std::string city;
  std::string district;
  std::string detail;    // everything below the district, street or town included
  std::string masked_mobile;  // a mobile number written with '*', never printed as real

};

Recipient parse_recipient(std::string_view text);

// The recipients of a text: several when it holds a list (one per line, or
// blocks between blank lines, each with a phone number and an address),
// else the one recipient it holds; none when it holds neither a phone
// number nor a place.
std::vector<Recipient> parse_recipients(std::string_view text);

// The address as the waybill prints it: province, city (not repeated for a
// municipality), district and detail.
std::string full_address(const Recipient& r);

}  // namespace recipient

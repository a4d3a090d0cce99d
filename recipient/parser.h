// The address parser: one recipient, or a list of them, from any copied
// text (order pages of any marketplace, chat messages, spreadsheet rows,
// the buyer's own words). Texts are GBK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recipient/goods.h"

namespace recipient {

// The eight fields, in their order; also the bits of `Recipient::check`.
enum class Item : uint8_t { name, mobile, fixed, postcode, province, city, district, detail };

struct Recipient {
  std::string name;
  std::string mobile;    // digits, "-extension" for a virtual number
  std::string fixed;     // fixed line "area-number[-extension]", or a second mobile
  std::string postcode;
  std::string province;  // full names; a municipality's city is the municipality
  std::string city;
  std::string district;
  std::string detail;    // everything below the district, street or town included
  std::string masked_mobile;  // a mobile number written with '*', never printed as real
  // A platform's masks over the name ("王**") or the detail ("****"): the
  // fields stay empty, and the seller is told to reveal the order first.
  bool masked_name = false;
  bool masked_detail = false;
  std::vector<GoodsItem> goods;  // what the text's labelled goods lines name
  // Fields the parser completed or guessed (a name without a label taken
  // by its shape, a short or misspelt division, one of several divisions
  // of that name): the seller should look at them before printing.
  uint8_t check = 0;

  void mark(Item item) { check = uint8_t(check | 1u << unsigned(item)); }
  bool marked(Item item) const { return (check >> unsigned(item)) & 1u; }
};

// The JSON key of a field ("name", "district").
std::string_view item_key(Item item);

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

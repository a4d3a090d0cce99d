// Reading province, city and district from the start of an address.
#pragma once

#include <cstddef>
#include <string_view>

namespace recipient {

struct Place {
  int province = -1, city = -1, district = -1;  // division indices, -1 when not written
  size_t end = 0;       // where the divisions end in the text
  bool certain = false;  // a full name (or a short form with its suffix) was read
  // Levels read by a guess: a name several divisions have, a county's short
  // form alone, a name with a character missing, a former name whose land
  // went to several divisions.
  bool guessed_province = false, guessed_city = false, guessed_district = false;
  bool found() const { return province >= 0; }
};

// Whether a street's name goes on at `at` (黄山路, 南京东路): a short
// place name before it is the street's, not a division.
bool continues_street(std::string_view s, size_t at);

// The divisions written at `at` in `s` (simplified GBK), top level first,
// any of them left out, blanks and commas between them allowed; the levels
// left out are completed from the lowest one read.
Place read_place(std::string_view s, size_t at);

}  // namespace recipient

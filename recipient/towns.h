// Towns and streets below the county-level divisions, to tell the district
// an address leaves out ("杭州市留下街道…" → 西湖区).
#pragma once

#include <cstddef>
#include <string_view>

namespace recipient {

struct TownMatch {
  int district = -1;  // division index; -1 when no town, or towns of several districts
  size_t length = 0;  // bytes of the town's name
};

// The town or street whose full name is written at `at` in `s` (simplified
// GBK) and lies under `city`, or under `province` when `city` is -1; a
// name two districts there have gives no district.
TownMatch town_at(std::string_view s, size_t at, int city, int province);

}  // namespace recipient

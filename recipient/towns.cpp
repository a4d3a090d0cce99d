#include "recipient/towns.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "recipient/characters.h"
#include "recipient/divisions.h"
#include "recipient/tables.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

constexpr size_t kLongestTown = 24;  // bytes: twelve characters

// Town names and the districts that have a town of that name; made on
// first use (most texts name their district).
const std::unordered_map<std::string, std::vector<int>>& towns() {
  static const std::unordered_map<std::string, std::vector<int>> table = [] {
    std::unordered_map<std::string, std::vector<int>> out;
    const Divisions& d = divisions();
    std::string_view rest(kTownTable);
    while (!rest.empty()) {
      size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      size_t space = line.find(' ');
      if (space == std::string_view::npos) continue;
      int district = d.find(std::stoi(std::string(line.substr(0, space))));
      if (district < 0) continue;
      for (size_t begin = space + 1; begin < line.size();) {
        size_t next = line.find(' ', begin);
        if (next == std::string_view::npos) next = line.size();
        std::vector<int>& districts = out[std::string(line.substr(begin, next - begin))];
        if (districts.empty() || districts.back() != district) districts.push_back(district);
        begin = next + 1;
      }
    }
    return out;
  }();
  return table;
}

bool lies_under(const Divisions& d, int district, int city, int province) {
  return city >= 0 ? d.at(district).parent == city : d.province_of(district) == province;
}

}  // namespace

TownMatch town_at(std::string_view s, size_t at, int city, int province) {
  const Divisions& d = divisions();
  const auto& table = towns();
  std::vector<size_t> ends;  // after each character, up to the longest name
  for (size_t i = at; i < s.size() && i - at < kLongestTown; i += rt::character_size(s, i))
    ends.push_back(i + rt::character_size(s, i));
  for (auto end = ends.rbegin(); end != ends.rend(); ++end) {
    auto found = table.find(std::string(s.substr(at, *end - at)));
    if (found == table.end()) continue;
    TownMatch m;
    for (int district : found->second) {
      if (!lies_under(d, district, city, province)) continue;
      if (m.district >= 0 && m.district != district) return {};  // two districts: no reading
      m = TownMatch{district, *end - at};
    }
    if (m.district >= 0) return m;
  }
  return {};
}

}  // namespace recipient

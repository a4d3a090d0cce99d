#include "recipient/divisions.h"

#include <algorithm>
#include <array>
#include <set>
#include <span>

#include "recipient/characters.h"
#include "recipient/tables.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

constexpr std::array<int, 4> kMunicipalities = {11, 12, 31, 50};
// Cities that stand for a municipality's districts, or for county-level
// cities a province governs directly (those become cities themselves).
constexpr std::array<std::string_view, 2> kMunicipalParts = {"市辖区", "县"};
constexpr std::array<std::string_view, 2> kDirectlyGoverned = {"省直辖县级行政区划",
                                                               "自治区直辖县级行政区划"};

// The suffixes a short form may be written with, longest first.
constexpr std::array<std::string_view, 7> kProvinceSuffixes = {
    "特别行政区", "维吾尔自治区", "壮族自治区", "回族自治区", "自治区", "省", "市"};
constexpr std::array<std::string_view, 5> kCitySuffixes = {"自治州", "地区", "市", "盟", "州"};
constexpr std::array<std::string_view, 9> kDistrictSuffixes = {
    "自治县", "自治旗", "新区", "林区", "特区", "区", "县", "市", "旗"};

// Peoples named in autonomous divisions; the short form ends before the first.
constexpr std::array<std::string_view, 48> kPeoples = {
    "蒙古族", "蒙古", "回族", "藏族", "维吾尔", "苗族", "彝族", "壮族", "布依族", "朝鲜族",
    "满族", "侗族", "瑶族", "白族", "土家族", "哈尼族", "哈萨克", "傣族", "黎族", "傈僳族",
    "佤族", "畲族", "拉祜族", "水族", "东乡族", "纳西族", "景颇族", "柯尔克孜", "土族",
    "达斡尔族", "仫佬族", "羌族", "布朗族", "撒拉族", "毛南族", "仡佬族", "锡伯族", "普米族",
    "塔吉克", "怒族", "鄂温克族", "鄂伦春", "保安族", "裕固族", "独龙族", "各族", "京族",
    "俄罗斯族"};

// Former and colloquial names still written in addresses, with the code of
// the division that carries them on.
struct FormerName {
  std::string_view name;
  int code;
};
constexpr std::array<FormerName, 27> kFormerNames = {{
    {"襄樊市", 4206},   {"襄樊", 4206},     {"思茅市", 5308},   {"思茅", 5308},
    {"襄阳区", 420607}, {"通什市", 469001}, {"胶南市", 370211}, {"胶南", 370211},
    {"蓟县", 120119},   {"开县", 500154},   {"郫县", 510117},   {"闸北区", 310106},
    {"卢湾区", 310101}, {"南汇区", 310115}, {"崇文区", 110101}, {"宣武区", 110102},
    {"塘沽区", 120116}, {"汉沽区", 120116}, {"大港区", 120116}, {"万盛区", 500110},
    {"达县", 511703},   {"芳村区", 440103}, {"四方区", 370203}, {"内蒙", 15},
    {"巴州", 6528},     {"博州", 6527},     {"克州", 6530},
}};

// Long banner and county names as people shorten them, taking the first
// character of each part ("达茂旗" for 达尔罕茂明安联合旗), which no stem
// rule derives.
constexpr std::array<FormerName, 24> kShortenedNames = {{
    {"达茂旗", 150223},   {"达茂", 150223},     {"科左中旗", 150521}, {"科左后旗", 150522},
    {"科右前旗", 152221}, {"科右中旗", 152222}, {"察右前旗", 150926}, {"察右中旗", 150927},
    {"察右后旗", 150928}, {"阿左旗", 152921},   {"阿右旗", 152922},   {"东乌旗", 152525},
    {"西乌旗", 152526},   {"新左旗", 150726},   {"新右旗", 150727},   {"土左旗", 150121},
    {"土右旗", 150221},   {"乌前旗", 150823},   {"乌中旗", 150824},   {"乌后旗", 150825},
    {"鄂前旗", 150623},   {"喀左县", 211324},   {"前郭县", 220721},   {"杜蒙县", 230624},
}};

// Of divisions sharing a name, the one meant when nothing else tells:
// the district of the larger city.
constexpr std::array<int, 12> kPreferred = {110105, 120101, 310107, 320106, 330106, 420107,
                                            440111, 440305, 500105, 610102, 120102, 370103};

bool preferred(int code) {
  return std::find(kPreferred.begin(), kPreferred.end(), code) != kPreferred.end();
}

bool is_one_of(std::string_view text, std::span<const std::string_view> list) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

size_t char_count(std::string_view s) {
  size_t n = 0;
  for (size_t at = 0; at < s.size(); at += rt::character_size(s, at)) ++n;
  return n;
}

std::span<const std::string_view> suffixes_of(const Division& d) {
  if (d.level == Level::province) return kProvinceSuffixes;
  if (d.level == Level::city && !d.directly_governed) return kCitySuffixes;
  return kDistrictSuffixes;
}

// The name without its level's suffix, cut before the people of an
// autonomous division; empty when under two characters are left.
// A county-level city a province governs directly is a city written with
// a county's suffix (神农架林区).
std::string stem(std::string_view name, std::span<const std::string_view> suffixes) {
  std::string_view s = name;
  if (s.ends_with("自治州") || s.ends_with("自治县") || s.ends_with("自治旗")) {
    for (size_t at = 0; at < s.size(); at += rt::character_size(s, at)) {
      bool people = std::any_of(kPeoples.begin(), kPeoples.end(),
                                [&](std::string_view p) { return s.substr(at).starts_with(p); });
      if (people) {
        s = s.substr(0, at);
        break;
      }
    }
  } else {
    for (std::string_view suffix : suffixes)
      if (s.ends_with(suffix) && s.size() > suffix.size()) {
        s.remove_suffix(suffix.size());
        break;
      }
  }
  return s != name && char_count(s) >= 2 ? std::string(s) : std::string();
}


}  // namespace

Divisions::Divisions() {
  load_table();
  districts_of_.resize(divisions_.size());
  for (size_t i = 0; i < divisions_.size(); ++i)
    if (divisions_[i].level == Level::district) districts_of_[size_t(divisions_[i].parent)].push_back(int(i));
  for (size_t i = 0; i < divisions_.size(); ++i)
    add_key(divisions_[i].name, NameForm{int(i), false});
  add_short_forms();
  add_former_names();
  for (std::vector<Key>& keys : keys_) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Key& a, const Key& b) { return a.text.size() > b.text.size(); });
    for (Key& key : keys)
      std::stable_sort(key.forms.begin(), key.forms.end(), [&](NameForm a, NameForm b) {
        int x = divisions_[size_t(a.division)].code, y = divisions_[size_t(b.division)].code;
        if (preferred(x) != preferred(y)) return preferred(x);
        return x < y;
      });
  }
}

void Divisions::load_table() {
  std::unordered_map<int, int> city_for;  // a table city's code → the city it stands for
  std::string_view table(kDivisionTable);
  bool former = false;
  while (!table.empty()) {
    size_t end = table.find('\n');
    std::string_view line = table.substr(0, end);
    table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
    if (line == "#former") former = true;
    size_t space = line.find(' ');
    if (space == std::string_view::npos) continue;
    int code = std::stoi(std::string(line.substr(0, space)));
    std::string name(line.substr(space + 1));
    if (former) {
      bool split = name.ends_with(" split");
      if (split) name.resize(name.size() - 6);
      if (int i = index_of(code); i >= 0) former_.push_back({NameForm{i, false, split}, name});
      continue;
    }
    Division d{code, name};
    if (space == 2) {
      d.municipality = std::find(kMunicipalities.begin(), kMunicipalities.end(), code) !=
                       kMunicipalities.end();
      by_code_[code] = int(divisions_.size());
      divisions_.push_back(d);
    } else if (space == 4) {
      int province = by_code_.at(code / 100);
      const Division& p = divisions_[size_t(province)];
      if (p.municipality && is_one_of(name, kMunicipalParts)) {
        int own = index_of(p.code * 100);
        if (own < 0) {
          own = int(divisions_.size());
          by_code_[p.code * 100] = own;
          divisions_.push_back(
              Division{p.code * 100, p.name, Level::city, province, true, true});
          divisions_[size_t(province)].own_city = own;
        }
        city_for[code] = own;
      } else if (is_one_of(name, kDirectlyGoverned)) {
        city_for[code] = -1;  // its county-level cities become cities
      } else {
        d.level = Level::city;
        d.parent = province;
        city_for[code] = by_code_[code] = int(divisions_.size());
        divisions_.push_back(d);
      }
    } else if (space == 6) {
      auto found = city_for.find(code / 100);
      if (found == city_for.end()) continue;
      if (found->second < 0) {
        d.level = Level::city;
        d.directly_governed = true;
        d.parent = by_code_.at(code / 10000);
      } else {
        Division& city = divisions_[size_t(found->second)];
        if (city.name == name) continue;  // a city without districts
        city.has_districts = true;
        d.level = Level::district;
        d.parent = found->second;
        d.municipality = city.municipality;
      }
      by_code_[code] = int(divisions_.size());
      divisions_.push_back(d);
    }
  }
}

// Keys are compared with simplified text, so they are simplified too (乾安县
// is written with a character the simplification turns into 干).
void Divisions::add_key(const std::string& name, NameForm form) {
  if (name.empty()) return;
  std::string text = simplified(name);
  std::vector<Key>& bucket = keys_[char_code(text, 0)];
  auto key = std::find_if(bucket.begin(), bucket.end(), [&](const Key& k) { return k.text == text; });
  if (key == bucket.end()) {
    uint16_t second = text.size() > 2 ? char_code(text, rt::character_size(text, 0)) : 0;
    bucket.push_back(Key{text, second, {}});
    key = bucket.end() - 1;
  }
  key->forms.push_back(form);
}

// A banner's common short name: its first character with the directions
// in its name (阿拉善左旗 → 阿左旗, 科尔沁右翼前旗 → 科右前旗); a banner
// whose name starts with a direction keeps two characters (东乌珠穆沁旗 →
// 东乌旗). Empty when the name has neither.
std::string banner_short_name(std::string_view name) {
  constexpr std::string_view kDirections = "左右前中后";
  if (!name.ends_with("旗") || name.size() < 8) return {};
  auto direction = [&](size_t at) {
    for (size_t i = 0; i < kDirections.size(); i += 2)
      if (name.compare(at, 2, kDirections.substr(i, 2)) == 0) return true;
    return false;
  };
  std::string out(name.substr(0, 2)), directions;
  for (size_t at = 2; at + 2 < name.size(); at += 2)
    if (direction(at)) directions += name.substr(at, 2);
  if (directions.empty() && (name.starts_with("东") || name.starts_with("西"))) directions = name.substr(2, 2);
  if (directions.empty()) return {};
  return out + directions + "旗";
}

void Divisions::add_short_forms() {
  for (size_t i = 0; i < divisions_.size(); ++i) {
    add_key(stem(divisions_[i].name, suffixes_of(divisions_[i])), NameForm{int(i), true});
    if (std::string banner = banner_short_name(divisions_[i].name); !banner.empty() && !has_key(banner))
      add_key(banner, NameForm{int(i), false});
  }
  add_names_with_a_character_missing();
}

// "沙坪区" for 沙坪坝区: a county's name of four or more characters with
// one of them (not its suffix) left out, where no division is written so.
// Read like a short form, only under its city, and always as a guess.
void Divisions::add_names_with_a_character_missing() {
  std::vector<std::pair<std::string, int>> found;
  for (size_t i = 0; i < divisions_.size(); ++i) {
    const std::string& name = divisions_[i].name;
    if (divisions_[i].level != Level::district || name.size() < 8) continue;
    for (size_t k = 0; k + 2 < name.size(); k += rt::character_size(name, k))
      found.emplace_back(name.substr(0, k) + name.substr(k + rt::character_size(name, k)), int(i));
  }
  for (const auto& [text, division] : found)
    if (!has_key(text)) add_key(text, NameForm{division, true, true});
}

// The hand list first (colloquial names, and the readings it settles), then
// the record of names given up, where no division is written so today;
// their stems too ("闸北" for 闸北区).
void Divisions::add_former_names() {
  for (std::span<const FormerName> names : {std::span<const FormerName>(kFormerNames),
                                             std::span<const FormerName>(kShortenedNames)})
    for (const FormerName& former : names)
      if (int i = index_of(former.code); i >= 0) add_key(std::string(former.name), NameForm{i, false});
  // A current name is never read as a former one; a name given up in
  // several places is read as each of them (the city written tells which).
  std::set<std::string> former_keys;
  auto add_former = [&](const std::string& name, NameForm form) {
    if (has_key(name) && !former_keys.contains(name)) return;
    add_key(name, form);
    former_keys.insert(name);
  };
  for (const auto& [form, name] : former_) {
    add_former(name, form);
    const Division& d = divisions_[size_t(form.division)];
    std::string short_name = stem(name, suffixes_of(d));
    if (!short_name.empty()) add_former(short_name, NameForm{form.division, true, form.split});
  }
  former_.clear();
}

bool Divisions::has_key(const std::string& name) const {
  std::string text = simplified(name);
  const std::vector<Key>& bucket = keys_[char_code(text, 0)];
  return std::any_of(bucket.begin(), bucket.end(), [&](const Key& k) { return k.text == text; });
}

int Divisions::index_of(int code) const {
  auto found = by_code_.find(code);
  return found == by_code_.end() ? -1 : found->second;
}

int Divisions::province_of(int index) const {
  while (index >= 0 && divisions_[size_t(index)].level != Level::province)
    index = divisions_[size_t(index)].parent;
  return index;
}

NameMatch Divisions::match(std::string_view s, size_t at,
                           Accept accept) const {
  std::array<NameMatch, 1> found;
  scan(s, at, [&](const Division& d, bool short_form) { return accept(d, short_form) ? 0 : -1; }, found);
  return found[0];
}

std::array<NameMatch, 3> Divisions::match_each_level(std::string_view s, size_t at) const {
  std::array<NameMatch, 3> found;
  scan(s, at, [](const Division& d, bool) { return int(d.level) - 1; }, found);
  return found;
}

// The longest match for each slot `slot_of` gives a division (-1: none).
template <size_t N, typename SlotOf>
void Divisions::scan(std::string_view s, size_t at, const SlotOf& slot_of, std::array<NameMatch, N>& found) const {
  if (at >= s.size()) return;
  const std::vector<Key>& bucket = keys_[char_code(s, at)];
  size_t next = at + rt::character_size(s, at);
  uint16_t second = next < s.size() ? char_code(s, next) : 0;
  size_t open = N;
  for (const Key& key : bucket) {
    if ((key.second != 0 && key.second != second) || s.compare(at, key.text.size(), key.text) != 0)
      continue;
    for (auto form_at = key.forms.begin(); form_at != key.forms.end(); ++form_at) {
      NameForm form = *form_at;
      const Division& d = divisions_[size_t(form.division)];
      int slot = slot_of(d, form.short_form);
      if (slot < 0 || found[size_t(slot)]) continue;
      NameMatch m{form, key.text.size()};
      m.ambiguous = form.split || std::any_of(form_at + 1, key.forms.end(), [&](NameForm other) {
        return other.division != form.division &&
               slot_of(divisions_[size_t(other.division)], other.short_form) == slot;
      });
      if (form.short_form)
        for (std::string_view suffix : suffixes_of(d))
          if (s.compare(at + m.length, suffix.size(), suffix) == 0) {
            m.length += suffix.size();
            m.suffixed = true;
            break;
          }
      found[size_t(slot)] = m;
      if (--open == 0) return;
    }
  }
}

const Divisions& divisions() {
  static const Divisions table;
  return table;
}

}  // namespace recipient

#include "recipient/places.h"

#include <algorithm>
#include <array>

#include "recipient/characters.h"
#include "recipient/divisions.h"
#include "runtime/text_encoding.h"

namespace recipient {

// Characters after which a short place name is a street's name instead
// (黄山路, 南京东路).
constexpr std::string_view kStreetContinuations =
    "路街道巷弄大桥广中东西南北里村新花小公宾酒饭商银国医学湾港口门站";

bool continues_street(std::string_view s, size_t at) {
  if (at >= s.size() || rt::character_size(s, at) != 2) return false;
  std::string_view c = s.substr(at, 2);
  for (size_t i = 0; i < kStreetContinuations.size(); i += 2)
    if (kStreetContinuations.substr(i, 2) == c) return true;
  return false;
}

namespace {

// Whether a street's name goes on at `at`: a street word, or a direction
// and one (双流路, 双流东路), or a bay (杭州湾新区); "双流东升街道" is 双流
// and a town.
bool street_name_goes_on(std::string_view s, size_t at) {
  auto one_of = [&](size_t i, std::string_view set) {
    if (i + 2 > s.size() || rt::character_size(s, i) != 2) return false;
    for (size_t k = 0; k < set.size(); k += 2)
      if (s.compare(i, 2, set, k, 2) == 0) return true;
    return false;
  };
  // A street named after the place and one more character (余杭塘路,
  // 海盐塘路), not a town's 街道 (双流城街道 is rare; 东升街道 has two).
  bool one_more = rt::character_size(s, at) == 2 && one_of(at + 2, "路街巷弄") &&
                  s.compare(at + 2, 4, "街道") != 0;
  return one_of(at, "路街道巷弄湾") || s.compare(at, 4, "大道") == 0 || one_more ||
         (one_of(at, "东西南北中") && one_of(at + 2, "路街道"));
}

// Between two levels also the marks pages and people put there
// (江苏省-苏州市-吴中区, 长沙市_岳麓区, 四川 > 成都).
bool is_gap(char c) {
  return c == ' ' || c == ',' || c == ';' || c == ':' || c == '\t' || c == '\r' || c == '\n' ||
         c == '-' || c == '_' || c == '>';
}

size_t skip_gaps(std::string_view s, size_t at) {
  while (at < s.size()) {
    if (is_gap(s[at]))
      ++at;
    else if (s.compare(at, 2, "、") == 0)
      at += 2;
    else
      break;
  }
  return at;
}

// Words some pages write between the levels (重庆市 县 巫山县), and what
// a form leaves in a level never chosen (null, 请选择).
constexpr std::array<std::string_view, 12> kFillers = {
    "自治区直辖县级行政区划", "省直辖县级行政区划", "市辖区", "直辖县", "其它区", "其他区", "其它", "其他",
    "请选择", "null", "NULL", "县"};

bool certain(const NameMatch& m) { return !m.form.short_form || m.suffixed; }

// Of two readings at one position the longer wins, then a full name, then
// the higher level.
bool better(const NameMatch& a, const NameMatch& b) {
  if (!b) return bool(a);
  if (!a) return false;
  if (a.length != b.length) return a.length > b.length;
  if (certain(a) != certain(b)) return certain(a);
  return !a.form.short_form && b.form.short_form;  // 吉林市 the city, not 吉林 + 市
}

class Reader {
 public:
  Reader(std::string_view s, size_t at) : s_(s), at_(skip_gaps(s, at)) {}

  Place read() {
    first_level();
    if (place_.province < 0 && place_.city < 0 && place_.district < 0) return {};
    if (place_.district < 0 && place_.city < 0) city();
    if (place_.district < 0) district();
    if (place_.district >= 0) sibling_after_district();
    complete();
    return place_;
  }

 private:
  // The first level written may be any of the three.
  void first_level() {
    auto [province, city, district] = d_.match_each_level(s_, at_);
    // "长治路116号", "丹东街道…", "湖南路": a street or a town named after
    // a place, not the place.
    for (NameMatch* m : {&province, &city})
      if (*m && !certain(*m) && street_name_goes_on(s_, at_ + m->length)) *m = {};
    // A county's short form alone (城步 for 城步苗族自治县) only where no
    // other division is written so and more of the address follows.
    // "东城街道", "凤凰街道": a town named after a county elsewhere.
    bool alone = district && !certain(district) && !district.ambiguous &&
                 s_.size() > at_ + district.length && !is_gap(s_[at_ + district.length]) &&
                 !continues_street(s_, at_ + district.length) && !town_after(at_ + district.length) &&
                 !town_named_after(at_ + district.length);
    if (district && !certain(district) && !alone) district = {};
    if (!better(city, province) && !better(district, province)) {
      take(province, place_.province);
    } else if (!better(district, city)) {
      take(city, place_.city);
    } else {
      take(district, place_.district);
    }
  }

  // "喀什市疏附县": a county-level city, then in full a county of the same
  // city that it does not contain. The county is meant, which the seller
  // checks.
  void sibling_after_district() {
    int parent = d_.at(place_.district).parent;
    NameMatch sibling = d_.match(s_, at_, [&](const Division& x, bool short_form) {
      return !short_form && x.level == Level::district && x.parent == parent;
    });
    if (!sibling || sibling.form.division == place_.district) return;
    // Its name of today: a former name ("莱芜市莱城区") is the detail's.
    const std::string& name = d_.at(sibling.form.division).name;
    if (sibling.length != name.size() || s_.compare(at_, name.size(), name) != 0) return;
    take(sibling, place_.district);
    place_.guessed_district = true;
  }

  void city() {
    int province = place_.province;
    if (province >= 0 && d_.at(province).own_city >= 0) {
      // A municipality's city may be written again, or not at all.
      place_.city = d_.at(province).own_city;
      NameMatch again = d_.match(s_, at_, [&](const Division& x, bool) {
        return x.level == Level::city && x.parent == province;
      });
      take(again, place_.city);
      return;
    }
    size_t before = at_;
    skip_fillers();
    NameMatch m = d_.match(s_, at_, [&](const Division& x, bool) {
      return x.level == Level::city && x.parent == province;
    });
    // A district named after its city (承德高新技术产业开发区, 阿拉善左旗,
    // 恩施市 in 恩施州) is read whole rather than as the city's short form
    // and a remainder.
    NameMatch district = d_.match(s_, at_, [&](const Division& x, bool) {
      return x.level == Level::district && d_.at(x.parent).parent == province;
    });
    bool district_whole = certain(district) && (district.length > m.length ||
                                                (district.length == m.length &&
                                                 m.form.short_form && !district.form.short_form));
    if (m && district_whole) m = {};
    if (!m) at_ = before;
    take(m, place_.city);
  }

  void district() {
    int city = place_.city;
    int province = city >= 0 ? d_.at(city).parent : place_.province;
    if (city >= 0 && !d_.at(city).has_districts) return;
    size_t before = at_;
    bool filler = skip_fillers();
    size_t after_filler = at_;
    // Under the city read; else anywhere in the province, written in full
    // or with its suffix (a county moved to another city keeps its name).
    NameMatch m;
    if (city >= 0)
      m = d_.match(s_, at_, [&](const Division& x, bool) {
        return x.level == Level::district && x.parent == city;
      });
    if (!m)
      m = d_.match(s_, at_, [&](const Division& x, bool) {
        return x.level == Level::district &&
               (province < 0 || d_.at(x.parent).parent == province);
      });
    // A county's short form under the province written, its city left out
    // ("浙江永康科源路"), when only one county of the province has it; a guess.
    bool in_province = m && city < 0 && province >= 0 && !m.ambiguous;
    // A county of another city only where its name says which one (a
    // county moved to another city); "大同市城区" is no other city's 城区.
    bool elsewhere = m && d_.at(m.form.division).parent != city;
    if (elsewhere && ((!certain(m) && !in_province) || (city >= 0 && m.ambiguous))) m = {};
    // 上城路, not 上城区; under the city or the province written, only a
    // street word stops a county's short form (成都双流东升街道 is 双流区).
    bool under_city = m && d_.at(m.form.division).parent == city;
    if (m && !certain(m) && !ends_with_suffix(at_ + m.length) &&
        (under_city || in_province ? street_name_goes_on(s_, at_ + m.length)
                                   : continues_street(s_, at_ + m.length)))
      m = {};
    // "济南市中区", "青岛市南区": the city's 市 begins the district.
    if (!m && city >= 0 && place_.end >= 2 && s_.compare(place_.end - 2, 2, "市") == 0) {
      at_ = place_.end - 2;
      m = d_.match(s_, at_, [&](const Division& x, bool short_form) {
        return x.level == Level::district && x.parent == city && !short_form;
      });
    }
    if (!m && city >= 0 && another_city(province)) return district();
    if (!m && city >= 0) m = with_a_character_wrong(city, after_filler);
    if (!m && filler) place_.end = after_filler;  // the detail starts after "其它区"
    if (!m) at_ = before;
    if (m && in_province && !certain(m)) place_.guessed_district = true;
    // "杭州市余杭镇…", "温州龙港镇…": the county's stem names its town, which
    // stays the detail's first word.
    // "杭州市余杭镇…", "温州龙港镇…": the county's stem names its town.
    names_town_ = m && !certain(m) && town_after(at_ + m.length);
    take(m, place_.district);
    names_town_ = false;
  }

  // "上街镇", "龙湖镇", "城东乡": a town named like a county elsewhere.
  bool town_after(size_t at) const {
    return s_.compare(at, 2, "镇") == 0 || s_.compare(at, 2, "乡") == 0;
  }

  // "射阳湖镇", "玄武湖街道": a town whose name holds the county's stem
  // and one more character.
  bool town_named_after(size_t at) const {
    if (at >= s_.size() || rt::character_size(s_, at) != 2) return false;
    return town_after(at + 2) || s_.compare(at + 2, 4, "街道") == 0;
  }

  // "余杭经济开发区", "嘉定工业区", "杭州大厦", "浙江大学": a zone or a
  // building named after the place.
  bool named_after_place(size_t at) const {
    static constexpr std::string_view kNamed[] = {
        "经济技术开发区", "经济开发区", "开发区", "工业区", "工业园", "高新区", "科技园", "新区",
        "大厦", "大学", "火车站", "东站", "西站", "南站", "北站", "机场", "大酒店", "饭店", "宾馆"};
    return std::any_of(std::begin(kNamed), std::end(kNamed),
                       [&](std::string_view word) { return s_.compare(at, word.size(), word) == 0; });
  }

  // Whether what was read before `end` ends with a county's suffix
  // ("沙坪区", a name with a character missing).
  bool ends_with_suffix(size_t end) const {
    if (end < 2) return false;
    std::string_view last = s_.substr(end - 2, 2);
    return last == "区" || last == "县" || last == "市" || last == "旗";
  }

  // "清浦区" for 青浦区: the one county of the city whose name, suffix
  // included, is written here with one other character wrong. A guess.
  NameMatch with_a_character_wrong(int city, size_t at) {
    NameMatch found;
    for (int i : d_.districts_of(city)) {
      const std::string& name = d_.at(i).name;
      if (name.size() < 6 || s_.compare(at, 0, std::string_view()) != 0 || at + name.size() > s_.size())
        continue;
      int wrong = 0;
      for (size_t k = 0; k < name.size() && wrong < 2; k += 2)
        wrong += s_.compare(at + k, 2, name, k, 2) != 0;
      bool same_suffix = s_.compare(at + name.size() - 2, 2, name, name.size() - 2, 2) == 0;
      if (wrong != 1 || !same_suffix) continue;
      if (found) return {};  // two readings: none
      found = NameMatch{NameForm{i, false, true}, name.size()};
      found.ambiguous = true;
    }
    if (found) at_ = at;
    return found;
  }

  // A platform's own levels: a second city of the province after the first
  // (伊犁哈萨克自治州塔城地区额敏县) is the city meant.
  bool another_city(int province) {
    NameMatch m = d_.match(s_, at_, [&](const Division& x, bool) {
      return x.level == Level::city && x.parent == province && int(&x - &d_.at(0)) != place_.city;
    });
    if (!m || !certain(m)) return false;
    place_.city = -1;
    take(m, place_.city);
    return true;
  }

  // Skips a filler level; whether it is one that never begins a detail
  // (其它区, 市辖区), unlike "县" (县城…).
  bool skip_fillers() {
    for (std::string_view filler : kFillers)
      if (s_.compare(at_, filler.size(), filler) == 0) {
        at_ = skip_gaps(s_, at_ + filler.size());
        return filler != "县";
      }
    return false;
  }

  void take(const NameMatch& m, int& level) {
    if (!m) return;
    level = m.form.division;
    bool guess = m.ambiguous || (m.form.short_form && !m.suffixed && levels_read_ == 0 &&
                                 d_.at(m.form.division).level == Level::district);
    if (guess && &level == &place_.district) place_.guessed_district = true;
    if (guess && &level == &place_.city) place_.guessed_city = true;
    place_.certain = place_.certain || certain(m) || levels_read_ > 0;
    ++levels_read_;
    // A short form that begins a town's, a zone's or a building's name
    // stays the detail's first word; the levels go on after it.
    bool names_more = !certain(m) && (names_town_ || named_after_place(at_ + m.length));
    place_.end = names_more ? at_ : at_ + m.length;
    at_ = skip_gaps(s_, at_ + m.length);
  }

  // The levels above the lowest one read follow from it.
  // A level completed from a guessed one is a guess too.
  void complete() {
    bool city_written = place_.city >= 0, province_written = place_.province >= 0;
    if (place_.district >= 0) place_.city = d_.at(place_.district).parent;
    if (place_.city >= 0) place_.province = d_.at(place_.city).parent;
    bool from_guess = place_.guessed_district || place_.guessed_city;
    if (!city_written && place_.guessed_district && !d_.at(place_.city).municipality) place_.guessed_city = true;
    if (!province_written && from_guess) place_.guessed_province = true;
  }

  const Divisions& d_ = divisions();
  std::string_view s_;
  size_t at_;
  Place place_;
  int levels_read_ = 0;
  bool names_town_ = false;  // the district being taken names its town too
};

}  // namespace

Place read_place(std::string_view s, size_t at) { return Reader(s, at).read(); }

}  // namespace recipient

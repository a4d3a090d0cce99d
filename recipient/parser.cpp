#include "recipient/parser.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "recipient/characters.h"
#include "recipient/divisions.h"
#include "recipient/labels.h"
#include "recipient/names.h"
#include "recipient/numbers.h"
#include "recipient/places.h"
#include "recipient/towns.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

// A piece of text between separators, with the field its label gave it.
struct Piece {
  size_t begin = 0, end = 0;
  Field field = Field::none;
  int line = 0;  // line breaks before the piece
  int cell = 0;  // tabs before the piece on its line (a spreadsheet's columns)
};

constexpr std::string_view kWideSeparators[] = {"、", "。", "【", "】", "“", "”", "《", "》"};

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The bytes of a separator at `at`, or 0; `before` is the character before
// it when that is ASCII, else 0 (the byte before `at` may be the last of a
// longer character: a Latin letter in GBK, a digit in a four-byte one). A
// blank between two Latin words is part of a name (Mike Wang).
size_t separator_at(std::string_view s, size_t at, char before) {
  char c = s[at];
  if (c == ' ' && at + 1 < s.size() && is_letter(before) && is_letter(s[at + 1])) return 0;
  // "张三/138…/浙江省…" parts, but "3/201" a building and its room.
  if (c == '/') return at + 1 < s.size() && is_digit(before) && is_digit(s[at + 1]) ? 0 : 1;
  if (c == ' ' || c == ',' || c == ';' || c == ':' || c == '\t' || c == '\r' || c == '\n' ||
      c == '|' || c == '"' || c == '[' || c == ']' || c == '!' || c == '?')
    return 1;
  // Numbering marks (①, ⑴, ⒈, Ⅰ) are GBK's second row.
  if (c == '\xA2' && at + 1 < s.size() && static_cast<unsigned char>(s[at + 1]) >= 0xA1) return 2;
  if (c != '\xA1') return 0;  // the wide separators are all in GBK's first row
  for (std::string_view w : kWideSeparators)
    if (s.compare(at, w.size(), w) == 0) return w.size();
  return 0;
}

// Marks only: nothing of a name or an address.
bool only_marks(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) {
    return c == '-' || c == '_' || c == '*' || c == '#' || c == '.' || c == '(' || c == ')' ||
           c == '/' || c == '~' || c == '=' || c == '+';
  });
}

// The pieces in order; a label gives its field to the piece after it, an
// address label also to the pieces after that on the same line (the next
// line may be anything: an order time, a price).
std::vector<Piece> pieces_of(std::string_view s, const std::vector<Label>& labels) {
  std::vector<Piece> pieces;
  size_t next_label = 0, begin = 0;
  int line = 0, label_line = 0, cell = 0;
  Field field = Field::none;
  bool given = false;
  auto close = [&](size_t end) {
    // "刘洋-13912345678-江苏省…": the dashes around a number taken out.
    while (begin < end && (s[begin] == '-' || s[begin] == '_')) ++begin;
    while (end > begin && s[end - 1] == '-') --end;
    if (end <= begin) return;
    while (next_label < labels.size() && labels[next_label].at < begin) {
      field = labels[next_label++].field;
      given = false;
      label_line = -1;
    }
    Piece p{begin, end, Field::none, line, cell};
    // A number's label gives nothing: its number was taken out already.
    bool whole_line = field == Field::address || field == Field::remark;
    bool address = whole_line && (!given || line == label_line);
    if (address || (field == Field::name && !given)) {
      p.field = field;
      given = true;
      label_line = line;
    }
    if (!only_marks(s.substr(begin, end - begin))) pieces.push_back(p);
  };
  char before = 0;  // the character before `at` when it is ASCII
  for (size_t at = 0; at < s.size();) {
    if (size_t n = separator_at(s, at, before)) {
      close(at);
      if (s[at] == '\n') ++line, cell = 0;
      if (s[at] == '\t') ++cell;
      before = s[at + n - 1];
      at += n;
      begin = at;
    } else {
      size_t size = rt::character_size(s, at);
      before = size == 1 ? s[at] : 0;
      at += size;
    }
  }
  close(s.size());
  return pieces;
}


// An identity card or order number left over: no part of an address.
bool long_number(std::string_view piece) {
  return piece.size() > 6 && std::all_of(piece.begin(), piece.end(), [](char c) {
           return is_digit(c) || c == 'X' || c == 'x';
         });
}

class Arrangement {
 public:
  // `written`: the text as the buyer wrote it (half-width), what is
  // printed; `simplified`: the same bytes with traditional characters
  // simplified, what is matched against.
  // `has_phone`: the text holds a phone number, so a name may be glued to
  // the address's end.
  Arrangement(const std::string& written, const std::string& simplified, std::vector<Piece> pieces,
              bool has_phone)
      : written_(written), simplified_(simplified), pieces_(std::move(pieces)), has_phone_(has_phone) {}

  void arrange(Recipient& r) {
    for (size_t i = 0; i < pieces_.size(); ++i) {
      if (pieces_[i].field == Field::address && said_in_words(i)) pieces_[i].field = Field::none;
      if (pieces_[i].field == Field::name && said_before_name(i)) {
        pieces_[i].field = Field::none;
        pieces_[i + 1].field = Field::name;
      }
      if (pieces_[i].field == Field::address) address_.push_back(i);
      if (pieces_[i].field == Field::name && !name_) name_ = i;
    }
    if (address_.empty())
      find_address();
    else
      place_first();
    if (!name_) choose_name();
    // What follows a name written after the address is a remark unless it
    // is plainly address ("…946室 杨寅 以及硬盘问题").
    if (name_ && !address_.empty() && *name_ > address_.front())
      std::erase_if(address_, [&](size_t i) {
        std::string_view words = simple(pieces_[i]);
        return i > *name_ && (!has_address_word(words) || ordinary_words(words));
      });
    write_address(r);
    if (name_ && name_ == spaced_name_) {
      r.name = std::string(text(pieces_[*name_])) + std::string(text(pieces_[*name_ + 1]));
    } else if (name_ && masked_name(simple(pieces_[*name_]))) {
      r.masked_name = true;  // a mask is no name
    } else if (name_) {
      r.name = name_of(text(pieces_[*name_]));
    } else if (!glued_name_.empty()) {
      r.name = glued_name_;
      name_guessed_ = name_likeness(glued_name_) != NameLikeness::strong;
    } else if (size_t start = glued_name_start(simple_detail_);
               has_phone_ && start < r.detail.size()) {
      // With no phone number, the text is a bare address: its tail
      // ("…小区门口", "…楼上") is address.
      r.name = r.detail.substr(start);
      r.detail.resize(start);
      name_guessed_ = true;
    }
    if (name_guessed_ && !r.name.empty()) r.mark(Item::name);
  }

 private:
  std::string_view text(const Piece& p) const { return std::string_view(written_).substr(p.begin, p.end - p.begin); }
  std::string_view simple(const Piece& p) const {
    return std::string_view(simplified_).substr(p.begin, p.end - p.begin);
  }
  bool free(size_t i) const { return pieces_[i].field == Field::none && name_ != i; }

  // "地址改成这个了": after an address label, ordinary words and no place
  // are what the buyer says about the address, not the address.
  bool said_in_words(size_t i) const {
    std::string_view words = simple(pieces_[i]);
    return ordinary_words(words) && !has_address_word(words) && !place_of(i).found();
  }

  // "收件人是我姐 王静": ordinary words after a name label, and the name
  // as the next piece on that line.
  bool said_before_name(size_t i) const {
    std::string_view words = simple(pieces_[i]);
    return i + 1 < pieces_.size() && pieces_[i + 1].line == pieces_[i].line &&
           pieces_[i + 1].field == Field::none && ordinary_words(words) &&
           name_likeness(words) == NameLikeness::none &&
           name_likeness(simple(pieces_[i + 1])) != NameLikeness::none;
  }

  // Labelled address pieces in any order ("详细地址" before "所在地区"):
  // the one that starts with the divisions goes first; a name-like piece
  // before it ("收货地址张三收货地址：成都市…") is the name when none is labelled.
  void place_first() {
    auto starts = std::find_if(address_.begin(), address_.end(),
                               [&](size_t i) { return starts_with_place(i, false); });
    // "地址在浙江省…": a word between the label and the divisions.
    if (starts == address_.end()) starts = first_with_place_inside(address_.begin(), address_.end());
    if (starts == address_.end()) return;
    std::vector<size_t> before(address_.begin(), starts);
    address_.erase(address_.begin(), starts);
    for (size_t i : before) {
      if (!name_ && name_likeness(simple(pieces_[i])) != NameLikeness::none)
        name_ = i;
      else
        address_.push_back(i);
    }
    // After the divisions on the label's line: a remark is left out, and
    // a surname's name is the name when none is labelled ("地址：江苏省…
    // 珠江路498号 杨寅 里面备注下…").
    std::erase_if(address_, [&](size_t i) {
      std::string_view words = simple(pieces_[i]);
      if (i == address_.front()) return false;
      if (delivery_request(words) || said_in_words(i)) return true;
      if (name_ || name_likeness(words) != NameLikeness::strong || has_address_word(words)) return false;
      name_ = i;
      return true;
    });
  }

  // The first piece that starts with the divisions; else a place written
  // inside a piece after a glued name ("张三浙江省…").
  void find_address() {
    std::optional<size_t> first;
    for (size_t i = 0; i < pieces_.size() && !first; ++i)
      if (free(i) && starts_with_place(i, true)) first = i;
    for (size_t i = 0; i < pieces_.size() && !first; ++i)
      if (free(i) && starts_with_place(i, false)) first = i;
    // Inside a piece after a glued name or a few words ("张三浙江省…",
    // "住在浙江省…"), never after a street's own name: "木樨园珠江骏景中区
    // 6号楼" is a street address, not 台中市 中区.
    auto before_place = [&](size_t i, size_t at) {
      std::string_view before = std::string_view(simplified_).substr(pieces_[i].begin, at - pieces_[i].begin);
      return before.size() <= 8 || ordinary_words(before) || name_likeness(before) != NameLikeness::none;
    };
    for (size_t i = 0; i < pieces_.size() && !first; ++i)
      if (std::optional<size_t> at = free(i) ? place_inside(i) : std::nullopt; at && before_place(i, *at)) {
        start_at_place_inside(i, *at);
        first = i;
      }
    if (!first) {
      for (size_t i = 0; i < pieces_.size(); ++i)
        if (free(i) && has_address_word(simple(pieces_[i]))) address_.push_back(i);
      return;
    }
    // The address goes on over its line and its cell, and over later lines
    // and cells only with pieces that are plainly address; a remark in
    // ordinary words (辛苦啦, 放门卫就行) never joins it.
    address_.push_back(*first);
    const Piece& start = pieces_[*first];
    for (size_t i = *first + 1; i < pieces_.size(); ++i) {
      const Piece& p = pieces_[i];
      bool same_cell = p.line == start.line && p.cell == start.cell;
      bool free_piece = p.field == Field::none || p.field == Field::address;
      std::string_view words = simple(p);
      bool address_word = has_address_word(words);
      bool remark = delivery_request(words) ||
                    (ordinary_words(words) && !address_word && !place_of(i).found());
      if (free_piece && !long_number(text(p)) && !remark && (same_cell || address_word))
        address_.push_back(i);
    }
    first_piece_ = *first;
  }

  // The divisions a piece starts with, read once (every pass asks).
  const Place& place_of(size_t i) const {
    if (places_.size() != pieces_.size()) places_.assign(pieces_.size(), std::nullopt);
    std::optional<Place>& place = places_[i];
    if (!place) place = read_place(simplified_, pieces_[i].begin);
    return *place;
  }

  bool starts_with_place(size_t i, bool certain_only) {
    const Piece& p = pieces_[i];
    const Place& place = place_of(i);
    if (!place.found()) return false;
    if (place.certain) return true;
    if (certain_only) return false;
    // A short name alone: a place when no street name goes on from it and
    // something follows.
    bool more = place.end < p.end || i + 1 < pieces_.size();
    return more && !continues_street(simplified_, place.end);
  }

  // Where a certain place starts inside a piece, after its first
  // character ("张三浙江省…"); nothing when none does.
  std::optional<size_t> place_inside(size_t i) const {
    const Piece& p = pieces_[i];
    for (size_t at = p.begin + rt::character_size(simplified_, p.begin); at < p.end;
         at += rt::character_size(simplified_, at)) {
      // A one-character name with its suffix (北区, 东区) inside a piece
      // is a part of the estate before it ("青口北区163栋").
      Place place = read_place(simplified_, at);
      if (place.found() && place.certain && place.end - at > 4) return at;
    }
    return std::nullopt;
  }

  // The piece made to start at the place inside it; what stood before is
  // kept as the glued name when it looks like one.
  void start_at_place_inside(size_t i, size_t at) {
    Piece& p = pieces_[i];
    glued_name_ = trimmed(std::string_view(written_).substr(p.begin, at - p.begin));
    if (name_likeness(std::string_view(simplified_).substr(p.begin, at - p.begin)) ==
        NameLikeness::none)
      glued_name_.clear();
    p.begin = at;
    if (i < places_.size()) places_[i].reset();  // read again from the new start
  }

  // The first piece of the range with a place inside, made to start there.
  template <typename Iterator>
  Iterator first_with_place_inside(Iterator from, Iterator to) {
    for (Iterator it = from; it != to; ++it)
      if (std::optional<size_t> at = place_inside(*it)) {
        start_at_place_inside(*it, *at);
        return it;
      }
    return to;
  }

  // A labelled name first; else a name-like piece: one that starts with a
  // surname before the address, then after it (taken out of the address),
  // and only then any other short word, before or after. A name found by
  // its shape alone, not its surname, is marked for checking.
  void choose_name() {
    for (NameLikeness wanted : {NameLikeness::strong, NameLikeness::weak}) {
      name_before(wanted);
      if (!name_) name_after(wanted);
      if (!name_ && wanted == NameLikeness::strong) spaced_name();
      if (name_) {
        if (wanted == NameLikeness::weak) name_guessed_ = true;
        break;
      }
    }
    if (name_) std::erase(address_, *name_);
  }

  // "张 伟": a surname alone and the given name as the next piece on its
  // line, neither in the address; the two become one piece.
  void spaced_name() {
    for (size_t i = 0; i + 1 < pieces_.size(); ++i) {
      Piece& surname = pieces_[i];
      const Piece& given = pieces_[i + 1];
      if (!free(i) || !free(i + 1) || in_address(i) || in_address(i + 1) || given.line != surname.line)
        continue;
      std::string_view given_text = simple(given);
      if (!lone_surname(simple(surname)) || given_text.size() < 2 || given_text.size() > 4 ||
          name_likeness(std::string(simple(surname)) + std::string(given_text)) == NameLikeness::none)
        continue;
      spaced_name_ = i;
      name_ = i;
      return;
    }
  }

  void name_before(NameLikeness wanted) {
    size_t before = first_piece_.value_or(pieces_.size());
    for (size_t i = 0; i < before && !name_; ++i)
      if (free(i) && !in_address(i) && name_likeness(simple(pieces_[i])) >= wanted) name_ = i;
  }

  // After the address: a surname's name anywhere, another word only
  // outside the address or as its last piece.
  void name_after(NameLikeness wanted) {
    if (!first_piece_) return;
    for (size_t i = *first_piece_ + 1; i < pieces_.size() && !name_; ++i) {
      if (!free(i) || name_likeness(simple(pieces_[i])) < wanted) continue;
      if (starts_with_place(i, true)) continue;  // 巴林左旗, not a name
      bool last = !address_.empty() && address_.back() == i;
      if (wanted == NameLikeness::strong || !in_address(i) || last) name_ = i;
    }
  }

  bool in_address(size_t i) const {
    return std::find(address_.begin(), address_.end(), i) != address_.end();
  }

  void write_address(Recipient& r) {
    std::string t, s;
    for (size_t i : address_) {
      if (name_ == i) continue;
      if (!t.empty()) t += ' ', s += ' ';
      t += text(pieces_[i]);
      s += simple(pieces_[i]);
    }
    Place place = without_repeats(s, read_place(s, 0));
    if (place.found()) {
      const Divisions& d = divisions();
      r.province = d.at(place.province).name;
      if (place.city >= 0) r.city = d.at(place.city).name;
      if (place.district >= 0) r.district = d.at(place.district).name;
      if (place.guessed_province) r.mark(Item::province);
      if (place.guessed_city) r.mark(Item::city);
      if (place.guessed_district) r.mark(Item::district);
      if (place.district < 0) district_from_town(r, s, place);
    }
    // The detail without blanks, in both forms (same positions), and
    // without a remark glued to its end.
    std::string detail, simple_detail;
    for (size_t at = place.found() ? place.end : 0; at < t.size(); ++at)
      if (t[at] != ' ') detail += t[at], simple_detail += s[at];
    detail = without_bracketed_request(detail);
    simple_detail.resize(detail.size());
    without_repeated_town(detail, simple_detail, place);
    size_t remark = glued_remark_start(simple_detail);
    detail.resize(remark);
    simple_detail.resize(remark);
    // A platform's mask over the detail ("西湖区****"): no address text.
    if (!detail.empty() && detail.find_first_not_of("*") == std::string::npos) {
      r.masked_detail = true;
      detail.clear();
      simple_detail.clear();
    }
    r.detail = trimmed(detail);
    simple_detail_ = simple_detail.substr(0, r.detail.size());
    if (detail.size() != r.detail.size())  // marks trimmed at the start
      simple_detail_ = simple_detail.substr(detail.find(r.detail), r.detail.size());
  }

  // A town written again, alone or after the divisions written again
  // ("渠口镇渠口镇…", "八里镇江苏省扬州市邗江区八里镇…"): the detail keeps
  // it once.
  static void without_repeated_town(std::string& detail, std::string& simple, const Place& place) {
    constexpr size_t kLongestTown = 10;  // characters
    size_t town = 0;  // where the first town's name ends
    size_t at = 0;
    for (size_t walked = 0; at < simple.size() && walked < kLongestTown && !town; ++walked) {
      for (std::string_view word : {"镇", "乡", "街道"})
        if (walked > 0 && simple.compare(at, word.size(), word) == 0) town = at + word.size();
      at = rt::next_character(simple, at);
    }
    for (int round = 0; round < 3 && town > 0; ++round) {
      size_t again_at = town;
      Place again = place.found() ? read_place(simple, town) : Place{};
      if (again.found() && again.certain && again.province == place.province) again_at = again.end;
      if (simple.compare(again_at, town, simple, 0, town) != 0) return;
      size_t repeat_end = again_at + town;
      detail.erase(town, repeat_end - town);
      simple.erase(town, repeat_end - town);
    }
  }

  // A district left out, told by the town written after the city (or the
  // province): "杭州市留下街道…" lies in 西湖区. The town stays in the
  // detail; the district is a guess to be checked.
  static void district_from_town(Recipient& r, std::string_view s, const Place& place) {
    const Divisions& d = divisions();
    if (place.city >= 0 && !d.at(place.city).has_districts) return;
    size_t at = place.end;
    while (at < s.size() && s[at] == ' ') ++at;
    TownMatch town = town_at(s, at, place.city, place.province);
    if (town.district < 0) return;
    r.district = d.at(town.district).name;
    r.mark(Item::district);
    if (place.city < 0) {
      r.city = d.at(d.at(town.district).parent).name;
      r.mark(Item::city);
    }
  }

  // The divisions written again after the first reading (copied twice, a
  // platform's level above the detail): the same divisions, down to at
  // least the level read first, are left out of the detail ("杭州市西湖区
  // 杭州市西湖区文三路", "浙江省浙江省杭州市…"); "杭州市第一人民医院" after
  // the district is a name, not a repeat.
  static Place without_repeats(std::string_view s, Place place) {
    auto same = [](int a, int b) { return a < 0 || b < 0 || a == b; };
    auto depth = [](const Place& p) { return p.district >= 0 ? 3 : p.city >= 0 ? 2 : 1; };
    for (int round = 0; round < 3 && place.found(); ++round) {
      Place again = read_place(s, place.end);
      if (!again.found() || !again.certain || again.province != place.province ||
          !same(again.city, place.city) || !same(again.district, place.district) ||
          depth(again) < depth(place))
        break;
      again.guessed_province = again.guessed_province || place.guessed_province;
      again.guessed_city = again.guessed_city || place.guessed_city;
      again.guessed_district = again.guessed_district || place.guessed_district;
      place = again;
    }
    // Another city's whole divisions right after a whole first address's
    // (a region picked on a form, then the address copied from a map,
    // "山东省临沂市临沭县中国浙江省杭州市余杭区龙潭路"): the street is the
    // second's, and which one is meant the seller decides.
    size_t next = place.found() ? after_country(s, place.end) : 0;
    Place second = place.found() && depth(place) == 3 ? read_place(s, next) : Place{};
    if (second.found() && second.certain && depth(second) == 3 && second.city != place.city &&
        s.compare(next, 4, divisions().at(second.province).name, 0, 4) == 0) {
      second.guessed_province = second.guessed_city = second.guessed_district = true;
      place = second;
    }
    return place;
  }

  // Where the text goes on after `at`, blanks and a country's "中国"
  // passed over.
  static size_t after_country(std::string_view s, size_t at) {
    while (at < s.size() && s[at] == ' ') ++at;
    return s.compare(at, 4, "中国") == 0 ? at + 4 : at;
  }

  // The detail without a request in brackets at its end ("…1号(请放前台)");
  // a bracketed place ("(东门)", "(近地铁站)") stays.
  static std::string without_bracketed_request(const std::string& detail) {
    if (!detail.ends_with(")")) return detail;
    size_t open = detail.rfind('(');
    if (open == std::string::npos || open == 0) return detail;
    std::string_view inside = std::string_view(detail).substr(open + 1, detail.size() - open - 2);
    bool request = delivery_request(inside) || (ordinary_words(inside) && !has_address_word(inside));
    return request ? detail.substr(0, open) : detail;
  }

  // A name without the "收" of "唐娜明收" (for the attention of).
  static std::string name_of(std::string_view piece) {
    std::string name = trimmed(without_remark(piece));
    if (name.size() >= 6 && name.ends_with("收")) name.resize(name.size() - 2);
    return name;
  }

  // Without the marks a piece may start or end with.
  static std::string trimmed(std::string_view s) {
    auto mark = [](char c) {
      return c == '-' || c == '.' || c == '_' || c == '/' || c == '~' || c == '>';
    };
    while (!s.empty() && (s.front() == ' ' || mark(s.front()))) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || mark(s.back())) &&
           (s.size() < 2 || rt::character_size(s, s.size() - 2) != 2))
      s.remove_suffix(1);
    return std::string(s);
  }

  const std::string& written_;
  const std::string& simplified_;
  std::vector<Piece> pieces_;
  bool has_phone_;
  std::vector<size_t> address_;
  std::optional<size_t> name_;
  std::optional<size_t> first_piece_;
  std::string glued_name_;
  bool name_guessed_ = false;
  std::optional<size_t> spaced_name_;  // a lone surname piece whose next piece is the given name
  mutable std::vector<std::optional<Place>> places_;  // by piece, read on first use  // a lone surname piece whose next piece is the given name
  std::string simple_detail_;
};

bool blank_line(std::string_view line) {
  for (size_t at = 0; at < line.size(); at += rt::character_size(line, at)) {
    char c = line[at];
    if (c != ' ' && c != '\t' && c != '\r' && line.compare(at, 2, "\xA1\xA1") != 0) return false;
  }
  return true;
}

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

// Groups of lines between blank lines, as one text each.
std::vector<std::string_view> blocks_of(std::string_view text) {
  std::vector<std::string_view> blocks;
  size_t begin = std::string_view::npos, at = 0;
  for (std::string_view line : lines_of(text)) {
    size_t line_at = size_t(line.data() - text.data());
    if (blank_line(line)) {
      if (begin != std::string_view::npos) blocks.push_back(text.substr(begin, at - begin));
      begin = std::string_view::npos;
    } else if (begin == std::string_view::npos) {
      begin = line_at;
    }
    at = line_at + line.size();
  }
  if (begin != std::string_view::npos) blocks.push_back(text.substr(begin, at - begin));
  return blocks;
}

// An address written bare, without divisions or numbers: one run of
// Chinese characters, letters and digits with an address's characters in
// it ("稠城街道下骆宅新塘下幼儿园"), no blank, no sentence mark, and none of
// a chat's pronouns or particles.
bool bare_address(std::string_view detail) {
  static constexpr std::string_view kChat = "我你您他她吗呢吧啊呀哦嗯喽啦嘛噢喔哇咯嘞呗谢请";
  // An estate's or a market's last character, with a number after it
  // ("云宇财富城6-9-918", "吉祥半岛15-10-3317").
  static constexpr std::string_view kEstates = "城园苑场厦港岛庄湾寓府墅";
  bool estate = false, digit = false;
  size_t characters = 0;
  for (size_t at = 0; at < detail.size(); at = rt::next_character(detail, at), ++characters) {
    size_t size = rt::character_size(detail, at);
    if (size == 4) continue;
    if (size == 1) {
      char c = detail[at];
      digit = digit || is_digit(c);
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '#' && c != '_') return false;
      continue;
    }
    uint16_t code = char_code(detail, at);
    if (code >= 0xA1A1 && code <= 0xA9FE) return false;  // a mark or a symbol
    for (size_t c = 0; c < kChat.size(); c += 2)
      if (char_code(kChat, c) == code) return false;
    for (size_t c = 0; c < kEstates.size(); c += 2) estate = estate || char_code(kEstates, c) == code;
  }
  return characters >= 3 && (has_address_word(detail) || (estate && digit)) && !delivery_request(detail) && !chat_words(detail);
}

// A name alone is no recipient: a phone number or a place must be there,
// or a street address without its divisions, a street word and a number
// ("金城路809号商会大厦c座109楼"), never a sentence ("我在路上").
bool found_any(const Recipient& r) {
  static constexpr std::string_view kStreetWords[] = {
      "路", "街", "道", "巷", "弄", "村", "镇", "乡", "栋", "幢", "楼", "室", "座",
      "苑", "小区", "大厦", "花园", "广场", "公寓", "市场", "中心", "工业区"};
  bool number = std::any_of(r.detail.begin(), r.detail.end(), [](char c) { return is_digit(c); });
  bool street = number && !delivery_request(r.detail) &&
                std::any_of(std::begin(kStreetWords), std::end(kStreetWords), [&](std::string_view w) {
                  for (size_t at = r.detail.find(w); at != std::string::npos; at = r.detail.find(w, at + 1))
                    if (rt::is_character_start(r.detail, at)) return true;
                  return false;
                });
  return !r.mobile.empty() || !r.fixed.empty() || !r.masked_mobile.empty() || !r.province.empty() ||
         street;
}

// One recipient of a list: a phone number and a place.
bool complete(const Recipient& r) {
  return (!r.mobile.empty() || !r.fixed.empty() || !r.masked_mobile.empty()) &&
         !r.province.empty();
}

// The recipients of the parts, when at least two are whole; with `all`,
// only when every part is.
std::vector<Recipient> list_of(const std::vector<std::string_view>& parts, bool all = false) {
  std::vector<Recipient> list;
  if (parts.size() < 2) return list;
  for (std::string_view part : parts) {
    Recipient r = parse_recipient(part);
    if (complete(r))
      list.push_back(std::move(r));
    else if (all)
      return {};
  }
  if (list.size() < 2) list.clear();
  return list;
}

// The non-blank lines, and the parts of a line between "；" (two
// recipients on one line).
std::vector<std::string_view> parts_of(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::string_view line : lines_of(text)) {
    if (blank_line(line)) continue;
    size_t begin = 0;
    for (size_t at = 0; at < line.size(); at += rt::character_size(line, at)) {
      size_t n = line[at] == ';' ? 1 : line.compare(at, 2, "；") == 0 ? 2 : 0;
      if (n == 0) continue;
      if (at > begin) parts.push_back(line.substr(begin, at - begin));
      begin = at + n;
    }
    if (begin < line.size()) parts.push_back(line.substr(begin));
  }
  return parts;
}

// Recipients written over several lines one after another: a new one
// starts at a part that brings a phone number, a place or a name where the
// current one has one already. None unless every one has a phone number
// and a place.
std::vector<std::string_view> groups_of(std::string_view text, const std::vector<std::string_view>& parts,
                                        const std::vector<Recipient>& read) {
  std::vector<std::string_view> groups;
  if (parts.size() < 2 || read.size() != parts.size()) return groups;
  struct Has {
    bool phone = false, place = false, name = false;
  } has;
  size_t begin = 0, end = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    const Recipient& r = read[i];
    bool phone = !r.mobile.empty() || !r.fixed.empty() || !r.masked_mobile.empty();
    bool named = !r.name.empty() || r.masked_name;  // a masked name is where one stands
    bool place = !r.province.empty(), name = named && !phone && !place;
    size_t at = size_t(parts[i].data() - text.data());
    bool starts = end > 0 && ((phone && has.phone) || (place && has.place) || (name && has.name));
    if (starts) {
      if (!has.phone || !has.place) return {};
      groups.push_back(text.substr(begin, end - begin));
      has = {};
      begin = at;
    } else if (end == 0) {
      begin = at;
    }
    has.phone |= phone, has.place |= place, has.name |= name || named;
    end = at + parts[i].size();
  }
  if (!has.phone || !has.place) return {};
  if (end > begin) groups.push_back(text.substr(begin, end - begin));
  return groups;
}

// A spreadsheet's rows under a header row ("姓名\t电话\t地址\t商品"), each
// written again with its column's label before each cell ("姓名:张三\t…");
// the columns whose header is no label (goods, quantity, remarks, serial
// numbers) are left out. None when the first line is no such header.
std::vector<std::string> rows_under_header(std::string_view text) {
  std::vector<std::string_view> lines = lines_of(text);
  auto cells_of = [](std::string_view line) {
    std::vector<std::string_view> cells;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    for (size_t begin = 0;;) {
      size_t tab = line.find('\t', begin);
      cells.push_back(line.substr(begin, tab == std::string_view::npos ? tab : tab - begin));
      if (tab == std::string_view::npos) return cells;
      begin = tab + 1;
    }
  };
  size_t first = 0;
  while (first < lines.size() && blank_line(lines[first])) ++first;
  if (first >= lines.size()) return {};
  std::vector<std::string_view> header = cells_of(lines[first]);
  if (header.size() < 2) return {};
  // A division's own column (省, 市, 区, 省份, 城市, 区县) is read as part of
  // the address.
  static constexpr std::string_view kDivisionHeaders[] = {"省", "市", "区", "县", "省份", "城市",
                                                         "区县", "地区", "省市区"};
  std::vector<bool> labelled;
  std::vector<std::string> names;
  int labels = 0;
  for (std::string_view cell : header) {
    std::string t = half_width(cell), s = simplified(t);
    std::string_view trimmed_cell = std::string_view(s).substr(0, s.find_last_not_of(' ') + 1);
    bool division = std::find(std::begin(kDivisionHeaders), std::end(kDivisionHeaders), trimmed_cell) !=
                    std::end(kDivisionHeaders);
    std::vector<Label> found = take_labels(t, s);
    bool label = division || (!found.empty() && found[0].field != Field::other &&
                              std::all_of(t.begin(), t.end(), [](char c) { return c == ' '; }));
    labelled.push_back(label);
    names.push_back(division ? std::string("地址") : std::string(cell));
    labels += label;
  }
  if (labels < 2) return {};
  std::vector<std::string> rows;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    if (blank_line(lines[i])) continue;
    std::vector<std::string_view> cells = cells_of(lines[i]);
    std::string row;
    for (size_t c = 0; c < cells.size() && c < header.size(); ++c)
      if (labelled[c]) row += names[c] + ":" + std::string(cells[c]) + "\t";
    rows.push_back(row);
  }
  return rows;
}

bool is_region(std::string_view province) {
  return province == "香港特别行政区" || province == "澳门特别行政区" || province == "台湾省";
}

// A chat program's line above a message: the sender and the time it was
// sent ("李娜 2026-05-06 09:12", "买家小王 昨天 21:03:11"). It ends with a
// time, and what is left without the date is a short word: no address,
// no number.
// Where a time ("9:12", "21:03:11") ending `line` starts, or npos.
size_t trailing_time(std::string_view line) {
  size_t at = line.size();
  for (int group = 0; group < 3; ++group) {
    size_t end = at;
    // A digit byte that ends a four-byte character is no digit of the time.
    while (at > 0 && end - at < 2 && is_digit(line[at - 1]) &&
           rt::previous_character(line, at) == at - 1)
      --at;
    if (at == end || (group < 2 && end - at != 2 && group == 0)) return std::string_view::npos;
    if (at == 0 || line[at - 1] != ':') return group >= 1 ? at : std::string_view::npos;
    --at;
  }
  return std::string_view::npos;
}

bool chat_header(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
  size_t time = trailing_time(line);
  if (time == std::string_view::npos) return false;
  std::string_view rest = line.substr(0, time);
  std::string words;
  size_t digits = 0;
  for (size_t i = 0; i < rest.size(); i += rt::character_size(rest, i)) {
    std::string_view c = rest.substr(i, rt::character_size(rest, i));
    bool date_mark = c == "-" || c == "/" || c == "." || c == " " || c == "年" || c == "月" || c == "日";
    if (is_digit(c[0]))
      ++digits;
    else if (!date_mark)
      words += c;
  }
  return digits <= 8 && words.size() <= 30 && !has_address_word(words);
}

// Blanks out the lines that are chat headers.
void blank_chat_headers(std::string& t, std::string& s) {
  for (size_t begin = 0; begin < t.size();) {
    size_t end = t.find('\n', begin);
    if (end == std::string::npos) end = t.size();
    if (chat_header(std::string_view(t).substr(begin, end - begin)))
      for (size_t i = begin; i < end; ++i) t[i] = s[i] = ' ';
    begin = end + 1;
  }
}

// Runs of lines, or single lines among others, that are recipients.
std::vector<Recipient> list_of_lines(std::string_view text) {
  std::vector<std::string_view> parts = parts_of(text);
  std::vector<Recipient> read;
  if (parts.size() >= 2)
    for (std::string_view part : parts) read.push_back(parse_recipient(part));
  std::vector<std::string_view> groups = groups_of(text, parts, read);
  if (groups.size() == parts.size()) {  // a recipient a line: read already
    std::vector<Recipient> list(read.begin(), read.end());
    if (std::all_of(list.begin(), list.end(), complete)) return list;
  }
  if (auto list = list_of(groups, true); !list.empty()) return list;
  // One recipient a line, other lines (a header, a greeting) left out.
  std::vector<Recipient> whole;
  for (Recipient& r : read)
    if (complete(r)) whole.push_back(std::move(r));
  if (whole.size() < 2) whole.clear();
  return whole;
}


}  // namespace

namespace {

// One recipient, and how many phone numbers the text holds.
// `region`: the country code of Hong Kong or Macao when the text was read
// as an address there, so its eight-digit mobiles are read as theirs.
// A text with its labels and numbers taken out: what decides whether it
// may be a list, before any place is read.
struct Prepared {
  std::string t, s;  // half-width, and simplified (same positions)
  std::vector<Label> labels;
  Numbers numbers;
  std::vector<GoodsItem> goods;
};

Prepared prepare(std::string_view text, std::string_view region) {
  Prepared p;
  p.t = half_width(text);
  p.s = simplified(p.t);
  blank_chat_headers(p.t, p.s);
  p.goods = read_goods(p.t);
  // Labels first: whether "电话" is a label depends on the number after it.
  p.labels = take_labels(p.t, p.s);
  p.numbers = take_numbers(p.t, p.s, p.labels, region);
  return p;
}

Recipient parse_one(std::string_view text, std::string_view region);

// The recipient of a prepared text (`text` as it was given).
Recipient arrange(Prepared& p, std::string_view text, std::string_view region) {
  Recipient r;
  r.goods = std::move(p.goods);
  r.mobile = p.numbers.mobile;
  r.fixed = p.numbers.fixed;
  r.postcode = p.numbers.postcode;
  r.masked_mobile = p.numbers.masked;
  bool has_phone = !r.mobile.empty() || !r.fixed.empty() || !r.masked_mobile.empty();
  Arrangement(p.t, p.s, pieces_of(p.s, p.labels), has_phone).arrange(r);
  // A masked detail standing apart ("西湖区 **** ，310000"), the numbers
  // already taken out: no address text, and said.
  if (r.detail.empty() && !r.province.empty() && p.s.find("***") != std::string::npos)
    r.masked_detail = true;
  // A Hong Kong, Macao or Taiwan number with a mainland address: one of
  // the two is wrong, and the seller must say which.
  bool region_number = r.mobile.starts_with("+8") || r.mobile.starts_with("09");
  if (region_number && !r.province.empty() && !is_region(r.province)) r.mark(Item::province);
  bool hong_kong = r.province == "香港特别行政区", macao = r.province == "澳门特别行政区";
  if (region.empty() && (hong_kong || macao) && r.mobile.empty() && r.fixed.empty())
    return parse_one(text, hong_kong ? "852" : "853");
  return r;
}

Recipient parse_one(std::string_view text, std::string_view region) {
  Prepared p = prepare(text, region);
  return arrange(p, text, region);
}

}  // namespace

Recipient parse_recipient(std::string_view text) { return parse_one(text, {}); }

std::vector<Recipient> parse_recipients(std::string_view text) {
  std::vector<std::string> rows = rows_under_header(text);
  if (rows.size() == 1) {
    Recipient one = parse_recipient(rows[0]);
    if (found_any(one)) return {one};
  }
  std::vector<std::string_view> row_views(rows.begin(), rows.end());
  if (auto list = list_of(row_views); !list.empty()) return list;
  // A list has a phone number for each recipient: with fewer than two,
  // the text is one recipient at most, and its lines need no reading.
  Prepared whole = prepare(text, {});
  if (whole.numbers.count >= 2) {
    if (auto list = list_of(blocks_of(text)); !list.empty()) return list;
    if (auto list = list_of_lines(text); !list.empty()) return list;
  }
  Recipient one = arrange(whole, text, {});
  if (found_any(one)) return {one};
  size_t first = text.find_first_not_of(" \t\r\n"), last = text.find_last_not_of(" \t\r\n");
  if (first == std::string_view::npos || !one.name.empty()) return {};
  std::string_view bare = text.substr(first, last + 1 - first);
  if (!bare_address(bare)) return {};
  // Words the parser does not know as an address: the whole text is the
  // detail, a remark glued to its end left out.
  if (one.detail.empty()) one.detail = bare.substr(0, glued_remark_start(bare));
  return {one};
}

std::string_view item_key(Item item) {
  static constexpr std::string_view keys[] = {"name",     "mobile", "phone",    "postcode",
                                              "province", "city",   "district", "detail"};
  return keys[size_t(item)];
}

std::string full_address(const Recipient& r) {
  std::string a = r.province;
  if (r.city != r.province) a += r.city;
  return a + r.district + r.detail;
}

}  // namespace recipient

#include "recipient/numbers.h"

#include <algorithm>
#include <bitset>
#include <string_view>

#include "recipient/characters.h"
#include "runtime/text_encoding.h"

namespace recipient {

namespace {

struct Found {
  size_t end = 0;
  std::string text;
  explicit operator bool() const { return end > 0; }
};

bool digit_at(std::string_view t, size_t at) { return at < t.size() && is_digit(t[at]); }

// Digits from `at`, at least `least` and at most `most`, not followed by a
// digit: their end, or 0.
size_t digits_end(std::string_view t, size_t at, size_t least, size_t most) {
  size_t end = at;
  while (digit_at(t, end) && end - at < most) ++end;
  if (end - at < least || digit_at(t, end)) return 0;
  return end;
}

bool is_boundary(std::string_view t, size_t at) {
  return at >= t.size() || !(is_digit(t[at]) || t[at] == '*');
}

// An extension after a number: "-8888", "转8888", "分机号：8888" (blanks
// allowed around a word), "ext8888", "#8888", and ",8888" (three or four
// digits only: six would be a postcode).
Found extension(std::string_view t, size_t at) {
  struct Mark {
    std::string_view text;
    bool word;
    size_t least, most;
  };
  static constexpr Mark marks[] = {{"-", false, 1, 6},   {"转", true, 1, 6},  {"分机号", true, 1, 6},
                                   {"分机", true, 1, 6},
                                   {"ext", true, 1, 6},  {"EXT", true, 1, 6}, {"#", false, 1, 6},
                                   {",", false, 3, 4}};
  size_t after_blanks = at;
  while (after_blanks < t.size() && t[after_blanks] == ' ') ++after_blanks;
  for (const Mark& m : marks) {
    size_t from = m.word ? after_blanks : at;
    if (t.compare(from, m.text.size(), m.text) != 0) continue;
    from += m.text.size();
    while (m.word && from < t.size() && (t[from] == ' ' || t[from] == ':')) ++from;  // 分机号：5678
    if (size_t end = digits_end(t, from, m.least, m.most))
      return Found{end, std::string(t.substr(from, end - from))};
  }
  return {};
}

// 11 digits from `at`, starting 1[3-9], written 3-4-4 with one blank or
// dash between groups, or without.
Found mobile_at(std::string_view t, size_t at) {
  if (!digit_at(t, at) || t[at] != '1' || !digit_at(t, at + 1) || t[at + 1] < '3') return {};
  std::string digits;
  size_t i = at;
  while (digits.size() < 11 && i < t.size()) {
    if (is_digit(t[i])) {
      digits += t[i++];
    } else if ((t[i] == ' ' || t[i] == '-') && (digits.size() == 3 || digits.size() == 7) &&
               digit_at(t, i + 1)) {
      ++i;
    } else {
      break;
    }
  }
  if (digits.size() != 11 || digit_at(t, i)) return {};
  return Found{i, digits};
}

bool is_mask(char c) { return c == '*' || c == 'x' || c == 'X'; }

// A mobile number with digits hidden, by any number of stars or x's
// ("138****8000", "139*****021", "137xxxx5678"): it starts with 1 and
// another digit and ends with a digit. Read no further than one character
// past the longest, so that a long run costs no more at each position.
Found masked_at(std::string_view t, size_t at) {
  if (!digit_at(t, at) || t[at] != '1' || !digit_at(t, at + 1)) return {};
  size_t i = at, masks = 0, digits = 0;
  while (i < t.size() && i - at <= 12 && (is_digit(t[i]) || is_mask(t[i]))) {
    (is_mask(t[i]) ? masks : digits) += 1;
    ++i;
  }
  if (masks < 3 || digits < 5 || masks + digits < 9 || masks + digits > 12 || !is_digit(t[i - 1]))
    return {};
  bool glued = i < t.size() && ((t[i] >= 'A' && t[i] <= 'Z') || (t[i] >= 'a' && t[i] <= 'z'));
  if (glued) return {};
  return Found{i, std::string(t.substr(at, i - at))};
}

// Exactly `want` digits from `from`, groups joined by one blank or dash,
// not followed by a digit; `end` is where they stop. Empty when not so.
std::string grouped_digits(std::string_view t, size_t from, size_t want, size_t& end) {
  std::string digits;
  size_t j = from;
  while (j < t.size() && digits.size() < want) {
    if (is_digit(t[j]))
      digits += t[j++];
    else if ((t[j] == ' ' || t[j] == '-') && !digits.empty() && digit_at(t, j + 1))
      ++j;
    else
      break;
  }
  end = j;
  return digits.size() == want && !digit_at(t, j) ? digits : std::string();
}

// A Hong Kong (5, 6, 9) or Macao (6) mobile written without "+852"/"+853".
Found local_region_mobile_at(std::string_view t, size_t at, std::string_view region) {
  if (region.empty() || !digit_at(t, at)) return {};
  bool starts = region == "853" ? t[at] == '6' : (t[at] == '5' || t[at] == '6' || t[at] == '9');
  size_t end = 0;
  std::string digits = starts ? grouped_digits(t, at, 8, end) : std::string();
  if (digits.empty()) return {};
  std::string number = "+";
  number.append(region).append(digits);
  return Found{end, number};
}

// Hong Kong, Macao and Taiwan numbers: "+852 9123 4567", "00853-66123456",
// "+886 912 345 678" (written "+852" and the digits), and Taiwan's own
// mobiles "0912-345-678" (as written, digits only).
Found region_mobile_at(std::string_view t, size_t at) {
  struct Region {
    std::string_view code;
    size_t digits;
  };
  static constexpr Region regions[] = {{"852", 8}, {"853", 8}, {"886", 9}};
  size_t i = at;
  if (t.compare(i, 1, "+") == 0) ++i;
  else if (t.compare(i, 2, "00") == 0) i += 2;
  for (const Region& r : regions) {
    if (i == at || t.compare(i, 3, r.code) != 0) continue;
    size_t from = i + 3;
    if (from < t.size() && (t[from] == ' ' || t[from] == '-')) ++from;
    size_t end = 0;
    std::string digits = grouped_digits(t, from, r.digits, end);
    if (digits.empty()) continue;
    std::string number = "+";
    number.append(r.code).append(digits);
    return Found{end, number};
  }
  if (t.compare(at, 2, "09") == 0) {
    size_t end = 0;
    std::string digits = grouped_digits(t, at, 10, end);
    if (!digits.empty()) return Found{end, digits};
  }
  return {};
}

// Area code with a number: "0571-88886666", "(0571)88886666",
// "0571 88886666", "057188886666", and the national service numbers
// "400-820-8820".
Found fixed_at(std::string_view t, size_t at) {
  size_t i = at;
  bool bracket = t[i] == '(';
  if (bracket) ++i;
  if (!digit_at(t, i)) return {};
  if (t.compare(i, 3, "400") == 0 || t.compare(i, 3, "800") == 0) {
    // As written: ten digits, dashes kept.
    size_t j = i, digits = 0;
    while (j < t.size() && digits < 10 && (is_digit(t[j]) || t[j] == '-')) digits += is_digit(t[j++]);
    if (digits == 10 && !digit_at(t, j)) return Found{j, std::string(t.substr(i, j - i))};
    return {};
  }
  if (t[i] != '0' || !digit_at(t, i + 1) || t[i + 1] == '0') return {};
  size_t area_length = (t[i + 1] == '1' || t[i + 1] == '2') ? 3 : 4;
  size_t area_end = i + area_length;
  for (size_t k = i; k < area_end; ++k)
    if (!digit_at(t, k)) return {};
  size_t j = area_end;
  if (bracket) {
    if (j >= t.size() || t[j] != ')') return {};
    ++j;
  }
  if (j < t.size() && (t[j] == '-' || t[j] == ' ')) ++j;
  if (!digit_at(t, j) || t[j] == '0') return {};
  size_t end = digits_end(t, j, 7, 8);
  if (!end) return {};
  std::string text = std::string(t.substr(i, area_length)) + "-" + std::string(t.substr(j, end - j));
  if (Found ext = extension(t, end)) {
    text += "-" + ext.text;
    end = ext.end;
  }
  return Found{end, text};
}

// "+86", "0086", "86" and "(+86)" before a mobile number.
size_t after_country_code(std::string_view t, size_t at) {
  for (std::string_view code : {"(+86)", "+86", "0086", "86"}) {
    if (t.compare(at, code.size(), code) != 0) continue;
    size_t i = at + code.size();
    if (i < t.size() && (t[i] == '-' || t[i] == ' ')) ++i;
    if (mobile_at(t, i)) return i;
  }
  return at;
}

// A postcode stands alone, after its label or glued to the end of the
// address ("文三路100号310012"): six digits, not glued to other text on
// its right.
// `after_character`: the character before `at` is no ASCII one (its last
// byte may look like ASCII).
bool postcode_at(std::string_view t, size_t at, size_t end, bool after_character) {
  if (end - at != 6 || t[at] == '9') return false;
  bool left = at == 0 || t[at - 1] == ' ' || t[at - 1] == ',' || t[at - 1] == ':' || t[at - 1] == '\t' ||
              t[at - 1] == '(' || t[at - 1] == ';' || t[at - 1] == '\n' ||
              after_character;
  bool right = end >= t.size() || t[end] == ' ' || t[end] == ',' || t[end] == ')' || t[end] == '\t' ||
               t[end] == ';' || t[end] == '\r' || t[end] == '\n';
  return left && right;
}

// Words that say a number is the shop's or a service's, not the buyer's.
constexpr std::string_view kShopWords[] = {"售后", "客服", "热线", "服务电话", "商家", "店铺", "投诉"};

// The end of a shop word starting at `at`, or 0.
size_t shop_word_end(std::string_view s, size_t at) {
  static const std::bitset<65536> first_characters = [] {
    std::bitset<65536> out;
    for (std::string_view w : kShopWords) out.set(char_code(w, 0));
    return out;
  }();
  if (static_cast<unsigned char>(s[at]) < 0x80 || !first_characters.test(char_code(s, at))) return 0;
  for (std::string_view w : kShopWords)
    if (s.compare(at, w.size(), w) == 0) return at + w.size();
  return 0;
}

// Whether a number at `at` follows a shop word that ended at `word_end`,
// with at most a few characters (电话, 热线) and blanks or a colon between.
bool shop_number(std::string_view s, size_t word_end, size_t at) {
  if (word_end == 0 || at < word_end || at - word_end > 10) return false;
  for (size_t i = word_end; i < at; ++i)
    if (s[i] != ' ' && s[i] != ':' && static_cast<unsigned char>(s[i]) < 0x80) return false;
  return true;
}

// A local number (7 or 8 digits, no area code) right after a phone label.
size_t local_number_end(std::string_view t, size_t at, const std::vector<Label>& labels) {
  // Only blanks between label and number: the label ends within the
  // blanks before it (labels are blanked already, and kept in text order).
  size_t blanks = at;
  while (blanks > 0 && t[blanks - 1] == ' ') --blanks;
  auto label = std::lower_bound(labels.begin(), labels.end(), blanks,
                                [](const Label& l, size_t from) { return l.end < from; });
  bool labelled = false;
  for (; label != labels.end() && label->end <= at && !labelled; ++label)
    labelled = label->field == Field::phone;
  if (!labelled || t[at] == '0' || t[at] == '1') return 0;
  return digits_end(t, at, 7, 8);
}

// "分机 5678", "转5678", "ext 5678" standing apart from any number: an
// extension of the number before it.
Found apart_extension(std::string_view t, size_t at) {
  // On the number's own field or the next one ("电话：…\n分机号：5678").
  bool apart = at == 0 || t[at - 1] == ' ' || t[at - 1] == ',' || t[at - 1] == ';' ||
               t[at - 1] == '\n' || t[at - 1] == '\r' || t[at - 1] == '\t';
  if (!apart) return {};
  bool word = t.compare(at, 4, "分机") == 0 || t.compare(at, 2, "转") == 0 ||
              t.compare(at, 3, "ext") == 0 || t.compare(at, 3, "EXT") == 0;
  return word ? extension(t, at) : Found{};
}

// Blanks a number out, with the brackets around it.
void blank(std::string& t, std::string& s, size_t from, size_t to) {
  if (from > 0 && t[from - 1] == '(' && to < t.size() && t[to] == ')') --from, ++to;
  for (size_t i = from; i < to; ++i) t[i] = s[i] = ' ';
}

}  // namespace

Numbers take_numbers(std::string& t, std::string& s, const std::vector<Label>& labels,
                     std::string_view region) {
  Numbers n;
  std::string second_mobile;
  size_t shop_begin = 0, shop_end = 0;
  std::string* last = nullptr;  // the number read last, while it has no extension
  // What the character before `at` is, kept as the walk steps (a jump past
  // a number lands on its last byte, an ASCII one): the byte before `at`
  // may be the last of a longer character, a digit byte of a four-byte one.
  bool after_digit = false, after_character = false;
  auto step = [&](size_t& at) {
    size_t size = rt::character_size(t, at);
    after_digit = size == 1 && is_digit(t[at]);
    after_character = size > 1;
    at += size;
  };
  for (size_t at = 0; at < t.size(); step(at)) {
    if (size_t end = shop_word_end(s, at)) shop_begin = at, shop_end = end;
    if (Found ext = last ? apart_extension(t, at) : Found{}) {
      *last += "-" + ext.text;
      last = nullptr;
      blank(t, s, at, ext.end);
      at = ext.end - 1;
      continue;
    }
    bool starts = (is_digit(t[at]) || t[at] == '+' || t[at] == '(') && !after_digit;
    if (!starts) continue;
    size_t from = after_country_code(t, at);
    if (shop_number(s, shop_end, at)) {
      Found m = mobile_at(t, from);
      Found fixed = m ? m : fixed_at(t, at);
      if (fixed) {
        blank(t, s, shop_begin, fixed.end);
        at = fixed.end - 1;
        continue;
      }
    }
    Found region_mobile = region_mobile_at(t, at);
    if (!region_mobile) region_mobile = local_region_mobile_at(t, at, region);
    if (region_mobile) {
      (n.mobile.empty() ? n.mobile : second_mobile) = region_mobile.text;
      ++n.count;
      blank(t, s, at, region_mobile.end);
      at = region_mobile.end - 1;
    } else if (Found m = mobile_at(t, from)) {
      std::string number = m.text;
      size_t end = m.end;
      if (Found ext = extension(t, end)) {
        number += "-" + ext.text;
        end = ext.end;
      }
      ++n.count;
      std::string& kept = n.mobile.empty() ? n.mobile : second_mobile;
      if (kept.empty()) {
        kept = number;
        last = end == m.end ? &kept : nullptr;
      }
      blank(t, s, at, end);
      at = end - 1;
    } else if (Found masked = masked_at(t, at); masked && is_boundary(t, masked.end)) {
      if (n.masked.empty()) n.masked = masked.text;
      ++n.count;
      blank(t, s, at, masked.end);
      at = masked.end - 1;
    } else if (Found fixed = fixed_at(t, at)) {
      if (n.fixed.empty()) {
        n.fixed = fixed.text;
        bool extended = std::count(fixed.text.begin(), fixed.text.end(), '-') > 1;
        last = extended || fixed.text.starts_with("400") || fixed.text.starts_with("800") ? nullptr : &n.fixed;
      }
      ++n.count;
      blank(t, s, at, fixed.end);
      at = fixed.end - 1;
    } else if (size_t local = local_number_end(t, at, labels)) {
      if (n.fixed.empty()) n.fixed = t.substr(at, local - at);
      ++n.count;
      blank(t, s, at, local);
      at = local - 1;
    } else if (size_t end = digits_end(t, at, 6, 6); end && n.postcode.empty() &&
                                                     postcode_at(t, at, end, after_character)) {
      n.postcode = t.substr(at, 6);
      blank(t, s, at, end);
      at = end - 1;
    }
  }
  if (n.fixed.empty()) n.fixed = second_mobile;
  return n;
}

}  // namespace recipient

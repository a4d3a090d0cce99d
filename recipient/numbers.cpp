#include "recipient/numbers.h"

#include <string_view>

#include "recipient/characters.h"

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

// An extension after a number: "-8888", "转8888" (blanks allowed around a
// word), "ext8888", "#8888", and ",8888" (three or four digits only: six
// would be a postcode).
Found extension(std::string_view t, size_t at) {
  struct Mark {
    std::string_view text;
    bool word;
    size_t least, most;
  };
  static constexpr Mark marks[] = {{"-", false, 1, 6},   {"转", true, 1, 6},  {"分机", true, 1, 6},
                                   {"ext", true, 1, 6},  {"EXT", true, 1, 6}, {"#", false, 1, 6},
                                   {",", false, 3, 4}};
  size_t after_blanks = at;
  while (after_blanks < t.size() && t[after_blanks] == ' ') ++after_blanks;
  for (const Mark& m : marks) {
    size_t from = m.word ? after_blanks : at;
    if (t.compare(from, m.text.size(), m.text) != 0) continue;
    from += m.text.size();
    while (m.word && from < t.size() && t[from] == ' ') ++from;
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

// "138****8000": three digits, at least four stars, the rest digits.
Found masked_at(std::string_view t, size_t at) {
  if (!digit_at(t, at) || t[at] != '1') return {};
  size_t i = at, stars = 0, digits = 0;
  while (i < t.size() && (is_digit(t[i]) || t[i] == '*')) {
    (t[i] == '*' ? stars : digits) += 1;
    ++i;
  }
  if (stars < 4 || stars + digits != 11) return {};
  return Found{i, std::string(t.substr(at, i - at))};
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

// A postcode stands alone or after its label: six digits, not glued to
// other text on its right.
bool postcode_at(std::string_view t, size_t at, size_t end) {
  if (end - at != 6 || t[at] == '9') return false;
  bool left = at == 0 || t[at - 1] == ' ' || t[at - 1] == ',' || t[at - 1] == ':' ||
              t[at - 1] == '(' || t[at - 1] == ';' || t[at - 1] == '\n' ||
              (at >= 2 && t.compare(at - 2, 2, "编") == 0);
  bool right = end >= t.size() || t[end] == ' ' || t[end] == ',' || t[end] == ')' ||
               t[end] == ';' || t[end] == '\r' || t[end] == '\n';
  return left && right;
}

// Blanks a number out, with the brackets around it.
void blank(std::string& t, std::string& s, size_t from, size_t to) {
  if (from > 0 && t[from - 1] == '(' && to < t.size() && t[to] == ')') --from, ++to;
  for (size_t i = from; i < to; ++i) t[i] = s[i] = ' ';
}

}  // namespace

Numbers take_numbers(std::string& t, std::string& s) {
  Numbers n;
  std::string second_mobile;
  for (size_t at = 0; at < t.size(); at += char_size(t, at)) {
    bool starts = (is_digit(t[at]) || t[at] == '+' || t[at] == '(') &&
                  (at == 0 || !is_digit(t[at - 1]));
    if (!starts) continue;
    size_t from = after_country_code(t, at);
    if (Found m = mobile_at(t, from)) {
      std::string number = m.text;
      size_t end = m.end;
      if (Found ext = extension(t, end)) {
        number += "-" + ext.text;
        end = ext.end;
      }
      if (n.mobile.empty())
        n.mobile = number;
      else if (second_mobile.empty())
        second_mobile = number;
      blank(t, s, at, end);
      at = end - 1;
    } else if (Found masked = masked_at(t, at); masked && is_boundary(t, masked.end)) {
      if (n.masked.empty()) n.masked = masked.text;
      blank(t, s, at, masked.end);
      at = masked.end - 1;
    } else if (Found fixed = fixed_at(t, at)) {
      if (n.phone.empty()) n.phone = fixed.text;
      blank(t, s, at, fixed.end);
      at = fixed.end - 1;
    } else if (size_t end = digits_end(t, at, 6, 6); end && n.postcode.empty() &&
                                                     postcode_at(t, at, end)) {
      n.postcode = t.substr(at, 6);
      blank(t, s, at, end);
      at = end - 1;
    }
  }
  if (n.phone.empty()) n.phone = second_mobile;
  return n;
}

}  // namespace recipient

#include "recognize/address.h"

#include <algorithm>
#include <array>

#include "runtime/text_between.h"
#include "runtime/text_ops.h"

namespace recognize {

view::Parcel parse_address_line(std::string_view line) {
  view::Parcel r;
  rt::TextArray parts = rt::split(line, "，");
  // The name is the second-to-last piece; a line of one piece has none.
  if (parts.size() >= 2) r.name = parts[parts.size() - 2];
  r.mobile = rt::right(line, 11).view();
  // A number shorter than a mobile's eleven digits takes no byte of the
  // mark before it ("，1357412345" gives the ten digits, for the check to
  // name).
  size_t ascii = r.mobile.size();
  while (ascii > 0 && static_cast<unsigned char>(r.mobile[ascii - 1]) < 0x80) --ascii;
  r.mobile.erase(0, ascii);
  r.fixed = rt::text_between(line, r.name + "，", r.mobile);
  int p = rt::find_last(line, rt::trim_start(r.name + "，").view());
  r.address = rt::left(line, p - 11).view();
  return r;
}

namespace {

constexpr std::array<std::string_view, 5> opening_marks = {"《", "（", "“", "〈", "‘"};
constexpr std::array<std::string_view, 11> closing_marks = {"》", "）", "”", "〉", "，", "。",
                                                            "？", "：", "’", "；", "、"};

template <size_t N>
bool is_one_of(std::string_view two_bytes, const std::array<std::string_view, N>& marks) {
  for (std::string_view m : marks)
    if (two_bytes == m) return true;
  return false;
}

// The most whole characters of `s` in `width` bytes, at least one.
int cut_at_width(std::string_view s, int width) {
  size_t at = 0;
  while (at < s.size()) {
    size_t next = rt::next_character(s, at);
    if (next > size_t(width) && at > 0) break;
    at = next;
  }
  return int(std::min(at, s.size()));
}

// How many bytes of `s` (longer than `width`) go on the next line: where
// the rules for runs and marks put the break, or, where they would leave
// nothing on the line (an opening mark before a run longer than the
// line), at the width.
int line_length(std::string_view s, int width) {
  int n = 0, run = 0;
  bool in_run = false;
  while (n < width) {
    char b = s[size_t(n)];
    if (rt::is_lead_byte(b)) {
      in_run = false;
      run = 0;
      size_t size = rt::character_size(s, size_t(n));
      if (size_t(n) + size > size_t(width)) break;  // the character would cross the limit
      n += int(size);
    } else if (b == ' ') {
      in_run = false;
      run = 0;
      n += 1;
    } else if (b == '\r' && s[size_t(n) + 1] == '\n') {
      n += 2;
      break;
    } else {
      if (!in_run) run = n;
      in_run = true;
      n += 1;
    }
  }
  if (n >= width) {
    n = width;
    if (run > 0 && !rt::is_lead_byte(s[size_t(width)])) n = run;
  }
  if (n >= 2 && is_one_of(s.substr(size_t(n) - 2, 2), opening_marks)) {
    n -= 2;
  } else if (n >= 1 && size_t(n) + 2 <= s.size() &&
             is_one_of(s.substr(size_t(n), 2), closing_marks)) {
    n = int(rt::previous_character(s, size_t(n)));
  }
  return n > 0 ? n : cut_at_width(s, width);
}

}  // namespace

std::string wrap_text(std::string_view s, int width) {
  std::string result;
  while (true) {
    if (width >= int(s.size())) return result + std::string(s);
    if (width <= 0) return {};
    size_t line_end = s.find("\r\n");
    int n = line_end <= size_t(width) ? int(line_end) + 2 : line_length(s, width);
    if (n <= 0) return {};
    std::string_view line = s.substr(0, size_t(n));
    result += line;
    if (!line.ends_with("\r\n")) result += "\r\n";
    s.remove_prefix(size_t(n));
  }
}

}  // namespace recognize

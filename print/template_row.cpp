#include "print/template_row.h"

#include <algorithm>
#include <climits>

#include "runtime/convert.h"
#include "runtime/text_ops.h"

namespace print {

namespace {

// A value that starts with a number once blanks are skipped: "12", " -4",
// "３0"; not "", "x3" or "-".
bool holds_number(std::string_view value) {
  rt::Text compact = rt::strip_spaces(rt::halfwidth(value).view());
  std::string_view v = compact.view();
  if (!v.empty() && (v[0] == '-' || v[0] == '+')) v.remove_prefix(1);
  return !v.empty() && v[0] >= '0' && v[0] <= '9';
}

bool is_plain_integer(std::string_view value) {
  if (!value.empty() && value.front() == '-') value.remove_prefix(1);
  return !value.empty() &&
         std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

TemplateRow TemplateRow::read(std::string_view row) {
  TemplateRow r;
  size_t comma = row.find(',');
  if (comma == std::string_view::npos) return r;
  r.name = std::string(row.substr(0, comma));
  rt::TextArray values = rt::split(row.substr(comma + 1), ",");
  for (size_t i = 0; i < values.size() && i < r.values.size(); ++i)
    r.values[i] =
        int(std::clamp<int64_t>(rt::text_integer(values[i]), INT32_MIN / 2, INT32_MAX / 2));
  while (r.complete < kLayoutValues && size_t(r.complete) < values.size() &&
         holds_number(values[size_t(r.complete)]))
    ++r.complete;
  return r;
}

std::string TemplateRow::text() const {
  std::string row = name;
  for (int value : values) row += "," + std::to_string(value);
  return row + ",";
}

bool is_sound_template_row(std::string_view row, size_t max_bytes) {
  if (row.size() > max_bytes) return false;
  if (std::any_of(row.begin(), row.end(),
                  [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; }))
    return false;
  size_t comma = row.find(',');
  if (comma == 0 || comma == std::string_view::npos) return false;
  bool any_number = false;
  for (std::string_view rest = row.substr(comma + 1);;) {
    size_t next = rest.find(',');
    std::string_view value = rest.substr(0, next);
    if (!value.empty() && !is_plain_integer(value)) return false;
    any_number = any_number || !value.empty();
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next + 1);
  }
  return any_number;
}

}  // namespace print

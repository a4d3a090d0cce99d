#include "runtime/convert.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/blocks.h"
#include "runtime/text_ops.h"

namespace rt {

namespace {

template <typename T>
T read_at(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

Text formatted(const char* format, auto value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return Text(text);
}

// The bytes of a memory range up to its first zero byte.
Text bytes_until_zero(const uint8_t* data, size_t n) {
  if (!data) return {};
  auto* zero = static_cast<const uint8_t*>(std::memchr(data, 0, n));
  return Text(
      std::string_view(reinterpret_cast<const char*>(data), zero ? size_t(zero - data) : n));
}

Text array_bytes_text(const RtArg& value) {
  const void* array = rt_arg_pointer(value);
  int width = rt_type_width(rt_base_type(value.type));
  if (!array || width == 0) return {};
  return bytes_until_zero(rt_array_data(array), rt_array_count(array) * size_t(width));
}

int32_t saturated_int(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return int32_t(v);  // truncates toward zero
}

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int64_t leading_integer(std::string_view s) {
  size_t at = 0;
  while (at < s.size() && is_blank(s[at])) ++at;
  bool negative = at < s.size() && s[at] == '-';
  if (at < s.size() && (s[at] == '-' || s[at] == '+')) ++at;
  uint64_t magnitude = 0;
  const uint64_t limit = uint64_t(INT64_MAX) + 1;
  // Saturates at the limit instead of wrapping, however many digits follow.
  for (; at < s.size() && is_digit(s[at]); ++at)
    magnitude = magnitude >= limit / 10 + 1
                    ? limit
                    : std::min<uint64_t>(magnitude * 10 + uint64_t(s[at] - '0'), limit);
  if (negative) return magnitude >= limit ? INT64_MIN : -int64_t(magnitude);
  return magnitude >= limit ? INT64_MAX : int64_t(magnitude);
}

// Leading decimal floating-point number: sign, digits, optional point and
// fraction, optional exponent. No digits gives 0.
double leading_number(std::string_view s) {
  size_t at = 0;
  while (at < s.size() && is_blank(s[at])) ++at;
  bool negative = at < s.size() && s[at] == '-';
  if (at < s.size() && (s[at] == '-' || s[at] == '+')) ++at;
  size_t begin = at, digits = 0;
  for (; at < s.size() && is_digit(s[at]); ++at) ++digits;
  if (at < s.size() && s[at] == '.')
    for (++at; at < s.size() && is_digit(s[at]); ++at) ++digits;
  if (digits == 0) return 0;
  if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < s.size() && (s[exponent] == '-' || s[exponent] == '+')) ++exponent;
    if (exponent < s.size() && is_digit(s[exponent])) {
      at = exponent;
      while (at < s.size() && is_digit(s[at])) ++at;
    }
  }
  double v = 0;
  auto [end, error] = std::from_chars(s.data() + begin, s.data() + at, v);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too large: infinity; too small: zero (as strtod gives them).
    size_t e = s.find_first_of("eE", begin);
    bool tiny = e != std::string_view::npos && e < at && s.substr(e + 1, 1) == "-";
    v = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -v : v;
}

Text number_text(double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%f", value);
  std::string s = text;
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return Text(s);
}

Text to_text(const RtArg& value) {
  uint32_t type = rt_base_type(value.type);
  if (rt_is_ref(value.type)) {
    bool integral = type == RT_BYTE || type == RT_SHORT || type == RT_INT || type == RT_INT64 ||
                    type == RT_SUBROUTINE;
    return integral ? array_bytes_text(value) : Text();
  }
  switch (type) {
    case RT_BOOL: return Text(value.value ? "真" : "假");
    case RT_DATETIME: return date_text(rt_arg_double(value), false);
    case RT_TEXT: return Text(rt_text_view(static_cast<const char*>(rt_arg_pointer(value))));
    case RT_BYTES: {
      const void* bytes = rt_arg_pointer(value);
      return bytes_until_zero(rt_byte_set_data(bytes), rt_byte_set_size(bytes));
    }
    case RT_BYTE: return formatted("%d", int(uint8_t(value.value)));
    case RT_SHORT: return formatted("%d", int(int16_t(value.value)));
    case RT_INT: return formatted("%d", int32_t(value.value));
    case RT_SUBROUTINE: return formatted("%d", int32_t(value.value));
    case RT_INT64: return formatted("%" PRId64, int64_t(rt_arg_bits64(value)));
    case RT_FLOAT: return number_text(rt_arg_float(value));
    case RT_DOUBLE: return number_text(rt_arg_double(value));
    default: return {};
  }
}

double text_number(std::string_view text) { return leading_number(halfwidth(text).view()); }

int64_t text_integer(std::string_view text) { return leading_integer(halfwidth(text).view()); }

int32_t to_int(const RtArg& value) {
  switch (rt_is_ref(value.type) ? 0 : value.type) {
    case RT_BOOL:
    case RT_INT:
    case RT_INT64:
    case RT_SUBROUTINE: return int32_t(value.value);
    case RT_BYTE: return int32_t(uint8_t(value.value));
    case RT_SHORT: return int32_t(int16_t(value.value));
    case RT_FLOAT: return saturated_int(rt_arg_float(value));
    case RT_DOUBLE: return saturated_int(rt_arg_double(value));
    case RT_TEXT: {
      int64_t n = text_integer(rt_text_view(static_cast<const char*>(rt_arg_pointer(value))));
      return int32_t(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
    }
    default: return 0;
  }
}

double to_number(const RtArg& value) {
  switch (rt_is_ref(value.type) ? 0 : value.type) {
    case RT_DOUBLE:
    case RT_DATETIME: return rt_arg_double(value);
    case RT_TEXT: return text_number(rt_text_view(static_cast<const char*>(rt_arg_pointer(value))));
    case RT_BYTE: return double(uint8_t(value.value));
    case RT_SHORT: return double(int16_t(value.value));
    case RT_INT64: return double(int64_t(rt_arg_bits64(value)));
    case RT_FLOAT: return double(rt_arg_float(value));
    default: return double(int32_t(value.value));
  }
}

namespace {

// Civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civil_from_days(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// Day count from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t days_from_civil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Days from 1970-01-01 back to day 0 of the OLE calendar, 1899-12-30.
constexpr int64_t ole_day_zero = -25569;
// Keeps the year within an int for absurd inputs (about ±270 million years).
constexpr double largest_day = 1e11;

}  // namespace

DateParts date_parts(double date) {
  if (!std::isfinite(date)) date = 0;
  date = std::clamp(date, -largest_day, largest_day);
  double whole = std::trunc(date);
  int64_t days = int64_t(whole);
  int64_t seconds = int64_t(std::fabs(date - whole) * 86400 + 0.5);
  if (seconds >= 86400) {
    // A time of day that rounds up to 24:00 is midnight of the next day.
    seconds -= 86400;
    days += 1;
  }
  DateParts p{};
  civil_from_days(ole_day_zero + days, p.year, p.month, p.day);
  p.hour = int(seconds / 3600);
  p.minute = int(seconds % 3600 / 60);
  p.second = int(seconds % 60);
  return p;
}

double date_from_parts(const DateParts& p) {
  int64_t days = days_from_civil(p.year, p.month, p.day) - ole_day_zero;
  double time = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
  return days >= 0 ? double(days) + time : -(double(-days) + time);
}

Text date_text(double date, bool date_only) {
  DateParts p = date_parts(date);
  char text[128];
  int n = std::snprintf(text, sizeof text, "%d年%d月%d日", p.year, p.month, p.day);
  if (!date_only) {
    char* rest = text + n;
    size_t room = sizeof text - size_t(n);
    if (p.second != 0)
      std::snprintf(rest, room, "%d时%d分%d秒", p.hour, p.minute, p.second);
    else if (p.minute != 0)
      std::snprintf(rest, room, "%d时%d分", p.hour, p.minute);
    else if (p.hour != 0)
      std::snprintf(rest, room, "%d时", p.hour);
  }
  return Text(text);
}

}  // namespace rt

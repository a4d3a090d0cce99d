#include "print/waybill_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/convert.h"
#include "runtime/text_ops.h"

namespace print {

std::array<int, kLayoutValues> layout_values(std::string_view row) {
  std::array<int, kLayoutValues> f{};
  size_t comma = row.find(',');
  if (comma == std::string_view::npos) return f;
  rt::TextArray values = rt::split(row.substr(comma + 1), ",");
  for (size_t i = 0; i < values.size() && i < f.size(); ++i)
    f[i] = int(std::clamp<int64_t>(rt::leading_integer(values[i]), INT32_MIN / 2, INT32_MAX / 2));
  return f;
}

std::vector<PrintItem> waybill_items(const std::array<int, kLayoutValues>& f, int left, int top,
                                     const WaybillTexts& t) {
  // Template fields are 1-based in the layout's description.
  auto at = [&](int fx, const std::string& text, int size, bool box = false) {
    return PrintItem{f[size_t(fx - 1)] + left, f[size_t(fx)] + top, box, size, text};
  };
  return {
      at(9, t.name, kLineFontSize),          at(11, t.fixed, kLineFontSize),
      at(13, t.mobile, kLineFontSize),       at(17, t.goods, kLineFontSize),
      at(1, t.sender_name, kLineFontSize),   at(3, t.sender_fixed, kLineFontSize),
      at(5, t.sender_mobile, kLineFontSize), at(7, t.sender_address, kBoxFontSize, true),
      at(15, t.address, kBoxFontSize, true), at(19, t.date, kBoxFontSize),
  };
}

int offset_tenths(std::string_view millimetres) {
  double tenths = rt::leading_number(millimetres) * 10;
  if (!std::isfinite(tenths)) return 0;
  return int(std::clamp(std::trunc(tenths), -1e6, 1e6));
}

std::string waybill_date(int year, int month, int day) {
  return std::to_string(year) + "." + std::to_string(month) + "." + std::to_string(day);
}

}  // namespace print

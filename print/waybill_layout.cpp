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
    f[i] = int(std::clamp<int64_t>(rt::text_integer(values[i]), INT32_MIN / 2, INT32_MAX / 2));
  return f;
}

namespace {

// A value that starts with a number once blanks are skipped: "12", " -4",
// "３0"; not "", "x3" or "-".
bool holds_number(std::string_view value) {
  rt::Text compact = rt::strip_spaces(rt::halfwidth(value).view());
  std::string_view v = compact.view();
  if (!v.empty() && (v[0] == '-' || v[0] == '+')) v.remove_prefix(1);
  return !v.empty() && v[0] >= '0' && v[0] <= '9';
}

}  // namespace

int complete_layout_values(std::string_view row) {
  size_t comma = row.find(',');
  if (comma == std::string_view::npos) return 0;
  rt::TextArray values = rt::split(row.substr(comma + 1), ",");
  int n = 0;
  while (n < kLayoutValues && size_t(n) < values.size() && holds_number(values[size_t(n)])) ++n;
  return n;
}

int character_height(int points) {
  constexpr int kScreenDpi = 96, kPrinterDpi = 180;
  constexpr int kTenthsPerFourThirdsInch = 339;  // 0.1 mm units per inch, times 4/3
  int pixels = (points * kScreenDpi + 36) / 72;
  return (pixels * kTenthsPerFourThirdsInch + kPrinterDpi / 2) / kPrinterDpi;
}

std::vector<PrintItem> waybill_items(const std::array<int, kLayoutValues>& f, int left, int top,
                                     const WaybillTexts& t) {
  const std::array<const std::string*, kItemFields.size()> texts = {
      &t.name,        &t.fixed,         &t.mobile,          &t.goods,   &t.sender_name,
      &t.sender_fixed, &t.sender_mobile, &t.sender_address, &t.address, &t.date};
  static constexpr std::array<std::string_view, kItemFields.size()> labels = {
      "收件人姓名", "收件人电话", "收件人手机", "商品",       "寄件人姓名",
      "寄件人电话", "寄件人手机", "寄件人地址", "收件人地址", "日期"};
  std::vector<PrintItem> items;
  for (size_t i = 0; i < kItemFields.size(); ++i) {
    // Template fields are 1-based in the layout's description.
    size_t x = size_t(kItemFields[i] - 1);
    bool box = labels[i].ends_with("地址");
    int size = box || labels[i] == "日期" ? kBoxFontSize : kLineFontSize;
    items.push_back(PrintItem{f[x] + left, f[x + 1] + top, box, size, *texts[i], labels[i]});
  }
  return items;
}

void draw_items(PrintSurface& surface, const std::vector<PrintItem>& items) {
  int font_size = 0;
  for (const PrintItem& item : items) {
    if (item.font_size != font_size) {
      font_size = item.font_size;
      surface.set_font(kPrintFace, character_height(font_size), true);
    }
    if (item.in_box) {
      Rect box{item.x, item.y, item.x + kBoxWidth, item.y + kBoxHeight};
      surface.write_text_in_rect(item.text, box, kNoPrefix);
    } else {
      surface.write_text(item.x, item.y, item.text);
    }
  }
}

int offset_tenths(std::string_view millimetres) {
  double tenths = rt::text_number(millimetres) * 10;
  if (!std::isfinite(tenths)) return 0;
  return int(std::clamp(std::trunc(tenths), -1e6, 1e6));
}

std::string waybill_date(int year, int month, int day) {
  return std::to_string(year) + "." + std::to_string(month) + "." + std::to_string(day);
}

}  // namespace print

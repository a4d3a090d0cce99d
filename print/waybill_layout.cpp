#include "print/waybill_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "recognize/address.h"
#include "runtime/convert.h"
#include "runtime/text_ops.h"

namespace print {

int character_height(int points) {
  constexpr int kScreenDpi = 96, kPrinterDpi = 180;
  constexpr int kTenthsPerFourThirdsInch = 339;  // 0.1 mm units per inch, times 4/3
  int pixels = (points * kScreenDpi + 36) / 72;
  return (pixels * kTenthsPerFourThirdsInch + kPrinterDpi / 2) / kPrinterDpi;
}

std::string box_lines(std::string_view text) {
  std::string wrapped = recognize::wrap_text(text, recognize::kAddressLineBytes);
  return wrapped.empty() ? std::string(text) : wrapped;
}

std::vector<PrintItem> waybill_items(const std::array<int, kLayoutValues>& f, int left, int top,
                                     const WaybillTexts& t) {
  const std::array<const std::string*, kItemFields.size()> texts = {
      &t.parcel.name,  &t.parcel.fixed,   &t.parcel.mobile,         &t.parcel.goods,
      &t.sender_name,  &t.sender_fixed,   &t.sender_mobile,         &t.sender_address,
      &t.parcel.address, &t.date};
  static constexpr std::array<std::string_view, kItemFields.size()> labels = {
      "收件人姓名", "收件人电话", "收件人手机", "商品",       "寄件人姓名",
      "寄件人电话", "寄件人手机", "寄件人地址", "收件人地址", "日期"};
  std::vector<PrintItem> items;
  for (size_t i = 0; i < kItemFields.size(); ++i) {
    // Template fields are 1-based in the layout's description.
    size_t x = size_t(kItemFields[i] - 1);
    bool box = labels[i].ends_with("地址");
    int size = box || labels[i] == "日期" ? kBoxFontSize : kLineFontSize;
    items.push_back(PrintItem{f[x] + left, f[x + 1] + top, box, size,
                              box ? box_lines(*texts[i]) : *texts[i], labels[i]});
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

std::string waybill_time(double now) {
  rt::DateParts p = rt::date_parts(now);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  return text;
}

}  // namespace print

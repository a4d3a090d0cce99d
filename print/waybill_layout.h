// Where the ten items of a waybill go: the selected courier template's
// layout values plus the printer offsets.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "print/print_surface.h"

namespace print {

inline constexpr int kLayoutValues = 20;
inline constexpr int kBoxWidth = 800;   // 80 mm
inline constexpr int kBoxHeight = 300;  // 30 mm
inline constexpr int kLineFontSize = 20;
inline constexpr int kBoxFontSize = 18;

// f1..f20 of a template row ("name,f1,f2,..."): each value's leading
// integer; values the row does not have count as 0.
std::array<int, kLayoutValues> layout_values(std::string_view row);

// What the window shows at print time.
struct WaybillTexts {
  std::string name, fixed, mobile, goods, address;
  std::string sender_name, sender_fixed, sender_mobile, sender_address;
  std::string date;  // "2015.7.5"
};

struct PrintItem {
  int x = 0, y = 0;     // top-left corner
  bool in_box = false;  // box texts go into an 800 x 300 rectangle from (x, y)
  int font_size = 0;
  std::string text;
};

// The ten items in drawing order.
std::vector<PrintItem> waybill_items(const std::array<int, kLayoutValues>& f, int left, int top,
                                     const WaybillTexts& texts);

// An offset field's millimetres as tenths of a millimetre, truncated
// toward zero (its leading number; none gives 0).
int offset_tenths(std::string_view millimetres);

// "year.month.day" without leading zeros.
std::string waybill_date(int year, int month, int day);

}  // namespace print

// Where the ten items of a waybill go: the selected courier template's
// layout values plus the printer offsets.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "print/print_surface.h"
#include "print/template_row.h"
#include "view/parcel.h"

namespace print {

inline constexpr int kBoxWidth = 800;   // 80 mm
inline constexpr int kBoxHeight = 300;  // 30 mm
inline constexpr int kLineFontSize = 20;
inline constexpr int kBoxFontSize = 18;

// The printed character height, in tenths of a millimetre, of a font of
// `points`. The forms were laid out on 180-dpi dot-matrix printers with a
// 96-dpi screen: the point size as whole screen pixels, printed at 180 dpi
// (20 -> 51, 18 -> 45). The same on every printer and screen.
int character_height(int points);

// "14:32:05": the time of day of `now`, as the log keeps it.
std::string waybill_time(double now);

// What the window shows at print time.
struct WaybillTexts {
  view::Parcel parcel;
  std::string sender_name, sender_fixed, sender_mobile, sender_address;
  std::string date;  // "2015.7.5"
  std::string time;  // "14:32:05": kept in the log, not printed
};

struct PrintItem {
  int x = 0, y = 0;     // top-left corner
  bool in_box = false;  // box texts go into an 800 x 300 rectangle from (x, y)
  int font_size = 0;
  std::string text;
  std::string_view label;  // what the item is, as the seller calls it
};

// The face all items print in (bold).
inline constexpr char kPrintFace[] = "宋体";

// Draws the items in order, each in its font: what the printer and the
// preview both receive.
void draw_items(PrintSurface& surface, const std::vector<PrintItem>& items);

// The template value (1-based f number) of each item's x, in drawing order;
// its y is the next value.
inline constexpr std::array<int, 10> kItemFields = {9, 11, 13, 17, 1, 3, 5, 7, 15, 19};

// A box text as it prints: every line longer than the box is wrapped by
// character (never cutting one), as recognition wraps the recipient's
// address; lines the seller broke stay as they are.
std::string box_lines(std::string_view text);

// The ten items in drawing order; the box texts wrapped.
std::vector<PrintItem> waybill_items(const std::array<int, kLayoutValues>& f, int left, int top,
                                     const WaybillTexts& texts);

// An offset field's millimetres as tenths of a millimetre, truncated
// toward zero (its leading number, full-width digits counting; none
// gives 0).
int offset_tenths(std::string_view millimetres);

// "year.month.day" without leading zeros.
std::string waybill_date(int year, int month, int day);

}  // namespace print

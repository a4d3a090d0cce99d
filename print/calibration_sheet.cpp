#include "print/calibration_sheet.h"

#include <cmath>
#include <cstdio>

#include "print/waybill_layout.h"

namespace print {

namespace {

constexpr int kArm = 30;         // 3 mm each way
constexpr int kCentreArm = 100;  // 10 mm
constexpr int kLabelPoints = 9;

void cross(PrintSurface& s, int x, int y, int arm) {
  s.draw_line(x - arm, y, x + arm + 1, y);
  s.draw_line(x, y - arm, x, y + arm + 1);
}

}  // namespace

void draw_calibration_sheet(PrintSurface& s, int left, int top) {
  s.set_font(kPrintFace, character_height(kLabelPoints), false);
  for (int y = kCrossStep; y < 1270; y += kCrossStep)
    for (int x = kCrossStep; x < 2200; x += kCrossStep) {
      if (x == kCentreX && y == kCentreY) continue;
      cross(s, x + left, y + top, kArm);
      s.write_text(x + left + 10, y + top + 10,
                   std::to_string(x / 10) + "," + std::to_string(y / 10));
    }
  cross(s, kCentreX + left, kCentreY + top, kCentreArm);
  // Above the right arm, clear of the neighbouring cross and its label.
  s.write_text(kCentreX + left + 20, kCentreY + top - 60, "中心 110,60");
  s.write_text(200 + left, 1120 + top,
               "校准页  左偏移 " + millimetres_text(left / 10.0) + " 毫米  顶偏移 " +
                   millimetres_text(top / 10.0) + " 毫米    量大十字的中心离纸的左边、上边各多少毫米，填进程序");
}

Offsets corrected_offsets(Offsets current, double right, double down) {
  return {current.left - right, current.top - down};
}

std::string millimetres_text(double mm) {
  // Tenths of a millimetre are all an offset holds.
  double rounded = std::round(mm * 10) / 10;
  if (rounded == 0) rounded = 0;  // no "-0"
  char text[32];
  std::snprintf(text, sizeof text, "%g", rounded);
  return text;
}

}  // namespace print

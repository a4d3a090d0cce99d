#include "print/offset_correction.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "print/calibration_sheet.h"
#include "print/waybill_layout.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace print {

namespace {

using namespace view::control;

// How far the centre cross landed from where it belongs (`belongs` mm
// from the paper's `edge`), from the distance the seller measured; asked
// again, with the reason, until it is one; none when cancelled.
std::optional<double> asked_deviation(const std::string& question, const char* edge,
                                      double belongs, view::Asker& asker) {
  for (;;) {
    std::optional<std::string> typed = asker.typed(question, "校准", "");
    if (!typed) return std::nullopt;
    if (std::optional<double> mm = measured_distance(*typed, belongs)) return *mm - belongs;
    std::string shortest = millimetres_text(belongs - kMaxOffsetMillimetres);
    std::string longest = millimetres_text(belongs + kMaxOffsetMillimetres);
    asker.tell("“" + std::string(rt::trim(*typed).view()) + "”不是量到的距离。请填大十字的中心离纸的" +
                   edge + "有多少毫米，在 " + shortest + " 到 " + longest + " 之间（位置正好时是 " +
                   millimetres_text(belongs) + "），例如 " + millimetres_text(belongs + 2.5) + "。",
               "注意", RT_MB_ICONWARNING);
  }
}

}  // namespace

std::optional<double> typed_millimetres(std::string_view typed, double largest) {
  std::string text(rt::halfwidth(rt::trim(typed).view()).view());
  size_t at = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  size_t digits = 0, point = 0;
  for (size_t i = at; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9')
      ++digits;
    else if (text[i] == '.' && ++point == 1)
      continue;
    else
      return std::nullopt;  // a letter, a second sign or point, an exponent
  }
  if (digits == 0) return std::nullopt;
  double mm = std::strtod(text.c_str(), nullptr);
  if (!(std::fabs(mm) <= largest)) return std::nullopt;
  return mm;
}

std::optional<double> measured_distance(std::string_view typed, double belongs) {
  std::optional<double> mm = typed_millimetres(typed, belongs + kMaxOffsetMillimetres);
  if (!mm || std::fabs(*mm - belongs) > kMaxOffsetMillimetres) return std::nullopt;
  return mm;
}

bool correct_offsets(view::MainView& view, const std::string& settings_path, view::Asker& asker) {
  std::optional<double> right = asked_deviation(
      "用尺子量校准页上标着“中心 110,60”的大十字。\r\n"
      "它的中心离纸的左边多少毫米？（位置正好时是 110）",
      "左边", kCentreX / 10.0, asker);
  if (!right) return false;
  std::optional<double> down = asked_deviation(
      "大十字的中心离纸的上边多少毫米？（位置正好时是 60）", "上边", kCentreY / 10.0, asker);
  if (!down) return false;
  Offsets current{offset_tenths(view.text(left_offset)) / 10.0,
                  offset_tenths(view.text(top_offset)) / 10.0};
  Offsets corrected = corrected_offsets(current, *right, *down);
  std::string left = millimetres_text(corrected.left), top = millimetres_text(corrected.top);
  view.set_text(left_offset, left);
  view.set_text(top_offset, top);
  settings::CfgFile cfg(settings_path);
  bool saved = cfg.set_left_offset(left) && cfg.set_top_offset(top);
  view.set_status("已校准：左偏移 " + left + " 毫米，顶偏移 " + top + " 毫米" +
                  (saved ? "" : "（无法写入 " + settings_path + "，下次启动不会保留）"));
  return true;
}

}  // namespace print

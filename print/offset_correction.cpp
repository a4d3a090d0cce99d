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

// Millimetres the seller typed, asked again until they are a number; none
// when cancelled.
std::optional<double> asked_millimetres(const std::string& question, view::Asker& asker) {
  for (;;) {
    std::optional<std::string> typed = asker.typed(question, "校准", "0");
    if (!typed) return std::nullopt;
    if (std::optional<double> mm = typed_millimetres(*typed)) return mm;
    asker.tell("请输入毫米数，例如 1.5 或 -2（不超过 50）。", "注意", RT_MB_ICONWARNING);
  }
}

}  // namespace

std::optional<double> typed_millimetres(std::string_view typed) {
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
  if (!(std::fabs(mm) <= kMaxOffsetMillimetres)) return std::nullopt;
  return mm;
}

bool correct_offsets(view::MainView& view, const std::string& settings_path, view::Asker& asker) {
  std::optional<double> right = asked_millimetres(
      "用尺子从纸的左上角量中心十字：离左边的毫米数减去 110，就是偏右的毫米数"
      "（偏左填负数，对准填 0）。\r\n偏右多少毫米？",
      asker);
  if (!right) return false;
  std::optional<double> down =
      asked_millimetres("再量中心十字离上边的毫米数，减去 60，就是偏下的毫米数"
                        "（偏上填负数，对准填 0）。\r\n偏下多少毫米？",
                        asker);
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

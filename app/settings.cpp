#include "app/settings.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "print/offset_correction.h"
#include "print/print_job.h"
#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace app {

namespace {

constexpr int collapsed_width = 300;
constexpr int expanded_width = 600;

// A field of the pane, with how it is kept and named in a refusal.
struct Field {
  int control;
  std::string (settings::CfgFile::*read)() const;
  bool (settings::CfgFile::*write)(std::string_view) const;
  const char* label;
  // Kept escaped (letters, digits and "%" only): any character fits.
  bool escaped = false;
};

// The fields in the order a save writes them (the printer last).
const Field saved_fields[] = {
    {view::control::left_offset, &settings::CfgFile::left_offset,
     &settings::CfgFile::set_left_offset, "左偏移"},
    {view::control::top_offset, &settings::CfgFile::top_offset, &settings::CfgFile::set_top_offset,
     "上偏移"},
    {view::control::sender_name, &settings::CfgFile::sender_name,
     &settings::CfgFile::set_sender_name, "寄件人姓名"},
    {view::control::sender_fixed_phone, &settings::CfgFile::sender_fixed_phone,
     &settings::CfgFile::set_sender_fixed_phone, "寄件人电话"},
    {view::control::sender_mobile, &settings::CfgFile::sender_mobile,
     &settings::CfgFile::set_sender_mobile, "寄件人手机"},
    {view::control::sender_address, &settings::CfgFile::sender_address,
     &settings::CfgFile::set_sender_address, "寄件人地址", true},
};

// What keeps the settings from being saved as typed: a character the file
// cannot keep, named with its field; empty when there is none.
std::string unkeepable_character(view::MainView& view) {
  for (const Field& field : saved_fields) {
    if (field.escaped) continue;
    std::string refused = rt::character_settings_cannot_keep(view.text(field.control));
    if (!refused.empty())
      return "【" + std::string(field.label) + "】里的" + rt::quoted_character(refused) +
             "存不进设置文件 cfg.ini：" +
             rt::kSettingsKeepGbk + "请换一种写法再保存。";
  }
  return {};
}

// What keeps an offset from being saved: a box that holds no number of
// millimetres a printer can need (a typo would put every waybill 10 mm
// off); empty when both do. An empty box is 0.
std::string refused_offset(view::MainView& view) {
  for (const Field& field : saved_fields) {
    if (field.control != view::control::left_offset && field.control != view::control::top_offset)
      continue;
    std::string typed = view.text(field.control);
    if (rt::trim(typed).empty() || print::typed_millimetres(typed)) continue;
    return "【" + std::string(field.label) + "】填的“" + typed +
           "”不是偏移的毫米数：请填 -50 到 50 之间的数，例如 1.5 或 -2（偏左、偏上填负数）。";
  }
  return {};
}

}  // namespace

std::string settings_path_in(std::string_view directory) {
  std::string dir(rt::trim(directory).view());
  return dir + platform_path_separator() + "cfg.ini";
}

std::string working_settings_path() {
  char buffer[255];
  size_t n = platform_current_directory(buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return std::string(".") + platform_path_separator() + "cfg.ini";
  return settings_path_in(std::string_view(buffer, n));
}

bool hide_settings_file(const std::string& path) { return platform_hide_file(path.c_str()); }

void Settings::load_settings(view::MainView& view, std::span<const std::string> installed_printers,
                             const std::string& system_default) {
  settings::CfgFile cfg(path_);
  for (const Field& field : saved_fields) {
    std::string value = (cfg.*field.read)();
    // Offsets never set print where the template says: 0, shown as such.
    bool offset =
        field.control == view::control::left_offset || field.control == view::control::top_offset;
    view.set_text(field.control, offset && value.empty() ? std::string("0") : value);
  }
  current_printer_ = cfg.printer();
  printer_missing_ = !current_printer_.empty() &&
                     std::find(installed_printers.begin(), installed_printers.end(),
                               current_printer_) == installed_printers.end();
  shown_default_ = -1;
  for (size_t i = 0; i < installed_printers.size(); ++i) {
    view.list_add(view::control::printer_list, installed_printers[i]);
    if (installed_printers[i] == current_printer_)
      view.list_select(view::control::printer_list, int(i));
    else if (current_printer_.empty() && installed_printers[i] == system_default)
      shown_default_ = int(i);
  }
  if (shown_default_ >= 0) view.list_select(view::control::printer_list, shown_default_);
}

void Settings::toggle_settings(view::MainView& view, view::Asker& asker, const SaveCheck& check) {
  if (!pane_open_) {
    view.set_width(expanded_width);
    view.set_text(view::control::settings_button, "保存");
    pane_open_ = true;
    // The empty printer box says nothing of the printer it lost.
    if (printer_missing_) view.set_status(print::missing_printer_text(current_printer_));
    return;
  }
  int selected = view.list_selection(view::control::printer_list);
  std::string printer = selected >= 0 && selected != shown_default_
                            ? view.list_item(view::control::printer_list, selected)
                            : "";
  // A field pasted from a web page keeps no no-break or zero-width space:
  // it is saved as typed, not refused for a character cfg.ini cannot keep.
  for (int field : {view::control::left_offset, view::control::top_offset,
                    view::control::sender_name, view::control::sender_fixed_phone,
                    view::control::sender_mobile, view::control::sender_address}) {
    std::string typed = view.text(field), plain = rt::with_plain_blanks(typed);
    if (plain != typed) view.set_text(field, plain);
  }
  std::string refused = refused_offset(view);
  if (refused.empty()) refused = unkeepable_character(view);
  if (!refused.empty()) {
    asker.tell(refused, "注意", RT_MB_ICONWARNING);
    view.set_status("设置未保存，改好后再点“保存”");
    return;
  }
  if (check && !check(printer, printer != current_printer_)) {
    view.set_status("设置未保存，改好后再点“保存”");
    return;
  }
  settings::CfgFile cfg(path_);
  bool saved = true;
  for (const Field& field : saved_fields)
    saved = (cfg.*field.write)(view.text(field.control)) && saved;
  saved = cfg.set_printer(printer) && saved;
  if (!saved) {
    // The pane stays open with the seller's edits, to try again elsewhere.
    std::string text = "保存设置失败：无法写入 " + path_ +
                       "\r\n请确认这个文件不是只读的，程序所在的文件夹可以写入。";
    asker.tell(text, "信息", RT_MB_ICONERROR);
    view.set_status("保存设置失败：无法写入 " + path_);
    return;
  }
  view.set_text(view::control::settings_button, "设置");
  view.set_width(collapsed_width);
  pane_open_ = false;
  current_printer_ = printer;
  printer_missing_ = false;  // chosen from this computer's printers
  if (!printer.empty()) shown_default_ = -1;
  view.set_status("已保存设置");
}

}  // namespace app

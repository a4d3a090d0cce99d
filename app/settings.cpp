#include "app/settings.h"

#include <utility>
#include <vector>

#include "print/offset_correction.h"
#include "runtime/message_box.h"
#include "runtime/platform.h"
#include "runtime/settings_file.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"

namespace app {

namespace {

constexpr int collapsed_width = 300;
constexpr int expanded_width = 600;

struct Key {
  const char* section;
  const char* name;
  int field;
  const char* label;
};

// The fields in the order a save writes them.
const Key saved_fields[] = {
    {"dayinji", "left", view::control::left_offset, "左偏移"},
    {"dayinji", "top", view::control::top_offset, "上偏移"},
    {"ji", "jiname", view::control::sender_name, "寄件人姓名"},
    {"ji", "jitel", view::control::sender_fixed_phone, "寄件人电话"},
    {"ji", "jiphone", view::control::sender_mobile, "寄件人手机"},
};

// What keeps the settings from being saved as typed: a character the file
// cannot keep, named with its field; empty when there is none.
std::string unkeepable_character(view::MainView& view) {
  std::vector<std::pair<const char*, int>> fields;
  for (const Key& key : saved_fields) fields.emplace_back(key.label, key.field);
  fields.emplace_back("寄件人地址", view::control::sender_address);
  for (auto [label, field] : fields) {
    std::string refused = rt::character_settings_cannot_keep(view.text(field));
    if (!refused.empty())
      return "【" + std::string(label) + "】里的“" + refused + "”存不进设置文件 cfg.ini：" +
             rt::kSettingsKeepGbk + "请换一种写法再保存。";
  }
  return {};
}

// What keeps an offset from being saved: a box that holds no number of
// millimetres a printer can need (a typo would put every waybill 10 mm
// off); empty when both do. An empty box is 0.
std::string refused_offset(view::MainView& view) {
  for (const Key& key : saved_fields) {
    if (key.field != view::control::left_offset && key.field != view::control::top_offset) continue;
    std::string typed = view.text(key.field);
    if (rt::trim(typed).empty() || print::typed_millimetres(typed)) continue;
    return "【" + std::string(key.label) + "】填的“" + typed +
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

void Settings::load_settings(view::MainView& view,
                             std::span<const std::string> installed_printers,
                             const std::string& system_default) {
  auto read = [&](const char* section, const char* key) {
    return std::string(rt::ini_read(path_, section, key).view());
  };
  // Offsets never set print where the template says: 0, shown as such.
  auto offset = [&](const char* key) {
    std::string mm = read("dayinji", key);
    return mm.empty() ? std::string("0") : mm;
  };
  view.set_text(view::control::top_offset, offset("top"));
  view.set_text(view::control::left_offset, offset("left"));
  view.set_text(view::control::sender_name, read("ji", "jiname"));
  view.set_text(view::control::sender_fixed_phone, read("ji", "jitel"));
  view.set_text(view::control::sender_mobile, read("ji", "jiphone"));
  view.set_text(view::control::sender_address, rt::decode_setting_text(read("ji", "jiqita")));
  current_printer_ = read("dayinji", "moren");
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

void Settings::toggle_settings(view::MainView& view, uintptr_t owner, const SaveCheck& check) {
  if (!pane_open_) {
    view.set_width(expanded_width);
    view.set_text(view::control::settings_button, "保存");
    pane_open_ = true;
    return;
  }
  int selected = view.list_selection(view::control::printer_list);
  std::string printer = selected >= 0 && selected != shown_default_
                            ? view.list_item(view::control::printer_list, selected)
                            : "";
  // A field pasted from a web page keeps no no-break or zero-width space:
  // it is saved as typed, not refused for a character cfg.ini cannot keep.
  for (int field : {view::control::left_offset, view::control::top_offset, view::control::sender_name,
                    view::control::sender_fixed_phone, view::control::sender_mobile,
                    view::control::sender_address}) {
    std::string typed = view.text(field), plain = rt::with_plain_blanks(typed);
    if (plain != typed) view.set_text(field, plain);
  }
  std::string refused = refused_offset(view);
  if (refused.empty()) refused = unkeepable_character(view);
  if (!refused.empty()) {
    rt_message_box(refused.c_str(), "注意", RT_MB_OK | RT_MB_ICONWARNING, owner);
    view.set_status("设置未保存，改好后再点“保存”");
    return;
  }
  if (check && !check(printer, printer != current_printer_)) {
    view.set_status("设置未保存，改好后再点“保存”");
    return;
  }
  bool saved = true;
  for (const Key& key : saved_fields)
    saved = rt::ini_write(path_, key.section, key.name, view.text(key.field)) && saved;
  saved = rt::ini_write(path_, "ji", "jiqita",
                        rt::encode_setting_text(view.text(view::control::sender_address))) &&
          saved;
  saved = rt::ini_write(path_, "dayinji", "moren", printer) && saved;
  if (!saved) {
    // The pane stays open with the seller's edits, to try again elsewhere.
    std::string text = "保存设置失败：无法写入 " + path_ +
                       "\r\n请确认这个文件不是只读的，程序所在的文件夹可以写入。";
    rt_message_box(text.c_str(), "信息", RT_MB_OK | RT_MB_ICONERROR, owner);
    view.set_status("保存设置失败：无法写入 " + path_);
    return;
  }
  view.set_text(view::control::settings_button, "设置");
  view.set_width(collapsed_width);
  pane_open_ = false;
  current_printer_ = printer;
  if (!printer.empty()) shown_default_ = -1;
  view.set_status("已保存设置");
}

}  // namespace app

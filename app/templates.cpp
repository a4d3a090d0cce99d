#include "app/templates.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>

#include "print/template_row.h"
#include "print/template_store.h"
#include "runtime/convert.h"
#include "runtime/settings_file.h"
#include "runtime/text_between.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"
#include "settings/cfg_file.h"

namespace app {

const std::string_view builtin_templates =
    "1=申通,260,250,690,600,360,600,260,400,1200,250,1600,600,1260,600,1180,400,200,0,200,50,500,"
    "340,,,\r\n"
    "2=圆通,260,230,690,500,360,500,260,350,1200,230,1600,500,1280,500,1180,350,200,0,200,50,500,"
    "340,,,\r\n"
    "3=中通,260,250,650,540,300,540,260,330,1200,250,1600,540,1230,540,1180,330,200,0,200,50,500,"
    "340,,,\r\n"
    "4=汇通,260,230,690,580,260,580,220,400,1200,230,1700,580,1230,580,1130,400,200,0,200,50,500,"
    "340,,,\r\n"
    "5=韵达,290,230,220,520,630,520,280,350,1180,230,1100,520,1580,520,1180,340,200,0,200,50,500,"
    "340,,,\r\n"
    "6=小包,330,700,750,750,750,700,330,830,330,430,750,470,750,430,330,560,80,110,100,50,350,50,,,"
    "\r\n"
    "7=EMS,260,220,680,280,680,220,260,350,260,530,680,580,680,530,260,663,80,110,100,50,350,50,,,"
    "\r\n"
    "8=顺丰,830,300,250,300,250,360,250,420,830,660,250,720,700,720,250,790,80,110,100,50,350,50,,,"
    "\r\n"
    "9=宅急送,1700,1040,1700,1090,230,330,200,420,280,650,200,950,620,890,200,750,200,980,100,50,"
    "350,50,,,\r\n";

namespace {

constexpr char default_mark[] = "[默认]";

std::string key_of(int n) { return std::to_string(n); }

// Rows 1, 2, ... of a block, up to the first missing one; none past `limit`.
std::optional<std::vector<std::string>> numbered_rows(std::string_view block, size_t limit) {
  std::vector<std::string> rows;
  for (size_t n = 1;; ++n) {
    std::string row = rt::text_between(block, key_of(int(n)) + "=", "\r\n");
    if (row.empty()) return rows;
    if (n > limit) return std::nullopt;
    rows.push_back(std::move(row));
  }
}

}  // namespace

std::optional<std::vector<std::string>> page_template_rows(std::string_view banner_page) {
  std::string block = rt::text_between(banner_page, "位置", "|");
  if (block.empty()) return std::nullopt;
  std::optional<std::vector<std::string>> rows = numbered_rows(block, kMaxPageRows);
  if (!rows || rows->empty() || !std::all_of(rows->begin(), rows->end(),
                                                 [](const std::string& row) {
                                                   return print::is_sound_template_row(row, kMaxRowBytes);
                                                 }))
    return std::nullopt;
  return rows;
}

bool write_template_rows(const std::string& settings_path, const std::vector<std::string>& rows) {
  return print::TemplateStore::write_server_rows(settings_path, rows);
}

bool seed_templates(const std::string& settings_path, std::string_view banner_page) {
  std::optional<std::vector<std::string>> rows = page_template_rows(banner_page);
  if (!rows && !settings::CfgFile(settings_path).has_server_templates())
    rows = numbered_rows("\r\n" + std::string(builtin_templates), kMaxPageRows);
  return !rows || write_template_rows(settings_path, *rows);
}

void fill_template_list(view::MainView& view, const std::string& settings_path) {
  view.list_clear(view::control::template_list);
  print::TemplateStore store(settings_path);
  int chosen = store.default_position();
  for (size_t i = 0; i < store.templates().size(); ++i) {
    std::string name = store.templates()[i].name();
    if (int(i) == chosen) name += default_mark;
    view.list_add(view::control::template_list, name);
  }
  if (chosen >= 0) view.list_select(view::control::template_list, chosen);
}

std::string template_row(const std::string& settings_path, int position) {
  print::TemplateStore store(settings_path);
  const print::StoredTemplate* t = store.at(position);
  return t ? t->row : std::string();
}

bool is_own_template(const std::string& settings_path, int position) {
  return print::TemplateStore(settings_path).is_own(position);
}

// Checked by character: the second byte of a character such as 郵 (E0 5D)
// is no "]".
bool is_template_name(std::string_view name) {
  if (name.empty() || name.size() > 32) return false;
  for (size_t at = 0; at < name.size(); ++at) {
    char c = name[at];
    if (rt::is_lead_byte(c)) {
      if (++at == name.size()) return false;  // a character cut in two
      continue;
    }
    if ((unsigned char)c < 0x20 || c == 0x7F || c == ',' || c == '=' || c == '[' || c == ']' ||
        c == ';')
      return false;
  }
  return true;
}

std::string template_name_problem(std::string_view name) {
  if (!is_template_name(name))
    return "模板名称不能为空，不能超过 32 个字节，也不能含有 , = [ ] ; 这些符号。";
  std::string refused = rt::character_settings_cannot_keep(name);
  if (refused.empty()) return {};
  return "模板名称里的" + rt::quoted_character(refused) + "存不进设置文件 cfg.ini：" +
         rt::kSettingsKeepGbk + "请换一种写法再保存。";
}

int save_own_template(const std::string& settings_path, int position, const std::string& row) {
  return print::TemplateStore(settings_path).save_own(position, row);
}

void set_default_template(view::MainView& view, const std::string& settings_path) {
  int selected = view.list_selection(view::control::template_list);
  if (!print::TemplateStore(settings_path).set_default(selected)) {
    view.set_status("设置默认模板失败：无法写入 " + settings_path);
    return;
  }
  std::string name;
  if (selected >= 0) {
    std::string entry = view.list_item(view::control::template_list, selected);
    name = rt::replace_sub(entry, default_mark, "", 1, INT_MAX, true).view();
  }
  view.set_status("已设置[" + name + "] 为你的默认快递模板");
  fill_template_list(view, settings_path);
}

}  // namespace app

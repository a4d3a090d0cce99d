#include "app/templates.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>

#include "print/template_row.h"
#include "runtime/convert.h"
#include "runtime/settings_file.h"
#include "runtime/text_between.h"
#include "runtime/text_encoding.h"
#include "runtime/text_ops.h"

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

constexpr char section[] = "dayin";
constexpr char own_section[] = "wodemoban";
constexpr char default_mark[] = "[默认]";
// The default template: "wz" holds its list position (what older versions
// read), "moren" names it ("section,name"), so that it stays the same
// template when the server's block grows or shrinks.
constexpr char default_position_key[] = "wz";
constexpr char default_name_key[] = "moren";

std::string key_of(int n) { return std::to_string(n); }

}  // namespace

namespace {

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

// "key=value" lines of a section, found by key (names compare as the
// settings engine does: digits and ASCII letters regardless of case).
std::string key_of_line(std::string_view line) {
  std::string key(rt::trim(line.substr(0, line.find('='))).view());
  std::transform(key.begin(), key.end(), key.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
  return key;
}

std::map<std::string, std::string> section_values(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> values;
  for (const std::string& line : lines) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    values.emplace(key_of_line(line), std::string(rt::trim(line.substr(equals + 1)).view()));
  }
  return values;
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
  std::vector<std::string> lines = rt::ini_read_section(settings_path, section);
  std::vector<std::string> updated = lines;
  std::map<std::string, size_t> line_of;
  for (size_t i = 0; i < updated.size(); ++i) line_of.emplace(key_of_line(updated[i]), i);
  for (size_t n = 1; n <= rows.size(); ++n) {
    std::string line = key_of(int(n)) + "=" + rows[n - 1];
    auto found = line_of.find(key_of(int(n)));
    if (found == line_of.end())
      updated.push_back(line);
    else
      updated[found->second] = line;
  }
  return updated == lines || rt::ini_write_section(settings_path, section, updated);
}

bool seed_templates(const std::string& settings_path, std::string_view banner_page) {
  std::optional<std::vector<std::string>> rows = page_template_rows(banner_page);
  if (!rows && rt::ini_read(settings_path, section, "1").empty())
    rows = numbered_rows("\r\n" + std::string(builtin_templates), kMaxPageRows);
  return !rows || write_template_rows(settings_path, *rows);
}

namespace {

// Rows 1, 2, ... of a section's values, up to the first missing one.
std::vector<std::string> listed_rows(const std::map<std::string, std::string>& values) {
  std::vector<std::string> rows;
  for (int n = 1;; ++n) {
    auto row = values.find(key_of(n));
    if (row == values.end() || row->second.empty()) return rows;
    rows.push_back(row->second);
  }
}

std::vector<std::string> rows_of(const std::string& settings_path, const char* name) {
  return listed_rows(section_values(rt::ini_read_section(settings_path, name)));
}

std::string name_of(const std::string& row) { return print::TemplateRow::read(row).name; }

}  // namespace

namespace {

// "dayin,圆通" or "wodemoban,我的圆通": how the default is named.
std::string default_name(const char* row_section, const std::string& row) {
  return std::string(row_section) + "," + name_of(row);
}

// The default's list position: the template it names, else (a file an
// older version wrote) the position it holds; -1 for none.
int default_position(const std::map<std::string, std::string>& values,
                     const std::vector<std::string>& server, const std::vector<std::string>& own) {
  auto named = values.find(default_name_key);
  if (named != values.end() && !named->second.empty()) {
    for (size_t i = 0; i < server.size(); ++i)
      if (default_name(section, server[i]) == named->second) return int(i);
    for (size_t k = 0; k < own.size(); ++k)
      if (default_name(own_section, own[k]) == named->second) return int(server.size() + k);
  }
  auto position = values.find(default_position_key);
  int64_t number = position == values.end() ? 0 : rt::leading_integer(position->second);
  return number >= 1 && number <= int64_t(server.size() + own.size()) ? int(number - 1) : -1;
}

}  // namespace

void fill_template_list(view::MainView& view, const std::string& settings_path) {
  view.list_clear(view::control::template_list);
  std::map<std::string, std::string> values =
      section_values(rt::ini_read_section(settings_path, section));
  std::vector<std::string> server = listed_rows(values);
  std::vector<std::string> own = rows_of(settings_path, own_section);
  int chosen = default_position(values, server, own);
  for (size_t i = 0; i < server.size() + own.size(); ++i) {
    std::string name = name_of(i < server.size() ? server[i] : own[i - server.size()]);
    if (int(i) == chosen) name += default_mark;
    view.list_add(view::control::template_list, name);
  }
  if (chosen >= 0) view.list_select(view::control::template_list, chosen);
}

std::string template_row(const std::string& settings_path, int position) {
  if (position < 0) return {};
  std::vector<std::string> rows = rows_of(settings_path, section);
  if (size_t(position) < rows.size()) return rows[size_t(position)];
  std::vector<std::string> own = rows_of(settings_path, own_section);
  size_t k = size_t(position) - rows.size();
  return k < own.size() ? own[k] : std::string();
}

bool is_own_template(const std::string& settings_path, int position) {
  size_t server = rows_of(settings_path, section).size();
  return position >= 0 && size_t(position) >= server &&
         size_t(position) < server + rows_of(settings_path, own_section).size();
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
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", unsigned(rt::character_at(refused, 0)));
  return "模板名称里的“" + refused + "”（" + code + "）存不进设置文件 cfg.ini：" +
         rt::kSettingsKeepGbk + "请换一种写法再保存。";
}

int save_own_template(const std::string& settings_path, int position, const std::string& row) {
  size_t server = rows_of(settings_path, section).size();
  std::vector<std::string> own = rows_of(settings_path, own_section);
  size_t k = is_own_template(settings_path, position) ? size_t(position) - server : own.size();
  if (!rt::ini_write(settings_path, own_section, key_of(int(k + 1)), row)) return -1;
  return int(server + k);
}

void set_default_template(view::MainView& view, const std::string& settings_path) {
  int selected = view.list_selection(view::control::template_list);
  std::string row = template_row(settings_path, selected);
  std::string named =
      row.empty() ? "" : default_name(is_own_template(settings_path, selected) ? own_section : section, row);
  if (!rt::ini_write(settings_path, section, default_position_key, key_of(selected + 1)) ||
      !rt::ini_write(settings_path, section, default_name_key, named)) {
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

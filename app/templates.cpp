#include "app/templates.h"

#include <climits>

#include "runtime/convert.h"
#include "runtime/settings_file.h"
#include "runtime/text_between.h"
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
constexpr char default_mark[] = "[默认]";

std::string key_of(int n) { return std::to_string(n); }

}  // namespace

void seed_templates(const std::string& settings_path, std::string_view banner_page) {
  std::string seed = rt::text_between(banner_page, "位置", "|");
  if (seed.empty() && rt::ini_read(settings_path, section, "1").empty())
    seed = std::string(builtin_templates);
  for (int n = 1;; ++n) {
    std::string line = rt::text_between(seed, key_of(n) + "=", "\r\n");
    if (line.empty()) break;
    rt::ini_write(settings_path, section, key_of(n), line);
  }
}

void fill_template_list(view::MainView& view, const std::string& settings_path) {
  view.list_clear(view::control::template_list);
  int64_t default_number = rt::leading_integer(rt::ini_read(settings_path, section, "wz").view());
  for (int n = 1;; ++n) {
    rt::Text row = rt::ini_read(settings_path, section, key_of(n));
    if (row.empty()) break;
    size_t comma = row.view().find(',');
    std::string name(comma == std::string_view::npos ? "" : row.view().substr(0, comma));
    if (n == default_number) name += default_mark;
    view.list_add(view::control::template_list, name);
  }
  if (default_number >= 1 && default_number <= INT_MAX)
    view.list_select(view::control::template_list, int(default_number - 1));
}

void set_default_template(view::MainView& view, const std::string& settings_path) {
  int selected = view.list_selection(view::control::template_list);
  rt::ini_write(settings_path, section, "wz", key_of(selected + 1));
  std::string name;
  if (selected >= 0) {
    std::string entry = view.list_item(view::control::template_list, selected);
    name = rt::replace_sub(entry, default_mark, "", 1, INT_MAX, true).view();
  }
  view.set_status("已设置[" + name + "] 为你的默认快递模板");
  fill_template_list(view, settings_path);
}

}  // namespace app

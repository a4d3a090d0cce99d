#include "tools/layout_command.h"

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "app/templates.h"
#include "print/waybill_layout.h"
#include "runtime/text_encoding.h"
#include "runtime/text_between.h"
#include "settings/cfg_file.h"

namespace {

const char usage[] =
    "usage: slipjet-cli layout (--row ROW | --template N [--cfg PATH]) [--left MM] [--top MM]\n"
    "         [--name T] [--fixed T] [--mobile T] [--goods T] [--address T] [--sender-name T]\n"
    "         [--sender-fixed T] [--sender-mobile T] [--sender-address T] [--date T]\n"
    "         [--utf8] [--json]\n"
    "  The ten items the print job draws: position in 0.1 mm, point or 80 x 30 mm box,\n"
    "  font size (with --json also its printed character height in 0.1 mm), text.\n"
    "  A template number is read from cfg.ini's [dayin] section,\n"
    "  else from the built-in couriers. In texts, \\n stands for a line break.\n";

const char* const value_options[] = {
    "--row",         "--template",     "--cfg",           "--left",           "--top",
    "--name",        "--fixed",        "--mobile",        "--goods",          "--address",
    "--sender-name", "--sender-fixed", "--sender-mobile", "--sender-address", "--date"};

std::optional<std::map<std::string, std::string>> parse(const std::vector<std::string>& args) {
  std::map<std::string, std::string> o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--utf8" || a == "--json") {
      o[a] = "1";
      continue;
    }
    bool known = false;
    for (const char* v : value_options) known = known || a == v;
    if (!known || i + 1 >= args.size()) return std::nullopt;
    o[a] = args[++i];
  }
  if (o.count("--row") == o.count("--template")) return std::nullopt;
  return o;
}

// A built-in courier's row ("N=" at the start of a line of the table).
std::string builtin_row(const std::string& number) {
  std::string table = "\r\n" + std::string(app::builtin_templates);
  return rt::text_between(table, "\r\n" + number + "=", "\r\n");
}

std::string template_row(const std::map<std::string, std::string>& o) {
  if (o.count("--row")) return o.at("--row");
  std::string number = o.at("--template");
  std::string cfg = o.count("--cfg") ? o.at("--cfg") : "cfg.ini";
  std::string row = settings::CfgFile(cfg).server_template_row(number);
  return row.empty() ? builtin_row(number) : row;
}

}  // namespace

int layout_command(const std::vector<std::string>& args) {
  auto o = parse(args);
  if (!o) {
    std::fputs(usage, stderr);
    return 2;
  }
  bool utf8 = o->count("--utf8") > 0;
  auto text = [&](const char* option) {
    std::string value = o->count(option) ? o->at(option) : std::string();
    for (size_t at = 0; (at = value.find("\\n", at)) != std::string::npos;)
      value.replace(at, 2, "\r\n");
    return utf8 ? rt::from_utf8(value) : value;
  };
  auto out = [&](const std::string& gbk) { return utf8 ? rt::to_utf8(gbk) : gbk; };
  print::WaybillTexts texts{
      {text("--name"), text("--mobile"), text("--fixed"), text("--address"), text("--goods")},
      text("--sender-name"),
      text("--sender-fixed"),
      text("--sender-mobile"),
      text("--sender-address"),
      text("--date"),
      {}};
  std::string row = o->count("--row") ? text("--row") : template_row(*o);
  auto items = print::waybill_items(print::TemplateRow::read(row).values, print::offset_tenths(text("--left")),
                                    print::offset_tenths(text("--top")), texts);
  std::string result;
  if (o->count("--json")) {
    nlohmann::json list = nlohmann::json::array();
    int order = 0;
    for (const auto& item : items) {
      nlohmann::json j = {{"order", ++order},
                          {"kind", item.in_box ? "box" : "point"},
                          {"x", item.x},
                          {"y", item.y},
                          {"font_size", item.font_size},
                          {"char_height", print::character_height(item.font_size)},
                          {"text", rt::to_utf8(item.text)}};
      if (item.in_box) {
        j["width"] = print::kBoxWidth;
        j["height"] = print::kBoxHeight;
      }
      list.push_back(j);
    }
    result = list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  } else {
    std::ostringstream s;
    int order = 0;
    for (const auto& item : items) {
      std::string shown = item.text;
      for (size_t at = 0; (at = shown.find("\r\n", at)) != std::string::npos;)
        shown.replace(at, 2, "\\n");
      s << ++order << "\t" << (item.in_box ? "box" : "point") << "\t" << item.x << "," << item.y
        << "\t" << item.font_size << "\t" << out(shown) << "\n";
    }
    result = s.str();
  }
  std::fwrite(result.data(), 1, result.size(), stdout);
  return 0;
}

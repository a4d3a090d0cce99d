#include "tools/parse_address_command.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "recipient/parser.h"
#include "runtime/text_encoding.h"
#include "tools/command_input.h"

namespace {

const char usage[] =
    "usage: slipjet-cli parse-address [--utf8] [--json] [FILE]\n"
    "  The recipients in FILE (or standard input): name, mobile, phone,\n"
    "  postcode, province, city, district, detail, and the fields it guessed\n"
    "  (check), the fields a platform's mask hid (masked), and the goods\n"
    "  its labelled lines name (goods).\n"
    "  --utf8   the text is UTF-8, and so is the output\n"
    "  --json   one JSON object, or an array for a list (strings always UTF-8)\n"
    "  --lines  each line is a text of its own: one JSON object a line (JSON\n"
    "           Lines) of its first recipient, for measuring on a corpus\n";

struct Options {
  bool utf8 = false;
  bool json = false;
  bool lines = false;
  std::optional<std::string> file;
};

std::optional<Options> parse(const std::vector<std::string>& args) {
  Options o;
  for (const std::string& a : args) {
    if (a == "--utf8")
      o.utf8 = true;
    else if (a == "--json")
      o.json = true;
    else if (a == "--lines")
      o.lines = true;
    else if (!a.starts_with("--") && !o.file)
      o.file = a;
    else
      return std::nullopt;
  }
  return o;
}

using Fields = std::vector<std::pair<const char*, const std::string*>>;

Fields fields_of(const recipient::Recipient& r) {
  return {{"name", &r.name},         {"mobile", &r.mobile},     {"phone", &r.fixed},
          {"postcode", &r.postcode}, {"province", &r.province}, {"city", &r.city},
          {"district", &r.district}, {"detail", &r.detail}};
}

// The keys of the fields the parser guessed.
std::vector<std::string> checked(const recipient::Recipient& r) {
  std::vector<std::string> keys;
  for (int i = 0; i < 8; ++i)
    if (r.marked(recipient::Item(i))) keys.emplace_back(recipient::item_key(recipient::Item(i)));
  return keys;
}

// The keys of the fields a platform's mask hid.
std::vector<std::string> masked(const recipient::Recipient& r) {
  std::vector<std::string> keys;
  if (r.masked_name) keys.emplace_back("name");
  if (!r.masked_mobile.empty()) keys.emplace_back("mobile");
  if (r.masked_detail) keys.emplace_back("detail");
  return keys;
}

std::string whole_goods(const recipient::Recipient& r) {
  return recipient::goods_line(r.goods, std::string::npos);
}

nlohmann::ordered_json json_object(const recipient::Recipient& r) {
  nlohmann::ordered_json j;
  for (auto [key, value] : fields_of(r)) j[key] = rt::to_utf8(*value);
  j["check"] = checked(r);
  if (std::vector<std::string> hidden = masked(r); !hidden.empty()) j["masked"] = hidden;
  if (!r.goods.empty()) j["goods"] = rt::to_utf8(whole_goods(r));
  return j;
}

void print_json(const std::vector<recipient::Recipient>& list) {
  nlohmann::ordered_json out;
  if (list.size() == 1) {
    out = json_object(list[0]);
  } else {
    out = nlohmann::ordered_json::array();
    for (const auto& r : list) out.push_back(json_object(r));
  }
  std::string text = out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void print_text(const std::vector<recipient::Recipient>& list, bool utf8) {
  auto out = [&](std::string_view gbk) { return utf8 ? rt::to_utf8(gbk) : std::string(gbk); };
  std::ostringstream s;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list.size() > 1) s << (i ? "\n" : "") << "recipient " << i + 1 << "\n";
    for (auto [key, value] : fields_of(list[i]))
      s << key << ":" << std::string(10 - std::string_view(key).size(), ' ') << out(*value) << "\n";
    if (!list[i].masked_mobile.empty())
      s << "masked:    " << out(list[i].masked_mobile) << " (not a whole number)\n";
    if (list[i].masked_name || list[i].masked_detail) {
      s << "masked:   ";
      for (const std::string& key : masked(list[i])) s << " " << key;
      s << "\n";
    }
    if (!list[i].goods.empty()) s << "goods:     " << out(whole_goods(list[i])) << "\n";
    if (list[i].check) {
      s << "check:    ";
      for (const std::string& key : checked(list[i])) s << " " << key;
      s << "\n";
    }
  }
  std::fwrite(s.str().data(), 1, s.str().size(), stdout);
}

}  // namespace

int parse_address_command(const std::vector<std::string>& args) {
  std::optional<Options> o = parse(args);
  if (!o) {
    std::fputs(usage, stderr);
    return 2;
  }
  std::optional<std::string> input = read_command_input(o->file);
  if (!input) {
    std::fprintf(stderr, "slipjet-cli: cannot read %s\n", o->file ? o->file->c_str() : "input");
    return 2;
  }
  std::string text = o->utf8 ? rt::from_utf8(*input) : *input;
  if (o->lines) {
    std::string out;
    for (size_t begin = 0; begin < text.size();) {
      size_t end = std::min(text.find('\n', begin), text.size());
      std::vector<recipient::Recipient> found = recipient::parse_recipients(
          rt::with_plain_blanks(std::string_view(text).substr(begin, end - begin)));
      out += json_object(found.empty() ? recipient::Recipient{} : found[0])
                 .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
             "\n";
      begin = end + 1;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
  }
  std::vector<recipient::Recipient> list = recipient::parse_recipients(rt::with_plain_blanks(text));
  if (o->json)
    print_json(list.empty() ? std::vector<recipient::Recipient>{recipient::Recipient{}} : list);
  else
    print_text(list, o->utf8);
  return list.empty() ? 1 : 0;
}

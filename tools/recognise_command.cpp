#include "tools/recognise_command.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "runtime/platform.h"
#include "runtime/text_encoding.h"
#include "tools/command_input.h"
#include "view/memory_view.h"

namespace {

const char usage[] =
    "usage: slipjet-cli recognise [--cfg PATH] [--utf8] [--json] [--no-prompt] [FILE]\n"
    "  Recognises FILE (or standard input) as copied order text.\n"
    "  --cfg PATH    settings file with the item codes (default cfg.ini)\n"
    "  --utf8        the text is UTF-8, and so is the output\n"
    "  --json        one JSON object (strings always UTF-8)\n"
    "  --no-prompt   unknown item titles are not asked for\n";

struct Options {
  std::string cfg = "cfg.ini";
  bool utf8 = false;
  bool json = false;
  bool prompt = true;
  std::optional<std::string> file;
};

std::optional<Options> parse(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--cfg" && i + 1 < args.size())
      o.cfg = args[++i];
    else if (a == "--utf8")
      o.utf8 = true;
    else if (a == "--json")
      o.json = true;
    else if (a == "--no-prompt")
      o.prompt = false;
    else if (!a.starts_with("--") && !o.file)
      o.file = a;
    else
      return std::nullopt;
  }
  return o;
}


// Item titles are asked on the terminal, and only when the text came from a
// file while a person sits at the terminal.
// Item codes are asked on the terminal; boxes are the platform's.
class TerminalAsker final : public view::Asker {
 public:
  explicit TerminalAsker(bool prompting) : prompting_(prompting) {}

  int box(std::string_view text, std::string_view caption, unsigned type) override {
    return view::BoxAsker().box(text, caption, type);
  }
  std::optional<std::string> typed(std::string_view prompt, std::string_view caption,
                                   std::string_view) override {
    if (!prompting_) return std::nullopt;
    std::string question = std::string(caption) + " " + std::string(prompt);
    std::fprintf(stderr, "%s: ", platform_to_terminal(question).c_str());
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return platform_from_terminal(line);
  }

 private:
  bool prompting_;
};

// A record's line as the window lists it: the marketplace's address line,
// or for a recipient of a pasted list its fields joined the same way.
std::string line_of(const recognize::ShippingRecord& record) {
  if (!record.recipient) return record.address_line;
  const recipient::Recipient& r = *record.recipient;
  return recipient::full_address(r) + " ，" + r.postcode + "，" + r.name + "，" + r.fixed +
         (r.fixed.empty() ? "" : " ") + r.mobile;
}

struct Outcome {
  std::string status, name, mobile, fixed, address, goods;
  bool batch_print;
  std::vector<recognize::ShippingRecord> records;
};

void print_text(const Outcome& r, bool utf8) {
  auto out = [&](std::string_view gbk) {
    return utf8 ? rt::to_utf8(gbk) : std::string(gbk);
  };
  std::string address = r.address;
  for (size_t at = 0; (at = address.find("\r\n", at)) != std::string::npos;)
    address.replace(at, 2, "\n         ");
  std::ostringstream s;
  s << "status:  " << out(r.status) << "\nname:    " << out(r.name)
    << "\nmobile:  " << out(r.mobile) << "\nfixed:   " << out(r.fixed)
    << "\naddress: " << out(address) << "\ngoods:   " << out(r.goods)
    << "\nbatch print: " << (r.batch_print ? "yes" : "no") << "\nrecords: " << r.records.size()
    << "\n";
  for (size_t i = 0; i < r.records.size(); ++i) {
    s << "  " << i + 1 << ". " << out(line_of(r.records[i]))
      << "\n     goods:   " << out(r.records[i].goods)
      << "\n     summary: " << out(r.records[i].summary) << "\n";
  }
  std::fwrite(s.str().data(), 1, s.str().size(), stdout);
}

void print_json(const Outcome& r) {
  auto u = [](std::string_view gbk) { return rt::to_utf8(gbk); };
  nlohmann::json records = nlohmann::json::array();
  for (const auto& record : r.records)
    records.push_back({{"line", u(line_of(record))},
                       {"goods", u(record.goods)},
                       {"summary", u(record.summary)}});
  nlohmann::json j = {{"status", u(r.status)},        {"name", u(r.name)},
                      {"mobile", u(r.mobile)},        {"fixed", u(r.fixed)},
                      {"address", u(r.address)},      {"goods", u(r.goods)},
                      {"batch_print", r.batch_print}, {"records", records}};
  std::string text = j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int recognise_command(const std::vector<std::string>& args) {
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
  rt_start_libraries(support_libraries);
  TerminalAsker asker(o->prompt && o->file && platform_stdin_is_terminal());

  view::MemoryView view;
  view.set_enabled(view::control::batch_print_button, false);
  recognize::Recognizer recognizer(view, o->cfg, asker);
  recognizer.recognise(text);

  using namespace view::control;
  Outcome r{view.status,
            view.text(name_box),
            view.text(mobile_phone),
            view.text(fixed_phone),
            view.text(address),
            view.text(goods),
            view.enabled(batch_print_button),
            recognizer.records()};
  if (o->json)
    print_json(r);
  else
    print_text(r, o->utf8);
  return 0;
}

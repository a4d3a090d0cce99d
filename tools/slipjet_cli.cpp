// slipjet-cli: runs the program's text operations from a terminal, for
// trying out and checking them without the window.
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/convert.h"
#include "runtime/platform.h"
#include "runtime/text_ops.h"
#include "tools/layout_command.h"
#include "tools/parse_address_command.h"
#include "tools/recognise_command.h"

namespace {

const char usage[] =
    "usage: slipjet-cli COMMAND ARGS...\n"
    "  split TEXT [SEPARATOR]     the pieces, one per line\n"
    "  find TEXT SOUGHT           1-based byte position or -1\n"
    "  trim TEXT                  without leading and trailing spaces\n"
    "  fullwidth TEXT             full-width form\n"
    "  halfwidth TEXT             half-width form\n"
    "  date DAYS                  the date text of an OLE Automation date\n"
    "  recognise [--cfg PATH] [--utf8] [--json] [--no-prompt] [FILE]\n"
    "                             recognition of copied order text\n"
    "  parse-address [--utf8] [--json] [FILE]\n"
    "                             the recipients in any copied text\n"
    "  layout --row ROW | --template N [options]\n"
    "                             the ten items a waybill prints (--help for options)\n";

void print(std::string_view gbk) {
  std::string line = platform_to_terminal(gbk) + "\n";
  std::fputs(line.c_str(), stdout);
}

int run(const std::string& command, const std::vector<std::string>& args) {
  if (command == "recognise") return recognise_command(args);
  if (command == "layout") return layout_command(args);
  if (command == "parse-address") return parse_address_command(args);
  auto need = [&](size_t n) { return args.size() >= n; };
  if (command == "split" && need(1)) {
    rt::TextArray pieces = rt::split(args[0], args.size() > 1 ? args[1] : ",");
    for (size_t i = 0; i < pieces.size(); ++i) print(pieces[i]);
    return 0;
  }
  if (command == "find" && need(2)) {
    std::printf("%d\n", rt::find(args[0], args[1]));
    return 0;
  }
  rt::Text result;
  if (command == "trim" && need(1)) {
    result = rt::trim(args[0]);
  } else if (command == "fullwidth" && need(1)) {
    result = rt::fullwidth(args[0]);
  } else if (command == "halfwidth" && need(1)) {
    result = rt::halfwidth(args[0]);
  } else if (command == "date" && need(1)) {
    result = rt::date_text(rt::to_number(rt_text_arg(args[0].c_str())), false);
  } else {
    std::fputs(usage, stderr);
    return 2;
  }
  print(result.view());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  std::vector<std::string> args;
  // Paths stay as the terminal gave them; texts become GBK.
  std::string command = argv[1];
  bool raw = command == "recognise" || command == "layout" || command == "parse-address";
  for (int i = 2; i < argc; ++i) args.push_back(raw ? argv[i] : platform_from_terminal(argv[i]));
  return run(argv[1], args);
}

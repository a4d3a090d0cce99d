#include "recognize/field_checks.h"

#include <string>

#include "regex/regex_object.h"
#include "regex/rx_commands.h"
#include "runtime/heap.h"
#include "runtime/text.h"

namespace recognize {

namespace {

// The text of the leftmost match of `pattern` in `s`, through the
// regular-expression library's commands.
std::string first_library_match(const char* pattern, const std::string& s) {
  RxRegexVariable regex{};
  RtArg object = rt_pointer_arg(&regex, RX_REGEX_TYPE);
  rt_call_library(rx_new, 1, &object);
  RtArg compile_args[] = {object, rt_text_arg(pattern)};
  rt_call_library(rx_compile, 2, compile_args);
  RtArg search_args[] = {object, rt_text_arg(s.c_str()), rt_int_arg(1)};
  RtArg holder = rt_call_library(rx_search, 3, search_args);
  RtArg text_args[] = {holder, rt_text_arg(s.c_str())};
  rt::Text match = rt::Text::adopt(
      static_cast<char*>(rt_arg_pointer(rt_call_library(rx_match_text, 2, text_args))));
  rt_call_library(rx_result_free, 1, &holder);
  rt_free(rt_arg_pointer(holder));
  rt_call_library(rx_free, 1, &object);
  return std::string(match.view());
}

}  // namespace

bool is_all_digits(std::string_view s) {
  return first_library_match("[0-9]+", std::string(s)) == s;
}

std::string find_phone(std::string_view text, int kind) {
  const char* pattern = kind == int(PhoneKind::mobile)       ? "1[3|4|5|8][0-9]\\d{6,8}"
                        : kind == int(PhoneKind::fixed_line) ? "\\d{3,4}-\\d{7,8}(-\\d{1,4})?"
                                                             : "";
  rx::RegexObject regex;
  regex.create(pattern);
  regex.execute(text);
  return regex.match_text(1);
}

}  // namespace recognize

// Reads the arguments of one runtime command: the count and the triples.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/text.h"
#include "runtime/value.h"

// Reads the arguments of one command call. A text parameter given another
// kind raises runtime error 11; a number parameter given a non-number, 2.
class CommandArgs {
 public:
  CommandArgs(int count, const RtArg* args) : count_(args ? count : 0), args_(args) {}

  int count() const { return count_ < 0 ? 0 : count_; }
  bool given(int i) const { return i < count() && args_[i].type != RT_OMITTED; }

  // A flag is read by its value alone, so a left-out flag is false.
  bool flag(int i) const { return i < count() && args_[i].value != 0; }

  std::string_view text(int i) const {
    if (!given(i)) return {};
    const RtArg& a = args_[i];
    if (a.type == RT_TEXT) return rt_text_view(static_cast<const char*>(rt_arg_pointer(a)));
    if (a.type == (RT_TEXT | RT_BY_REF)) {
      auto* variable = static_cast<char* const*>(rt_arg_pointer(a));
      return rt_text_view(variable ? *variable : nullptr);
    }
    rt_raise(11);
  }

  int32_t integer(int i) const { return given(i) ? rt::to_int(number_arg(i)) : 0; }
  double number(int i) const { return given(i) ? rt::to_number(number_arg(i)) : 0; }
  std::optional<int32_t> optional_integer(int i) const {
    return given(i) ? std::optional<int32_t>(integer(i)) : std::nullopt;
  }

  const void* bytes(int i) const {
    if (!given(i)) return nullptr;
    if (args_[i].type != RT_BYTES) rt_raise(11);
    return rt_arg_pointer(args_[i]);
  }

  const RtArg& raw(int i) const { return args_[i]; }

  std::vector<int32_t> integers() const {
    std::vector<int32_t> values;
    for (int i = 0; i < count(); ++i) values.push_back(integer(i));
    return values;
  }

  std::vector<double> numbers() const {
    std::vector<double> values;
    for (int i = 0; i < count(); ++i) values.push_back(number(i));
    return values;
  }

 private:
  const RtArg& number_arg(int i) const {
    if (!rt_is_number_type(args_[i].type)) rt_raise(2);
    return args_[i];
  }

  int count_;
  const RtArg* args_;
};

#include "runtime/input_box.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/command_args.h"
#include "runtime/convert.h"
#include "runtime/heap.h"
#include "runtime/text.h"

namespace {

RtInputBoxHook input_box_hook = nullptr;

template <typename T>
void store(void* variable, T value) {
  std::memcpy(variable, &value, sizeof value);
}

// Stores the answer by the target's type; false for a type it cannot take.
// A number typed for an integer target: saturated to its range, as the
// runtime's conversions do, never wrapped.
template <typename T>
T saturated(int64_t value) {
  return T(
      std::clamp<int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

bool store_answer(const RtArg& target, std::string_view answer) {
  void* variable = rt_arg_pointer(target);
  uint32_t type = rt_base_type(target.type);
  if (!variable || !rt_is_ref(target.type)) return false;
  if (type == RT_TEXT) {
    auto** text = static_cast<char**>(variable);
    rt_free(*text);
    *text = rt_text_make(answer);
    return true;
  }
  if (answer.empty()) answer = "0";
  switch (type) {
    case RT_BYTE: store(variable, saturated<uint8_t>(rt::leading_integer(answer))); return true;
    case RT_SHORT: store(variable, saturated<int16_t>(rt::leading_integer(answer))); return true;
    case RT_INT: store(variable, saturated<int32_t>(rt::leading_integer(answer))); return true;
    case RT_INT64: store(variable, int64_t(rt::leading_integer(answer))); return true;
    case RT_FLOAT: store(variable, float(rt::leading_number(answer))); return true;
    case RT_DOUBLE: store(variable, rt::leading_number(answer)); return true;
    default: return false;
  }
}

}  // namespace

namespace rt {

std::optional<std::string> ask_text(const InputBoxRequest& request) {
  InputBoxRequest asked = request;
  if (asked.kind < kFreeText || asked.kind > kHiddenText) asked.kind = kFreeText;
  return input_box_hook ? input_box_hook(asked) : platform_input_box(asked);
}

bool input_box(const InputBoxRequest& request, const RtArg& target) {
  std::optional<std::string> answer = ask_text(request);
  return answer && store_answer(target, *answer);
}

}  // namespace rt

void rt_set_input_box_hook(RtInputBoxHook hook) { input_box_hook = hook; }

int32_t rt_input_box(int count, const RtArg* args) {
  CommandArgs a(count, args);
  rt::InputBoxRequest request;
  if (a.given(0)) request.prompt = a.text(0);
  if (a.given(1)) request.caption = a.text(1);
  if (a.given(2)) request.default_text = a.text(2);
  request.kind = a.optional_integer(4).value_or(1);
  return a.given(3) && rt::input_box(request, a.raw(3));
}

// A small stand-alone dialog that asks the user for one value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace rt {

// Input kinds, as the language's input box numbers them.
enum InputKind : int { kFreeText = 1, kInteger = 2, kDecimal = 3, kHiddenText = 4 };

// The box's edit field (tests type into it).
inline constexpr int kInputBoxTextEdit = 1001;

struct InputBoxRequest {
  std::optional<std::string_view> prompt;
  std::optional<std::string_view> caption;
  std::optional<std::string_view> default_text;
  int kind = kFreeText;
  // The window that asks (an HWND on Windows): disabled while the box is
  // open. 0: the active window.
  uintptr_t owner = 0;
};

// Asks, then stores the answer in the variable `target` points at (a
// by-reference argument: text, byte, short, int, int64, float or double).
// True when the user confirmed and the value was stored.
bool input_box(const InputBoxRequest& request, const RtArg& target);
// Asks, for the program's own questions: the text typed, nothing when the
// person cancelled.
std::optional<std::string> ask_text(const InputBoxRequest& request);

}  // namespace rt

// The dialog itself: the text entered when confirmed, nothing when not.
std::optional<std::string> platform_input_box(const rt::InputBoxRequest& request);

// Tests answer input boxes through this hook (null: none).
using RtInputBoxHook = std::optional<std::string> (*)(const rt::InputBoxRequest& request);
void rt_set_input_box_hook(RtInputBoxHook hook);

int32_t rt_input_box(int count, const RtArg* args);

// How the program asks the seller something or tells of a failure: one
// interface, passed in like the view, so that every question has an owner
// and the tests can answer from a script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/input_box.h"
#include "runtime/message_box.h"

namespace view {

class Asker {
 public:
  virtual ~Asker() = default;

  // Shows `text` with the RT_MB_* buttons and icon of `type`; returns the
  // button pressed (RT_ID*).
  virtual int box(std::string_view text, std::string_view caption, unsigned type) = 0;
  // Asks for a line of text, `proposed` filled in: what was typed, nothing
  // when the seller cancelled.
  virtual std::optional<std::string> typed(std::string_view prompt, std::string_view caption,
                                           std::string_view proposed) = 0;

  // 是 or 否: true for 是.
  bool yes(std::string_view question, std::string_view caption,
           unsigned icon = RT_MB_ICONQUESTION) {
    return box(question, caption, RT_MB_YESNO | icon) == RT_IDYES;
  }
  // 确定 or 取消: true for 确定.
  bool ok(std::string_view text, std::string_view caption, unsigned icon) {
    return box(text, caption, RT_MB_OKCANCEL | icon) == RT_IDOK;
  }
  // A note or a failure told, answered with 确定.
  void tell(std::string_view text, std::string_view caption, unsigned icon) {
    box(text, caption, RT_MB_OK | icon);
  }
};

// The questions as boxes owned by one window (an HWND on Windows; 0: the
// active one), which they disable while they are open.
class BoxAsker final : public Asker {
 public:
  explicit BoxAsker(uintptr_t owner = 0) : owner_(owner) {}

  int box(std::string_view text, std::string_view caption, unsigned type) override {
    return rt_message_box(std::string(text).c_str(), std::string(caption).c_str(), type, owner_);
  }
  std::optional<std::string> typed(std::string_view prompt, std::string_view caption,
                                   std::string_view proposed) override {
    return rt::ask_text({prompt, caption, proposed, rt::kFreeText, owner_});
  }
  uintptr_t owner() const { return owner_; }

 private:
  uintptr_t owner_;
};

}  // namespace view

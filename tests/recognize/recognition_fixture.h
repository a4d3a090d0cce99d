// A window in memory, a throw-away settings file, started support
// libraries and scripted answers to the item-code dialog.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "runtime/input_box.h"
#include "tests/app/settings_file_fixture.h"
#include "view/memory_view.h"

// Answers the item-code dialog from a queue (empty queue: cancel) and
// records each prompt and the window it was asked for.
struct ScriptedDialog {
  static inline std::deque<std::optional<std::string>> answers;
  static inline std::vector<std::string> prompts;
  static inline std::vector<uintptr_t> owners;
  static std::optional<std::string> answer(const rt::InputBoxRequest& request) {
    prompts.emplace_back(request.prompt.value_or(""));
    owners.push_back(request.owner);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class Recognition : public SettingsFolder {
 protected:
  void SetUp() override {
    SettingsFolder::SetUp();
    static bool started = false;
    if (!started) rt_start_libraries(support_libraries);
    started = true;
    ScriptedDialog::answers.clear();
    ScriptedDialog::prompts.clear();
    ScriptedDialog::owners.clear();
    rt_set_input_box_hook(ScriptedDialog::answer);
    recognizer.emplace(view, path_, main_window);
  }
  void TearDown() override {
    rt_set_input_box_hook(nullptr);
    SettingsFolder::TearDown();
  }

  std::string box(int id) const { return view.text(id); }
  std::vector<std::string> names() { return view.lists[view::control::name_box]; }
  bool batch_print() const { return view.enabled(view::control::batch_print_button); }

  view::MemoryView view;
  view::BoxAsker main_window{0x51};  // the boxes go to the scripted dialog
  std::optional<recognize::Recognizer> recognizer;
};

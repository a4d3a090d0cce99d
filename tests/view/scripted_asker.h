// Answers the program's questions from a script and keeps what was asked,
// in order: the boxes' texts and captions, and the prompts of typed answers.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "view/asker.h"

class ScriptedAsker final : public view::Asker {
 public:
  std::deque<int> answers;                       // button codes; RT_IDYES once none is left
  std::deque<std::optional<std::string>> typed_answers;  // none once none is left (cancel)
  std::vector<std::string> asked, captions, prompts;

  int box(std::string_view text, std::string_view caption, unsigned) override {
    asked.emplace_back(text);
    captions.emplace_back(caption);
    if (answers.empty()) return RT_IDYES;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> typed(std::string_view prompt, std::string_view,
                                   std::string_view) override {
    prompts.emplace_back(prompt);
    if (typed_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = typed_answers.front();
    typed_answers.pop_front();
    return answer;
  }
};

// The host's input box asks on the terminal (standard error and input).
#include <cstdio>
#include <iostream>
#include <string>

#include "runtime/input_box.h"
#include "runtime/platform.h"

std::optional<std::string> platform_input_box(const rt::InputBoxRequest& request) {
  std::string question;
  if (request.caption && !request.caption->empty())
    question += "[" + std::string(*request.caption) + "] ";
  if (request.prompt) question += std::string(*request.prompt);
  if (request.default_text) question += " (" + std::string(*request.default_text) + ")";
  std::fprintf(stderr, "%s: ", platform_to_terminal(question).c_str());
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;  // end of input cancels
  if (line.empty() && request.default_text) return std::string(*request.default_text);
  return platform_from_terminal(line);
}

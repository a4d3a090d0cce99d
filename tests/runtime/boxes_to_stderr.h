// For death tests: message boxes written to standard error on one line,
// "box <caption>|<text>|icon <n>|<as expected or other>", so the parent can
// match them (line breaks in the text become spaces).
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/message_box.h"

inline const char* expected_box_text = nullptr;

inline int box_to_stderr(const char* text, const char* caption, unsigned type, uintptr_t) {
  std::string line = text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  bool as_expected = expected_box_text && std::strcmp(text, expected_box_text) == 0;
  std::fprintf(stderr, "box %s|%s|icon %u|%s\n", caption, line.c_str(), type & 0xF0u,
               as_expected ? "as expected" : "other");
  return RT_IDOK;
}

inline void show_boxes_on_stderr() { rt_set_message_box_hook(box_to_stderr); }

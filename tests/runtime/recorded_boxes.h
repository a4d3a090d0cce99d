// Message boxes recorded instead of shown while an object of this lives:
// each box's text and owner, each answered "确定".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/message_box.h"

class RecordedBoxes {
 public:
  RecordedBoxes() {
    texts.clear();
    owners.clear();
    rt_set_message_box_hook(record);
  }
  ~RecordedBoxes() { rt_set_message_box_hook(nullptr); }
  RecordedBoxes(const RecordedBoxes&) = delete;
  RecordedBoxes& operator=(const RecordedBoxes&) = delete;

  static inline std::vector<std::string> texts;
  static inline std::vector<uintptr_t> owners;

 private:
  static int record(const char* text, const char*, unsigned, uintptr_t owner) {
    texts.emplace_back(text);
    owners.push_back(owner);
    return RT_IDOK;
  }
};

// Runs the whole recognition, as the button does, on arbitrary bytes: item
// codes are answered by a script and kept in a settings file thrown away
// after every input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "recognize/recognizer.h"
#include "regex/support_libraries.h"
#include "runtime/input_box.h"
#include "runtime/message_box.h"
#include "view/memory_view.h"

namespace {

int answers_given = 0;

// Confirms a code, an empty code or cancels, in turn.
std::optional<std::string> scripted_answer(const rt::InputBoxRequest&) {
  switch (answers_given++ % 3) {
    case 0: return std::string("F1");
    case 1: return std::string();
    default: return std::nullopt;
  }
}

// Recognition shows no boxes; a box here would be a fatal runtime error.
int no_box(const char* text, const char*, unsigned, uintptr_t) {
  std::fprintf(stderr, "unexpected message box: %s\n", text);
  std::abort();
}

// One throw-away settings file per fuzzing process.
const std::string& settings_path() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("slipjet-fuzz-" + std::to_string(getpid()) + ".ini"))
                                      .string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = [] {
    rt_start_libraries(support_libraries);
    rt_set_input_box_hook(scripted_answer);
    rt_set_message_box_hook(no_box);
    return true;
  }();
  (void)started;
  std::remove(settings_path().c_str());

  view::MemoryView view;
  view::BoxAsker asker;  // its boxes go to the hooks
  recognize::Recognizer recognizer(view, settings_path(), asker);
  recognizer.recognise(std::string_view(reinterpret_cast<const char*>(data), size));
  // Every record can be shown.
  for (size_t i = 0; i < recognizer.records().size(); ++i) {
    view.list_select(view::control::name_box, int(i));
    recognizer.show_record();
  }
  return 0;
}

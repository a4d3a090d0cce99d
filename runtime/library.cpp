#include "runtime/library.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/blocks.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/heap.h"
#include "runtime/message_box.h"
#include "runtime/platform.h"
#include "runtime/system.h"

namespace {

std::vector<RtNotifyEntry> started_libraries;
RtServiceFunction core_service = nullptr;

void shut_down_libraries() {
  for (RtNotifyEntry notify : started_libraries) notify(RT_NOTIFY_SHUTDOWN, 0, 0);
  started_libraries.clear();
}

// Texts that service codes hand out by address stay valid for the run.
const char* kept_text(std::string& slot, std::string value) {
  slot = std::move(value);
  return slot.c_str();
}

intptr_t copy_path_part(intptr_t which, intptr_t buffer) {
  if (buffer == 0) return 0;
  std::string part;
  if (which == 1 || which == 2001) {
    part = std::string(rt::exe_dir().view()) + platform_path_separator();
  } else if (which == 2002) {
    part = std::string(rt::exe_name().view());
  } else {
    return 0;
  }
  std::memcpy(reinterpret_cast<char*>(buffer), part.c_str(), part.size() + 1);
  return buffer;
}

// The command line after the program's own name: a quoted name ends at its
// closing quote (and one space after it is skipped), an unquoted one at the
// first space.
const char* command_tail() {
  static std::string line;
  line = platform_command_line();
  size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    size_t close = line.find('"', 1);
    i = close == std::string::npos ? line.size() : close + 1;
    if (i < line.size() && line[i] == ' ') ++i;
  } else {
    size_t space = line.find(' ');
    i = space == std::string::npos ? line.size() : space;
  }
  return line.c_str() + i;
}

void free_array_of(uint32_t element_type, void* array) {
  uint32_t base = rt_base_type(element_type);
  rt_array_free(array, base == RT_TEXT || base == RT_BYTES);
}

[[noreturn]] void library_fatal_error(const char* message) {
  std::string text = std::string("Umbra RunTime Error:\r\n\r\n") + (message ? message : "");
  rt_message_box(text.c_str(), "ERROR", RT_MB_ICONERROR);
  rt_exit(0);
}

intptr_t unknown_service(int code) {
  char text[128];
  std::snprintf(text, sizeof text, "不支持系统功能函数%d. 请将此信息反馈给作者", code);
  rt_message_box(text, "umbra", RT_MB_ICONERROR);
  return 0;
}

}  // namespace

RtArg rt_call_library(RtLibraryCommand command, int count, RtArg* args) {
  RtArg result{};
  command(&result, count, args);
  return result;
}

void rt_start_libraries(std::span<const RtNotifyEntry> libraries) {
  for (RtNotifyEntry notify : libraries) {
    if (!notify) break;
    notify(RT_NOTIFY_START, reinterpret_cast<intptr_t>(&rt_service), 0);
    started_libraries.push_back(notify);
  }
  rt_set_exit_step(RtExitStep::library_shutdown, shut_down_libraries);
}

intptr_t rt_service(int code, intptr_t p1, intptr_t p2) {
  static std::string exe_dir_text, exe_name_text;
  switch (code) {
    case 1004: return 1;
    case 1005: return 4;
    case 1006: return copy_path_part(p1, p2);
    case 2001: return p1 ? rt::to_int(*reinterpret_cast<const RtArg*>(p1)) : 0;
    case 2002: return reinterpret_cast<intptr_t>(command_tail());
    case 2003:
      return reinterpret_cast<intptr_t>(kept_text(exe_dir_text, std::string(rt::exe_dir().view())));
    case 2004:
      return reinterpret_cast<intptr_t>(
          kept_text(exe_name_text, std::string(rt::exe_name().view())));
    case 2018: rt::do_events(); return 0;
    case 2023: free_array_of(uint32_t(p1), reinterpret_cast<void*>(p2)); return 0;
    case 2024: return reinterpret_cast<intptr_t>(rt_alloc(size_t(p1)));
    case 2025: rt_free(reinterpret_cast<void*>(p1)); return 0;
    case 2026:
      return reinterpret_cast<intptr_t>(rt_realloc(reinterpret_cast<void*>(p1), size_t(p2)));
    case 2027: library_fatal_error(reinterpret_cast<const char*>(p1));
    case 2028: rt_exit(int(p1));
    case 2030: return 3;
    case 2032:
    case 2033: return 0;
    default: return unknown_service(code);
  }
}

int rt_core_library_notify(int code, intptr_t p1, intptr_t) {
  if (code == RT_NOTIFY_START) core_service = reinterpret_cast<RtServiceFunction>(p1);
  return 0;
}

#include "runtime/dll_binding.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/message_box.h"
#include "runtime/platform.h"

namespace {

std::vector<void*> loaded_libraries;
size_t lookups = 0;

void release_libraries() {
  for (void* module : loaded_libraries) platform_free_library(module);
  loaded_libraries.clear();
}

[[noreturn]] void dll_error(const std::string& text) {
  rt_message_box(text.c_str(), "DLL ERROR", RT_MB_ICONERROR);
  rt_exit(0);
}

void* module_of(const char* library) {
  if (void* module = platform_find_module(library)) return module;
  void* module = platform_load_library(library);
  if (!module) dll_error(std::string("同目录下无法找到DLL文件:\"") + library + "\".请与作者联系.");
  if (loaded_libraries.empty()) rt_set_exit_step(RtExitStep::dll_release, release_libraries);
  loaded_libraries.push_back(module);
  return module;
}

}  // namespace

void* rt_bind_dll(const char* library, const char* function, void** slot) {
  void* module = module_of(library);
  void* address;
  ++lookups;
  if (function[0] == '#') {
    address = platform_find_function(module, nullptr, std::atoi(function + 1));
  } else {
    // The name in a 1024-byte buffer, cut at an "@" that another follows.
    char name[1024] = {};
    std::strncpy(name, function, sizeof name - 1);
    if (char* at = std::strstr(name, "@@")) *at = '\0';
    address = platform_find_function(module, name, 0);
  }
  if (!address)
    dll_error(std::string("无法定位DLL文件:\"") + library + "\"当中的\"" + function + "\"函数.");
  *slot = address;
  return address;
}

size_t rt_dll_lookups() { return lookups; }

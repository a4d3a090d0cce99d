// DLLs and their functions.
#include <windows.h>

#include "runtime/platform.h"

void* platform_find_module(const char* name) {
  return reinterpret_cast<void*>(GetModuleHandleA(name));
}

void* platform_load_library(const char* name) {
  return reinterpret_cast<void*>(LoadLibraryA(name));
}

void* platform_find_function(void* module, const char* name, int ordinal) {
  LPCSTR which = name ? name : MAKEINTRESOURCEA(ordinal);
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), which));
}

void platform_free_library(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

// Shared libraries on the host: names as dlopen takes them, no ordinals.
#include <dlfcn.h>

#include "runtime/platform.h"

void* platform_find_module(const char* name) { return dlopen(name, RTLD_LAZY | RTLD_NOLOAD); }

void* platform_load_library(const char* name) { return dlopen(name, RTLD_LAZY); }

void* platform_find_function(void* module, const char* name, int) {
  return name ? dlsym(module, name) : nullptr;
}

void platform_free_library(void* module) { dlclose(module); }

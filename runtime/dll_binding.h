// DLL commands: functions of DLLs declared by library and function name and
// bound on their first call; a library the binder loads stays loaded until
// the exit sequence frees it.
#pragma once

#include <cstddef>

// Binds `function` of `library` ("#n" is ordinal n; a name holding "@@" is
// cut at its first "@"), stores the address in `slot` and returns it. A
// library or function that cannot be found shows its "DLL ERROR" box and
// ends the program.
void* rt_bind_dll(const char* library, const char* function, void** slot);

// How many times the binder looked a function up (for tests).
size_t rt_dll_lookups();

// A declared DLL command: the first call binds the slot, every later call
// goes through the slot straight to the function.
template <typename Function>
struct RtDllCommand {
  const char* library;
  const char* function;
  Function slot = nullptr;

  template <typename... Args>
  auto operator()(Args... args) {
    if (!slot) rt_bind_dll(library, function, reinterpret_cast<void**>(&slot));
    return slot(args...);
  }
};

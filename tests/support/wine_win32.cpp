#include <windows.h>

#include "tests/support/wine.h"

bool running_under_wine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

#include <windows.h>

#include "runtime/platform.h"

size_t platform_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size) {
  return GetPrivateProfileStringA(section, key, default_value, buffer, DWORD(size), path);
}

bool platform_profile_write(const char* path, const char* section, const char* key,
                            const char* value) {
  return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

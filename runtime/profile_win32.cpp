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

size_t platform_profile_read_section(const char* path, const char* section, char* buffer,
                                     size_t size) {
  return GetPrivateProfileSectionA(section, buffer, DWORD(size), path);
}

bool platform_profile_write_section(const char* path, const char* section, const char* lines) {
  return WritePrivateProfileSectionA(section, lines, path) != FALSE;
}

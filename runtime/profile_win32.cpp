#include <windows.h>

#include "runtime/platform.h"
#include "runtime/profile_engine.h"

size_t platform_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size) {
  return GetPrivateProfileStringA(section, key, default_value, buffer, DWORD(size), path);
}

bool platform_profile_write(const char* path, const char* section, const char* key,
                            const char* value) {
  return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

// Whole sections through the engine: Wine's section functions drop the
// section's comment lines, which Windows and the engine keep.
size_t platform_profile_read_section(const char* path, const char* section, char* buffer,
                                     size_t size) {
  return engine_profile_read_section(path, section, buffer, size);
}

bool platform_profile_write_section(const char* path, const char* section, const char* lines) {
  return engine_profile_write_section(path, section, lines);
}

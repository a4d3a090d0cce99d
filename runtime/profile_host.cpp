// The host has no settings functions of its own: the engine is them.
#include "runtime/platform.h"
#include "runtime/profile_engine.h"

size_t platform_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size) {
  return engine_profile_read(path, section, key, default_value, buffer, size);
}

bool platform_profile_write(const char* path, const char* section, const char* key,
                            const char* value) {
  return engine_profile_write(path, section, key, value);
}

size_t platform_profile_read_section(const char* path, const char* section, char* buffer,
                                     size_t size) {
  return engine_profile_read_section(path, section, buffer, size);
}

bool platform_profile_write_section(const char* path, const char* section, const char* lines) {
  return engine_profile_write_section(path, section, lines);
}

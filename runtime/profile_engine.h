// The settings-file engine of runtime/profile_engine.cpp, with the
// contract of the platform's profile functions (runtime/platform.h).
#pragma once

#include <cstddef>

size_t engine_profile_read(const char* path, const char* section, const char* key,
                           const char* default_value, char* buffer, size_t size);
bool engine_profile_write(const char* path, const char* section, const char* key,
                          const char* value);
size_t engine_profile_read_section(const char* path, const char* section, char* buffer,
                                   size_t size);
bool engine_profile_write_section(const char* path, const char* section, const char* lines);

// What the runtime needs from the platform. Each function has a Win32
// implementation (*_win32.cpp) and a host stand-in (*_host.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The process heap.
void* platform_heap_alloc_zeroed(size_t size);
void* platform_heap_realloc(void* block, size_t size);
void platform_heap_free(void* block);

// MessageBoxA on Windows; standard error on the host (answers OK).
int platform_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner);

// Ends the process at once with `code`.
[[noreturn]] void platform_end_process(int code);

// Copies n bytes from src when all of them can be read; false otherwise.
bool platform_read_memory(const void* src, void* dst, size_t n);

// GBK text mapped to full or half width as the Windows locale 2052 does it.
std::string platform_map_width(std::string_view gbk, bool full);

// Private-profile (INI) files, with the contract of GetPrivateProfileStringA
// and WritePrivateProfileStringA: a read copies at most size - 1 bytes and a
// zero and returns the number of bytes copied; a null default reads as "".
size_t platform_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size);
bool platform_profile_write(const char* path, const char* section, const char* key,
                            const char* value);

// The terminal's encoding at the edges of the command-line tool.
std::string platform_to_terminal(std::string_view gbk);
std::string platform_from_terminal(std::string_view text);

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

// MessageBoxA on Windows; standard error on the host (answers OK). A
// window being closed asks nothing: 0, unanswered.
int platform_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner);

// A modal window that is closed ends only when its loop regains control,
// which a question it asked holds back. It is marked as closing, so that
// the questions still open under it go with it and no handler can ask it
// another on its way out.
void platform_mark_closing(uintptr_t window);
bool platform_is_closing(uintptr_t window);
// Ends the questions (the owned windows of this thread) `window` has open.
void platform_end_questions_of(uintptr_t window);

// Ends the process at once with `code`.
[[noreturn]] void platform_end_process(int code);

// Copies n bytes from src when all of them can be read; false otherwise.
bool platform_read_memory(const void* src, void* dst, size_t n);

// Private-profile (INI) files, with the contract of GetPrivateProfileStringA
// and WritePrivateProfileStringA: a read copies at most size - 1 bytes and a
// zero and returns the number of bytes copied; a null default reads as "".
size_t platform_profile_read(const char* path, const char* section, const char* key,
                             const char* default_value, char* buffer, size_t size);
bool platform_profile_write(const char* path, const char* section, const char* key,
                            const char* value);
// A whole section at once, with the contract of GetPrivateProfileSectionA and
// WritePrivateProfileSectionA: lines ("key=value"), each ending in a zero,
// the list in one more. A read that does not fit returns size - 2; a write
// replaces every line of the section (creating it at the end of the file).
size_t platform_profile_read_section(const char* path, const char* section, char* buffer,
                                     size_t size);
bool platform_profile_write_section(const char* path, const char* section, const char* lines);

// Files. Access: 1 read, 2 write, 3 both; 4 append only (every write at the
// end, also when another process appends), with 1 for reading too.
// Handles are -1 when invalid.
enum class PlatformCreate { open_existing, create_always, open_always };
enum class PlatformShare { read_write, write, read, none };
intptr_t platform_file_open(const char* path, int access, PlatformCreate create,
                            PlatformShare share);
bool platform_file_write(intptr_t handle, const void* data, size_t n);
// Bytes read into the buffer; 0 at the end of the file, -1 on failure.
int64_t platform_file_read(intptr_t handle, void* buffer, size_t n);
// Writes what the system holds of the file to the disk.
bool platform_file_flush(intptr_t handle);
// Moves to the end; the file's size, or -1 when it cannot.
int64_t platform_file_seek_end(intptr_t handle);
// Moves to byte `offset` from the start.
bool platform_file_seek(intptr_t handle, uint64_t offset);
void platform_file_close(intptr_t handle);
bool platform_path_exists(const char* path);
bool platform_delete_file(const char* path);
bool platform_move_file(const char* from, const char* to);  // fails when `to` exists
// The same, returning only when the move is on the disk.
bool platform_move_file_write_through(const char* from, const char* to);
// Puts `from` in the place of `to`, which may exist, returning only when
// the move is on the disk.
bool platform_replace_file(const char* from, const char* to);
// The file's attributes (numbered as Windows numbers them), -1 when it does
// not exist; and setting them.
int64_t platform_file_attributes(const char* path);
bool platform_set_file_attributes(const char* path, uint32_t attributes);
// The current directory in a buffer of `size` bytes, as GetCurrentDirectoryA
// fills it: the length written, or the size needed when it does not fit.
size_t platform_current_directory(char* buffer, size_t size);
// Replaces the file's attributes by "hidden"; false when that fails.
bool platform_hide_file(const char* path);
// The separator between a folder and a file name in a path.
char platform_path_separator();
// The running executable's full path; empty when it cannot be had.
std::string platform_exe_path();
// Modules: one already in the process, one loaded now, a function by name
// or (name null) by ordinal; null when there is none.
void* platform_find_module(const char* name);
void* platform_load_library(const char* name);
void* platform_find_function(void* module, const char* name, int ordinal);
void platform_free_library(void* module);

// The process's command line, program name first.
std::string platform_command_line();

// Starts a command line; `show` is a Win32 show command. With `wait`, returns
// once the process has ended.
bool platform_run(const char* command_line, bool wait, int show);

// The clipboard's text (ANSI text format); empty when there is none.
std::string platform_clipboard_text();
bool platform_set_clipboard_text(std::string_view gbk);

// Processes the window messages already waiting (not the quit message).
void platform_do_events();
// Waits up to `ms` milliseconds for new window messages or the time to pass.
void platform_wait_for_messages(uint32_t ms);
uint32_t platform_tick_count();

struct PlatformLocalTime {
  int year, month, day, hour, minute, second;
};
PlatformLocalTime platform_local_time();

bool platform_stdin_is_terminal();

// The terminal's encoding at the edges of the command-line tool.
std::string platform_to_terminal(std::string_view gbk);
std::string platform_from_terminal(std::string_view text);

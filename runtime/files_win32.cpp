#include <windows.h>

#include "runtime/dll_binding.h"
#include "runtime/platform.h"

namespace {

DWORD access_rights(int access) {
  DWORD rights = 0;
  if (access & 1) rights |= GENERIC_READ;
  if (access & 2) rights |= GENERIC_WRITE;
  // Without the right to write anywhere else, every write lands at the end
  // of the file, whoever else appends meanwhile.
  if (access & 4) rights |= FILE_APPEND_DATA | SYNCHRONIZE;
  return rights;
}

DWORD disposition(PlatformCreate create) {
  switch (create) {
    case PlatformCreate::create_always: return CREATE_ALWAYS;
    case PlatformCreate::open_always: return OPEN_ALWAYS;
    default: return OPEN_EXISTING;
  }
}

DWORD share_flags(PlatformShare share) {
  switch (share) {
    case PlatformShare::write: return FILE_SHARE_WRITE;
    case PlatformShare::read: return FILE_SHARE_READ;
    case PlatformShare::none: return 0;
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
}

HANDLE as_handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

intptr_t platform_file_open(const char* path, int access, PlatformCreate create,
                            PlatformShare share) {
  HANDLE h = CreateFileA(path, access_rights(access), share_flags(share), nullptr,
                         disposition(create), FILE_ATTRIBUTE_ARCHIVE, nullptr);
  return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(h);
}

bool platform_file_write(intptr_t handle, const void* data, size_t n) {
  if (n == 0) return true;
  DWORD written = 0;
  return WriteFile(as_handle(handle), data, DWORD(n), &written, nullptr) && written == n;
}

int64_t platform_file_read(intptr_t handle, void* buffer, size_t n) {
  DWORD read = 0;
  if (!ReadFile(as_handle(handle), buffer, DWORD(n), &read, nullptr)) return -1;
  return read;
}

bool platform_file_flush(intptr_t handle) { return FlushFileBuffers(as_handle(handle)) != FALSE; }

int64_t platform_file_seek_end(intptr_t handle) {
  LARGE_INTEGER zero{}, end{};
  if (!SetFilePointerEx(as_handle(handle), zero, &end, FILE_END)) return -1;
  return end.QuadPart;
}

bool platform_file_seek(intptr_t handle, uint64_t offset) {
  LARGE_INTEGER at{};
  at.QuadPart = LONGLONG(offset);
  return SetFilePointerEx(as_handle(handle), at, nullptr, FILE_BEGIN) != FALSE;
}

void platform_file_close(intptr_t handle) { CloseHandle(as_handle(handle)); }

bool platform_path_exists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool platform_delete_file(const char* path) { return DeleteFileA(path) != FALSE; }

bool platform_move_file(const char* from, const char* to) { return MoveFileA(from, to) != FALSE; }

bool platform_move_file_write_through(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) != FALSE;
}

// A rename over the old file: unlike a new file created over it (which
// Windows refuses on a hidden file), this takes a hidden target, and the
// file keeps the attributes given to `from`.
bool platform_replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

int64_t platform_file_attributes(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes == INVALID_FILE_ATTRIBUTES ? -1 : int64_t(attributes);
}

bool platform_set_file_attributes(const char* path, uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

std::string platform_exe_path() {
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return {};
  return std::string(path, n);
}

std::string platform_command_line() { return GetCommandLineA(); }

// The one function the program binds by name at run time.
RtDllCommand<DWORD(WINAPI*)(DWORD, LPSTR)> get_current_directory{"kernel32",
                                                                 "GetCurrentDirectoryA"};

size_t platform_current_directory(char* buffer, size_t size) {
  return get_current_directory(DWORD(size), buffer);
}

bool platform_hide_file(const char* path) {
  return SetFileAttributesA(path, FILE_ATTRIBUTE_HIDDEN) != FALSE;
}

char platform_path_separator() { return '\\'; }

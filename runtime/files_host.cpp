// Host stand-ins for the file services. Sharing modes have no POSIX
// counterpart and are ignored.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/platform.h"

intptr_t platform_file_open(const char* path, int access, PlatformCreate create, PlatformShare) {
  int flags = access == 1 ? O_RDONLY : access == 2 ? O_WRONLY : O_RDWR;
  if (access & 4) flags = (access & 1 ? O_RDWR : O_WRONLY) | O_APPEND;
  if (create == PlatformCreate::create_always) flags |= O_CREAT | O_TRUNC;
  if (create == PlatformCreate::open_always) flags |= O_CREAT;
  int fd = ::open(path, flags | O_CLOEXEC, 0644);
  return fd < 0 ? -1 : fd;
}

bool platform_file_write(intptr_t handle, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t written = ::write(int(handle), p, n);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    p += written;
    n -= size_t(written);
  }
  return true;
}

int64_t platform_file_read(intptr_t handle, void* buffer, size_t n) {
  for (;;) {
    ssize_t read = ::read(int(handle), buffer, n);
    if (read < 0 && errno == EINTR) continue;
    return read < 0 ? -1 : int64_t(read);
  }
}

bool platform_file_flush(intptr_t handle) { return ::fsync(int(handle)) == 0; }

int64_t platform_file_seek_end(intptr_t handle) { return ::lseek(int(handle), 0, SEEK_END); }

bool platform_file_seek(intptr_t handle, uint64_t offset) {
  return ::lseek(int(handle), off_t(offset), SEEK_SET) >= 0;
}

void platform_file_close(intptr_t handle) { ::close(int(handle)); }

bool platform_path_exists(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0;
}

bool platform_delete_file(const char* path) { return ::unlink(path) == 0; }

bool platform_move_file(const char* from, const char* to) {
  // Like MoveFileA: never replaces an existing file.
  if (platform_path_exists(to)) return false;
  return std::rename(from, to) == 0;
}

namespace {

// The directory holds the names: syncing it makes a move durable.
void sync_folder_of(const char* path) {
  std::string folder(path);
  size_t slash = folder.rfind('/');
  folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool platform_move_file_write_through(const char* from, const char* to) {
  if (!platform_move_file(from, to)) return false;
  sync_folder_of(to);
  return true;
}

bool platform_replace_file(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return false;
  sync_folder_of(to);
  return true;
}

// The host has no attributes: an existing file reads as a plain one (0x80,
// as Windows reports a file with none), and setting them changes nothing.
int64_t platform_file_attributes(const char* path) { return platform_path_exists(path) ? 0x80 : -1; }

bool platform_set_file_attributes(const char* path, uint32_t) { return platform_path_exists(path); }

std::string platform_exe_path() {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
  if (n <= 0 || size_t(n) >= sizeof path) return {};
  return std::string(path, size_t(n));
}

// The arguments joined by spaces, as a Windows command line would read.
std::string platform_command_line() {
  std::string line;
  if (std::FILE* f = std::fopen("/proc/self/cmdline", "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) line += c == 0 ? ' ' : char(c);
    std::fclose(f);
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

size_t platform_current_directory(char* buffer, size_t size) {
  std::string dir;
  char path[4096];
  if (::getcwd(path, sizeof path)) dir = path;
  if (dir.size() + 1 > size) return dir.size() + 1;
  std::memcpy(buffer, dir.c_str(), dir.size() + 1);
  return dir.size();
}

// Files are hidden by their name on the host; there is no attribute to set.
bool platform_hide_file(const char* path) { return platform_path_exists(path); }

char platform_path_separator() { return '/'; }

#include "runtime/file_system.h"

namespace rt {

namespace {
FileSystem platform_files;
FileSystem* in_use = &platform_files;
}  // namespace

intptr_t FileSystem::open(const std::string& path, int access, PlatformCreate create,
                          PlatformShare share) {
  return platform_file_open(path.c_str(), access, create, share);
}
bool FileSystem::write(intptr_t handle, std::string_view bytes) {
  return platform_file_write(handle, bytes.data(), bytes.size());
}
int64_t FileSystem::read(intptr_t handle, void* buffer, size_t n) {
  return platform_file_read(handle, buffer, n);
}
bool FileSystem::flush(intptr_t handle) { return platform_file_flush(handle); }
void FileSystem::close(intptr_t handle) { platform_file_close(handle); }
std::optional<uint32_t> FileSystem::attributes(const std::string& path) {
  int64_t found = platform_file_attributes(path.c_str());
  if (found < 0) return std::nullopt;
  return uint32_t(found);
}
bool FileSystem::set_attributes(const std::string& path, uint32_t attributes) {
  return platform_set_file_attributes(path.c_str(), attributes);
}
bool FileSystem::replace(const std::string& from, const std::string& to) {
  return platform_replace_file(from.c_str(), to.c_str());
}
bool FileSystem::remove(const std::string& path) { return platform_delete_file(path.c_str()); }

FileSystem& file_system() { return *in_use; }

FileSystem* use_file_system(FileSystem* other) {
  FileSystem* before = in_use;
  in_use = other ? other : &platform_files;
  return before;
}

}  // namespace rt

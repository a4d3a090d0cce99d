// The file operations that reading a whole file and replacing one go
// through, behind one interface: tests hand in a file system that refuses
// what Windows refuses (Wine and the host do not), or that fails midway.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/platform.h"

namespace rt {

// File attributes, numbered as Windows numbers them.
inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeHidden = 0x2;
inline constexpr uint32_t kAttributeSystem = 0x4;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // -1 when the file cannot be opened.
  virtual intptr_t open(const std::string& path, int access, PlatformCreate create,
                        PlatformShare share);
  virtual bool write(intptr_t handle, std::string_view bytes);
  // Bytes read; 0 at the end of the file; -1 when the read failed.
  virtual int64_t read(intptr_t handle, void* buffer, size_t n);
  virtual bool flush(intptr_t handle);
  virtual void close(intptr_t handle);
  // None when the file does not exist.
  virtual std::optional<uint32_t> attributes(const std::string& path);
  virtual bool set_attributes(const std::string& path, uint32_t attributes);
  // Puts `from` in the place of `to`, which may exist; on the disk when it
  // returns.
  virtual bool replace(const std::string& from, const std::string& to);
  virtual bool remove(const std::string& path);
};

// The file system in use: the platform's unless a test handed in another.
FileSystem& file_system();
// Hands in `other` (null: the platform's again); the one used before.
FileSystem* use_file_system(FileSystem* other);

}  // namespace rt

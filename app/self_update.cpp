#include "app/self_update.h"

#include <cstdint>
#include <cstring>

#include "app/release_signature.h"
#include "runtime/files.h"

namespace app {

namespace {

// The machine field of a PE header for the processor this build runs on.
#if defined(__x86_64__) || defined(_M_X64)
constexpr uint16_t kThisMachine = 0x8664;
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr uint16_t kThisMachine = 0xAA64;
#else
constexpr uint16_t kThisMachine = 0x014C;
#endif

uint32_t little_endian(std::string_view bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

}  // namespace

bool is_complete(const net::HttpResponse& response) {
  if (response.status != 200 || response.too_long || response.body.empty()) return false;
  return !response.announced_length || *response.announced_length == response.body.size();
}

bool is_executable_for_this_machine(std::string_view image) {
  constexpr size_t kHeaderOffsetAt = 0x3C;
  if (image.size() < kHeaderOffsetAt + 4 || image.substr(0, 2) != "MZ") return false;
  size_t header = little_endian(image, kHeaderOffsetAt, 4);
  // Signature (4 bytes), then the machine (2 bytes) of the file header.
  if (header > image.size() || image.size() - header < 6) return false;
  if (image.substr(header, 4) != std::string_view("PE\0\0", 4)) return false;
  return little_endian(image, header + 4, 2) == kThisMachine;
}

std::optional<UpdateFailure> check_release(const net::HttpResponse& image,
                                           const net::HttpResponse& signature) {
  if (!is_complete(image)) return UpdateFailure::incomplete;
  if (!is_executable_for_this_machine(image.body)) return UpdateFailure::not_executable;
  if (!is_complete(signature) || !verify_release_signature(image.body, signature.body))
    return UpdateFailure::not_signed;
  return std::nullopt;
}

std::string download_path(const std::string& path) { return path + ".download"; }

// Write and check the new file beside the old one first: until the final
// two moves nothing the user runs has changed, and if the second move fails
// the first is undone.
ReplacementOutcome replace_executable(const std::string& path, std::string_view image) {
  std::string temporary = download_path(path);
  std::string leftover = path + ".delete";
  rt::delete_file(temporary);
  if (!rt::write_file_durably(temporary, image) || rt::read_file(temporary) != image) {
    rt::delete_file(temporary);
    return ReplacementOutcome::unchanged;
  }
  // An earlier update's leftover is not running any more.
  if (rt::file_exists(leftover)) rt::delete_file(leftover);
  if (!rt::move_file(path, leftover)) {
    rt::delete_file(temporary);
    return ReplacementOutcome::unchanged;
  }
  if (!rt::move_file_durably(temporary, path)) {
    bool restored = rt::move_file(leftover, path);
    rt::delete_file(temporary);
    return restored ? ReplacementOutcome::unchanged : ReplacementOutcome::not_restored;
  }
  return ReplacementOutcome::replaced;
}

const char* update_failure_text(UpdateFailure failure) {
  switch (failure) {
    case UpdateFailure::incomplete:
      return "更新失败：新版本没有完整下载。\r\n当前版本保持不变，请稍后再试。";
    case UpdateFailure::not_executable:
      return "更新失败：下载的文件不是本机可以运行的程序。\r\n当前版本保持不变。";
    case UpdateFailure::not_signed:
      return "更新失败：新版本的签名无法验证，已拒绝安装。\r\n当前版本保持不变。";
    case UpdateFailure::not_restored:
      return "更新失败：无法替换程序文件，原来的程序也没能放回原处。\r\n"
             "程序文件可能需要重新安装。";
    case UpdateFailure::not_replaced: break;
  }
  return "更新失败：无法替换程序文件。\r\n当前版本保持不变，请稍后再试。";
}

}  // namespace app

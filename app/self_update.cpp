#include "app/self_update.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "app/release_signature.h"
#include "app/update_check.h"
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

std::optional<ReleaseManifest> parse_manifest(std::string_view text) {
  std::map<std::string, std::string, std::less<>> fields;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    if (!fields.emplace(line.substr(0, equals), line.substr(equals + 1)).second)
      return std::nullopt;
  }
  auto digits = [](std::string_view v, std::string_view allowed) {
    return !v.empty() && v.find_first_not_of(allowed) == std::string_view::npos;
  };
  ReleaseManifest m{fields["program"], fields["version"], fields["sha256"], 0};
  const std::string& length = fields["length"];
  if (m.program.empty() || m.version.empty() || m.sha256.size() != 64 ||
      !digits(m.sha256, "0123456789abcdef") || !digits(length, "0123456789") || length.size() > 18)
    return std::nullopt;
  m.length = std::stoull(length);
  return m;
}

bool is_newer_version(std::string_view candidate, std::string_view current) {
  auto numbers = [](std::string_view v) -> std::optional<std::vector<uint64_t>> {
    std::vector<uint64_t> parts;
    for (;;) {
      size_t dot = v.find('.');
      std::string_view part = v.substr(0, dot);
      if (part.empty() || part.size() > 9 ||
          part.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
      parts.push_back(std::stoull(std::string(part)));
      if (dot == std::string_view::npos) break;
      v.remove_prefix(dot + 1);
    }
    while (parts.size() > 1 && parts.back() == 0) parts.pop_back();
    return parts;
  };
  auto a = numbers(candidate), b = numbers(current);
  return a && b && *a > *b;
}

std::optional<UpdateFailure> check_manifest(const net::HttpResponse& text,
                                            const net::HttpResponse& signature,
                                            ReleaseManifest& manifest) {
  if (!is_complete(text)) return UpdateFailure::incomplete;
  if (!is_complete(signature) || !verify_release_signature(text.body, signature.body))
    return UpdateFailure::not_signed;
  std::optional<ReleaseManifest> parsed = parse_manifest(text.body);
  if (!parsed || parsed->program != kProgramName) return UpdateFailure::bad_manifest;
  manifest = *parsed;
  if (!is_newer_version(manifest.version, kVersion)) return UpdateFailure::not_newer;
  return std::nullopt;
}

std::optional<UpdateFailure> check_release(const net::HttpResponse& image,
                                           const ReleaseManifest& manifest) {
  if (!is_complete(image)) return UpdateFailure::incomplete;
  if (!is_executable_for_this_machine(image.body)) return UpdateFailure::not_executable;
  if (image.body.size() != manifest.length) return UpdateFailure::incomplete;
  if (sha256_hex(image.body) != manifest.sha256) return UpdateFailure::not_signed;
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

std::string update_failure_text(UpdateFailure failure, std::string_view offered) {
  switch (failure) {
    case UpdateFailure::incomplete:
      return "更新失败：新版本没有完整下载。\r\n当前版本保持不变，请稍后再试。";
    case UpdateFailure::not_executable:
      return "更新失败：下载的文件不是本机可以运行的程序。\r\n当前版本保持不变。";
    case UpdateFailure::not_signed:
      return "更新失败：新版本的签名无法验证，已拒绝安装。\r\n当前版本保持不变。";
    case UpdateFailure::bad_manifest:
      return "更新失败：新版本的说明文件不属于本程序，已拒绝安装。\r\n当前版本保持不变。";
    case UpdateFailure::not_newer:
      return "更新失败：服务器提供的版本 " + std::string(offered) + " 不比当前版本 " + kVersion +
             " 新，已拒绝安装。\r\n当前版本保持不变。";
    case UpdateFailure::not_restored:
      return "更新失败：无法替换程序文件，原来的程序也没能放回原处。\r\n"
             "程序文件可能需要重新安装。";
    case UpdateFailure::not_replaced: break;
  }
  return "更新失败：无法替换程序文件。\r\n当前版本保持不变，请稍后再试。";
}

}  // namespace app

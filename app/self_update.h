// Replacing the program's own executable by a signed release from the
// update server, so that no step can leave a missing, partial or foreign
// program in its place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/http.h"

namespace app {

enum class UpdateFailure {
  incomplete,
  not_executable,
  not_signed,
  bad_manifest,  // signed, but not a manifest of this program
  not_newer,     // the signed version is not newer than the running one
  not_replaced,
  not_restored,  // the replacement failed and the old program could not be put back
};

// What the server publishes beside the executable, signed: which program,
// which version, and the executable's length and SHA-256. The page that
// announces a version is not signed; this is.
struct ReleaseManifest {
  std::string program, version, sha256;
  uint64_t length = 0;
};
inline constexpr const char* kProgramName = "slipjet.exe";

// "program=...", "version=...", "length=...", "sha256=..." lines (CR LF or
// LF); none when a line is missing, repeated or malformed.
std::optional<ReleaseManifest> parse_manifest(std::string_view text);
// Versions compared number by number: "2.10" is newer than "2.9", "2.1.0"
// is not newer than "2.1"; a version that is not dot-separated numbers is
// never newer.
bool is_newer_version(std::string_view candidate, std::string_view current);

enum class ReplacementOutcome { replaced, unchanged, not_restored };

// A download counts only when the server answered 200 with a body of the
// announced length that did not pass the limit.
bool is_complete(const net::HttpResponse& response);
// A PE image for the machine this program runs on.
bool is_executable_for_this_machine(std::string_view image);
// What is wrong with the downloaded manifest and its signature, if
// anything; else the manifest, in `manifest`. Checked before the
// executable is fetched.
std::optional<UpdateFailure> check_manifest(const net::HttpResponse& text,
                                            const net::HttpResponse& signature,
                                            ReleaseManifest& manifest);
// What is wrong with the downloaded executable, given its signed manifest.
std::optional<UpdateFailure> check_release(const net::HttpResponse& image,
                                           const ReleaseManifest& manifest);

// The executable at `path` replaced by `image`, the old one kept as the
// leftover path + ".delete". On failure everything is as it was
// (`unchanged`), unless the old program could not be moved back.
ReplacementOutcome replace_executable(const std::string& path, std::string_view image);

// The name of the temporary file a replacement writes beside the executable.
std::string download_path(const std::string& path);
// The message for a failed update; `offered` is the version refused as not
// newer.
std::string update_failure_text(UpdateFailure failure, std::string_view offered = {});

}  // namespace app

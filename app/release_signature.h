// Releases are signed: an ECDSA P-256 signature over the SHA-256 of the
// release's manifest (program, version, the executable's length and
// SHA-256), published beside it as the raw 64 bytes r || s. The public key
// is a build setting.
#pragma once

#include <string>
#include <string_view>

namespace app {

inline constexpr size_t kSignatureSize = 64;

// True only for a signature of `image` by the build's release key. The
// platform's own cryptography does the work; without a key (or on the host
// build, which has none) nothing verifies.
bool verify_release_signature(std::string_view data, std::string_view signature);
// The SHA-256 of `data` in lower-case hexadecimal, by the platform's own
// cryptography; empty where there is none (the host build).
std::string sha256_hex(std::string_view data);

}  // namespace app

// Releases are signed: an ECDSA P-256 signature over the SHA-256 of the
// executable, published beside it as the raw 64 bytes r || s. The public
// key is a build setting.
#pragma once

#include <string_view>

namespace app {

inline constexpr size_t kSignatureSize = 64;

// True only for a signature of `image` by the build's release key. The
// platform's own cryptography does the work; without a key (or on the host
// build, which has none) nothing verifies.
bool verify_release_signature(std::string_view image, std::string_view signature);

}  // namespace app

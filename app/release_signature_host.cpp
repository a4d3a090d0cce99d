// The host build has no release key and no verifier: nothing verifies, so
// no update is ever installed there.
#include "app/release_signature.h"

namespace app {

bool verify_release_signature(std::string_view, std::string_view) { return false; }

}  // namespace app

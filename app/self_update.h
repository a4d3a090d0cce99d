// Replacing the program's own executable by a signed release from the
// update server, so that no step can leave a missing, partial or foreign
// program in its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "net/http.h"

namespace app {

enum class UpdateFailure {
  incomplete,
  not_executable,
  not_signed,
  not_replaced,
  not_restored,  // the replacement failed and the old program could not be put back
};

enum class ReplacementOutcome { replaced, unchanged, not_restored };

// A download counts only when the server answered 200 with a body of the
// announced length that did not pass the limit.
bool is_complete(const net::HttpResponse& response);
// A PE image for the machine this program runs on.
bool is_executable_for_this_machine(std::string_view image);
// What is wrong with the downloaded release and its signature, if anything.
std::optional<UpdateFailure> check_release(const net::HttpResponse& image,
                                           const net::HttpResponse& signature);

// The executable at `path` replaced by `image`, the old one kept as the
// leftover path + ".delete". On failure everything is as it was
// (`unchanged`), unless the old program could not be moved back.
ReplacementOutcome replace_executable(const std::string& path, std::string_view image);

// The name of the temporary file a replacement writes beside the executable.
std::string download_path(const std::string& path);
// The message for a failed update.
const char* update_failure_text(UpdateFailure failure);

}  // namespace app

// The system's regular-expression service (Windows only).
#pragma once

#include <memory>

#include "regex/regex_service.h"

namespace rx {

// A new "VBScript.RegExp" instance; null when the system has none.
std::shared_ptr<RegexService> create_system_regex_service();
// The system's service, or the built-in engine where there is none: the
// program's service factory.
std::shared_ptr<RegexService> create_system_or_builtin_regex_service();

}  // namespace rx

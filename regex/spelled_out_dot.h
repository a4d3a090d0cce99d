// The program's patterns mean "." as "any character but LF" (so a CR is
// matched), as the Windows service does. Some implementations of the same
// service stop "." at CR as well, which loses every match that runs across
// a CR LF line end. Spelling "." out as the class "[^\n]" gives the same
// meaning on every implementation.
#pragma once

#include <string>
#include <string_view>

namespace rx {

// The GBK pattern with each "." that stands for any character (not escaped,
// not inside a class) replaced by "[^\n]".
std::string spelled_out_dot(std::string_view gbk_pattern);

}  // namespace rx

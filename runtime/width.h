// Full-width and half-width forms of GBK text.
#pragma once

#include <string>
#include <string_view>

// The platform-neutral mapping: the results of the Windows mapping for
// locale 2052 (LCMapStringA with LCMAP_FULLWIDTH / LCMAP_HALFWIDTH), held
// as a table. Invalid or incomplete double-byte units become "?" first.
std::string gbk_map_width(std::string_view gbk, bool full);

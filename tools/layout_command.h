// slipjet-cli layout: the ten items a waybill would print, from a template
// row, the offsets and the field values.
#pragma once

#include <string>
#include <vector>

// Exit status: 0, or 2 on bad usage.
int layout_command(const std::vector<std::string>& args);

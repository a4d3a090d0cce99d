// What a slipjet-cli command reads: a file's bytes, or standard input's.
#pragma once

#include <optional>
#include <string>

// None when the file cannot be read.
std::optional<std::string> read_command_input(const std::optional<std::string>& file);

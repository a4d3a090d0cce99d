// slipjet-cli parse-address: the address parser on a text from a file or
// standard input: the eight fields of each recipient, as text or JSON.
#pragma once

#include <string>
#include <vector>

// Exit status: 0 when recipients were found, 1 when none, 2 on bad usage
// or unreadable input.
int parse_address_command(const std::vector<std::string>& args);

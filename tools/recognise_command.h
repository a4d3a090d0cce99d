// slipjet-cli recognise: the clipboard recognition on a text from a file or
// standard input, with the outcome as text or JSON.
#pragma once

#include <string>
#include <vector>

// Exit status: 0 when recognition ran, 2 on bad usage or unreadable input.
int recognise_command(const std::vector<std::string>& args);

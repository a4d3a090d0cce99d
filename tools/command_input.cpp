#include "tools/command_input.h"

#include <fstream>
#include <iostream>
#include <sstream>

std::optional<std::string> read_command_input(const std::optional<std::string>& file) {
  std::ostringstream bytes;
  if (file) {
    std::ifstream in(*file, std::ios::binary);
    if (!in) return std::nullopt;
    bytes << in.rdbuf();
  } else {
    bytes << std::cin.rdbuf();
  }
  return bytes.str();
}

// The printers installed on this machine.
#pragma once

#include <string>
#include <vector>

namespace ui {

// Local and connected printers by name (GBK), in the spooler's order.
std::vector<std::string> list_printers();

}  // namespace ui

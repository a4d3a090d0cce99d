#include "ui/printers.h"

#include <windows.h>
// After windows.h.
#include <winspool.h>

namespace ui {

std::vector<std::string> list_printers() {
  DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<std::string> names;
  if (needed == 0) return names;
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
  auto* info = reinterpret_cast<PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (info[i].pPrinterName) names.emplace_back(info[i].pPrinterName);
  return names;
}

}  // namespace ui

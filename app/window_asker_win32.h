// The asker whose boxes a window of this program owns.
#pragma once

#include <windows.h>

#include <cstdint>

#include "view/asker.h"

namespace app {

inline view::BoxAsker asker_of(HWND window) {
  return view::BoxAsker(reinterpret_cast<uintptr_t>(window));
}

}  // namespace app

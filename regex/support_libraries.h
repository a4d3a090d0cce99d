// The program's support libraries, in the order they are started: the core
// library first, then the regular-expression library.
#pragma once

#include "regex/rx_commands.h"
#include "runtime/library.h"

inline constexpr RtNotifyEntry support_libraries[] = {rt_core_library_notify, rx_library_notify,
                                                      nullptr};

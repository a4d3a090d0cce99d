// Support libraries: their commands are called through one uniform call,
// they are started and stopped by notifications, and they reach back into
// the runtime through one numbered service function.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/value.h"

// A library command fills the zeroed result triple from its arguments.
using RtLibraryCommand = void (*)(RtArg* result, int count, RtArg* args);

// Zeroes a result triple, calls the command and returns the triple.
RtArg rt_call_library(RtLibraryCommand command, int count, RtArg* args);

// Parameters and results are pointer-sized: several codes pass blocks.
using RtServiceFunction = intptr_t (*)(int code, intptr_t p1, intptr_t p2);
// A library's notification entry (1 start, 6 shutdown).
using RtNotifyEntry = int (*)(int code, intptr_t p1, intptr_t p2);

inline constexpr int RT_NOTIFY_START = 1;
inline constexpr int RT_NOTIFY_SHUTDOWN = 6;

// Sends the start notification with the service function to each library in
// order and arms the exit sequence's shutdown step for the same libraries.
void rt_start_libraries(std::span<const RtNotifyEntry> libraries);

// The runtime service function (codes in library.cpp).
intptr_t rt_service(int code, intptr_t p1, intptr_t p2);

// The core support library's notification entry.
int rt_core_library_notify(int code, intptr_t p1, intptr_t p2);

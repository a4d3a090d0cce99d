// The runtime's one way to show a message box.
#pragma once

#include <cstdint>

// Button sets and icons, with the platform's values.
inline constexpr unsigned RT_MB_OK = 0x0;
inline constexpr unsigned RT_MB_OKCANCEL = 0x1;
inline constexpr unsigned RT_MB_YESNOCANCEL = 0x3;
inline constexpr unsigned RT_MB_YESNO = 0x4;
inline constexpr unsigned RT_MB_ICONERROR = 0x10;
inline constexpr unsigned RT_MB_ICONQUESTION = 0x20;
inline constexpr unsigned RT_MB_ICONWARNING = 0x30;
inline constexpr unsigned RT_MB_ICONINFORMATION = 0x40;

// Button codes returned.
inline constexpr int RT_IDOK = 1;
inline constexpr int RT_IDCANCEL = 2;
inline constexpr int RT_IDYES = 6;
inline constexpr int RT_IDNO = 7;

// Shows a box (GBK texts) owned by `owner` (0: none) and returns the button
// code. Goes to the hook when one is set.
int rt_message_box(const char* text, const char* caption, unsigned type, uintptr_t owner = 0);

// Tests observe and answer message boxes through this hook (null: none).
using RtMessageBoxHook = int (*)(const char* text, const char* caption, unsigned type,
                                 uintptr_t owner);
void rt_set_message_box_hook(RtMessageBoxHook hook);

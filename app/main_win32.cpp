// slipjet.exe: reads no command line; one start is one run of the window.
#include <windows.h>

#include "app/startup_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { app::start(); }

// Starting other programs through the shell, which is loaded from the system folder only.
#pragma once

#include <windows.h>

#include "Platform.h"

namespace rt::win32 {

// Starts the program of `request` and returns at once; raises a RunTimeError naming the program
// where the shell cannot start it. `owner` parents any window the shell shows.
void StartProgram(const StartRequest& request, HWND owner);

}  // namespace rt::win32

// Starting other programs through the shell, which is loaded from the system folder only.
#pragma once

#include <windows.h>

#include "Platform.h"

namespace rt::win32 {

// Starts the program of `request` and returns at once; false, with what the system said, where
// the shell cannot be loaded or cannot start it. `owner` parents any window the shell shows.
bool StartProgram(const StartRequest& request, HWND owner, StartFailure& failure);

}  // namespace rt::win32

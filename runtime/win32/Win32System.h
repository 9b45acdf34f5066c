// The system's texts for its error codes, and the running program's own path and name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Geometry.h"
#include "Platform.h"

namespace rt::win32 {

// The system's text for an error code, as it gives it (line break included); empty where it has
// none.
std::wstring SystemErrorText(DWORD code);

// The calling thread's last error, with its text; code 0 where there is none.
SystemError LastSystemError();

// The full path of the running program, of any length.
std::wstring ModulePath();

// The program's name as the user sees it: its file name without the extension.
std::wstring ProgramName();

// The user's interface languages as tags, most wanted first: the system's list where it keeps
// one (Vista on), else the default interface language.
std::vector<std::wstring> PreferredLanguages();

// Whether this 32-bit program runs on 64-bit Windows.
bool Is64BitSystem();

// The scale of the screen in dots per inch: the system's (Windows 10 on), else the screen's.
int ScreenDpi();

// The primary screen less the taskbar and other bars, in screen pixels.
PixelRect WorkArea();

}  // namespace rt::win32

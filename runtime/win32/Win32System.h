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

// A system library from the system folder only, never from where the search would find it first
// (the program's folder on a disc can hold anything); null where it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);

// Function `name` of `module` into `function`; false where the module or the function is missing.
template <typename F>
bool FindFunction(HMODULE module, const char* name, F& function) {
  const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
  function = reinterpret_cast<F>(reinterpret_cast<void (*)()>(found));
  return function != nullptr;
}

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

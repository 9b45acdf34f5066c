// The name that keeps one menu open per program file: every start of one menu.exe derives the
// same name from its own path, and a menu started from another disc or folder derives another.
#pragma once

#include <string>
#include <string_view>

namespace menu {

// One spelling of a program path: backslashes only, no repeated separators, no "." or ".."
// segments, no trailing dots or spaces on a name, no extended-length prefix, and the letters of
// the Latin, Greek and Cyrillic alphabets (including full-width Latin) in upper case, the way
// the file system compares names.
std::wstring CanonicalProgramPath(std::wstring_view path);

// The mutex name for the program file at `path`: in the logon session's own namespace, with a
// 64-bit hash of the canonical path, so that a path of any length gives a short valid name.
std::wstring InstanceMutexName(std::wstring_view path);

}  // namespace menu

// Paths beyond the classic length limit: the forms the file system and the shell take.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

// Paths from this length on need the extended-length form to reach the file system (the classic
// limit of 260 less room for a file name the system may append).
inline constexpr std::size_t kLongPathLength = 260 - 12;

// The path as the file system takes it: a long absolute path gets the extended-length prefix
// ("\\?\C:\...", "\\?\UNC\server\share\..."); short paths, prefixed paths and relative paths stay.
std::wstring FileSystemPath(std::wstring_view path);

// What to hand the shell for `path`, which takes paths of the classic length only: the path itself
// when short; else `shortForm` (what the system gives as the path's short form, possibly with the
// extended-length prefix, empty where there is none) when that is short enough; else the
// extended-length form.
std::wstring ShellPath(std::wstring_view path, std::wstring_view shortForm);

}  // namespace rt

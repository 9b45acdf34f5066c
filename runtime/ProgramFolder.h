// The program folder from the program's full path, as the menu composes its paths from it.
#pragma once

#include <string>
#include <string_view>

namespace rt {

// The folder part of a program's full path: a drive root keeps its separator ("E:\"), any other
// folder loses it ("C:\Menu", "\\server\share").
std::wstring FolderOfModulePath(std::wstring_view modulePath);

}  // namespace rt

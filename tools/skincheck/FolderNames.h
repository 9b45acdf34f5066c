// Names in a distribution folder as the menu names them and as the folder holds them: UTF-8 texts
// for the report, and each file found the way Windows finds it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace skincheck {

// UTF-8 from the menu's wide texts (UTF-16 or UTF-32, as wchar_t is); a lone surrogate becomes
// U+FFFD.
std::string Utf8(std::wstring_view text);
// A path in UTF-8 on either platform.
std::string PathText(const std::filesystem::path& path);

// A name of the menu's, relative to the program folder: what the rule gives for an empty folder
// that ends in a separator, and installer paths without their leading separator.
std::wstring Relative(std::wstring path);

// Where a file the menu names lies in the folder: the name's parts between backslashes, each one
// looked up under its exact name first and then ignoring case, as Windows finds it.
struct Located {
  std::filesystem::path path;
  bool found = false;
  bool caseDiffers = false;
};

Located Locate(const std::filesystem::path& folder, std::wstring_view name);

}  // namespace skincheck

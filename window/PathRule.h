// Where the menu's pictures lie: every path is composed from the program folder as the system
// reports it at that moment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {
class Platform;
}

namespace menu {

// State suffixes of the picture files. Series "bmp": -1 pressed, -2 normal, -3 hover.
// Series "cmd": -1 normal and pressed, -3 hover.
inline constexpr std::wstring_view kSuffix1 = L"-1.bmp";
inline constexpr std::wstring_view kSuffix2 = L"-2.bmp";
inline constexpr std::wstring_view kSuffix3 = L"-3.bmp";

// True when the folder's last character is a backslash; a forward slash or an empty folder is not.
bool HasTrailingSeparator(std::wstring_view folder);

// Buttons 0 to 3 and 14 belong to series "bmp", every other index to series "cmd".
bool IsBmpSeries(std::int16_t index);

// The button's number in its file names: index + 1 in plain decimal digits ("1", "10", "15").
// An index whose number would not fit a 16-bit signed value raises the overflow error.
std::wstring ButtonNumber(std::int16_t index);

// `folder` + "img\main.bmp" (with a trailing separator) or + "\img\main.bmp" (without).
std::wstring SkinPicturePath(std::wstring_view folder, bool hasTrailingSeparator);

// `folder` + series prefix in the form the separator test selects + button number + suffix.
std::wstring ButtonPicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                               std::int16_t index, std::wstring_view suffix);

// The path rule bound to the platform: the program folder is read afresh for every path.
class PathRule {
 public:
  explicit PathRule(rt::Platform& platform) : platform_(&platform) {}
  bool HasTrailingSeparator() const;
  std::wstring SkinPicturePath(bool hasTrailingSeparator) const;
  std::wstring ButtonPicturePath(bool hasTrailingSeparator, std::int16_t index,
                                 std::wstring_view suffix) const;

 private:
  rt::Platform* platform_;
};

}  // namespace menu

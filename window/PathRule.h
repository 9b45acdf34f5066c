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

// The state suffixes of a series' picture files, by the look each one gives.
struct LookSuffixes {
  std::wstring_view normal;
  std::wstring_view hover;
  std::wstring_view pressed;
};
// Series "bmp" (buttons 0 to 3 and 14) has a look for each state.
inline constexpr LookSuffixes kBmpLooks = {L"-2.bmp", L"-3.bmp", L"-1.bmp"};
// Series "cmd" (every other index) has no pressed look of its own: "-1.bmp" is normal and pressed.
inline constexpr LookSuffixes kCmdLooks = {L"-1.bmp", L"-3.bmp", L"-1.bmp"};

// True when the folder's last character is a backslash; a forward slash or an empty folder is not.
bool HasTrailingSeparator(std::wstring_view folder);

// Buttons 0 to 3 and 14 belong to series "bmp", every other index to series "cmd".
bool IsBmpSeries(std::int16_t index);
// The suffixes of the series button `index` belongs to.
const LookSuffixes& LooksOf(std::int16_t index);

// The button's number in its file names: index + 1 in plain decimal digits ("1", "10", "15").
// An index whose number would not fit a 16-bit signed value raises the overflow error.
std::wstring ButtonNumber(std::int16_t index);

// `folder` + "img\main.bmp" (with a trailing separator) or + "\img\main.bmp" (without).
std::wstring SkinPicturePath(std::wstring_view folder, bool hasTrailingSeparator);

// `folder` + series prefix in the form the separator test selects + button number + suffix.
std::wstring ButtonPicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                               std::int16_t index, std::wstring_view suffix);

// The file drawn for a display scale in percent: "img\main.bmp" at 200 is
// "img\main.scale-200.bmp", as Windows names scale qualifiers.
std::wstring QualifiedPicturePath(std::wstring_view path, int percent);

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

// Where the menu's pictures lie: every path is composed from the program folder as the system
// reports it at that moment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ButtonTable.h"

namespace rt {
class Platform;
}

namespace menu {

// The design's skin, relative to the program folder.
inline constexpr std::wstring_view kDesignSkin = L"img\\main.bmp";

// True when the folder's last character is a backslash; a forward slash or an empty folder is not.
bool HasTrailingSeparator(std::wstring_view folder);

// The buttons the design shows belong to its shown series, every other index to the other one.
bool IsBmpSeries(std::int16_t index);
// The suffixes of button `index`'s looks.
const LookSuffixes& LooksOf(std::int16_t index);

// The button's number in its file names: index + 1 in plain decimal digits ("1", "10", "15").
// An index whose number would not fit a 16-bit signed value raises the overflow error.
std::wstring ButtonNumber(std::int16_t index);

// The design's picture files of button `index` without their suffix, relative to the program
// folder: "img\" + series + button number ("img\bmp1", "img\cmd7").
std::wstring DesignPictureBase(std::int16_t index);

// `picture` + `suffix` where the menu reads it: a relative path joined to `folder` as the
// separator test selects (directly with a trailing separator, else after a backslash), a full path
// as it is; forward slashes become backslashes.
std::wstring PicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                         std::wstring_view picture, std::wstring_view suffix = {});

// `folder` + "img\main.bmp" (with a trailing separator) or + "\img\main.bmp" (without).
std::wstring SkinPicturePath(std::wstring_view folder, bool hasTrailingSeparator);

// `folder` + series prefix in the form the separator test selects + button number + suffix.
std::wstring ButtonPicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                               std::int16_t index, std::wstring_view suffix);

// The file drawn for a display scale in percent: "img\main.bmp" at 200 is
// "img\main.scale-200.bmp", as Windows names scale qualifiers.
std::wstring QualifiedPicturePath(std::wstring_view path, int percent);

// The PNG file that serves for a bitmap's name where the medium holds it: "img\main.bmp" gives
// "img\main.png" (the extension in any case); empty for a name that does not end in ".bmp".
std::wstring PngAlternative(std::wstring_view path);

// The path rule bound to the platform: the program folder is read afresh for every path.
class PathRule {
 public:
  explicit PathRule(rt::Platform& platform) : platform_(&platform) {}
  bool HasTrailingSeparator() const;
  std::wstring SkinPicturePath(bool hasTrailingSeparator) const;
  std::wstring ButtonPicturePath(bool hasTrailingSeparator, std::int16_t index,
                                 std::wstring_view suffix) const;
  std::wstring PicturePath(bool hasTrailingSeparator, std::wstring_view picture,
                           std::wstring_view suffix = {}) const;

 private:
  rt::Platform* platform_;
};

}  // namespace menu

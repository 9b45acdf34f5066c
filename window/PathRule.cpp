// The path rule for the menu's picture files.
#include "PathRule.h"
#include "BitmapCheck.h"

#include <algorithm>

#include "Decimal.h"
#include "MenuIniSyntax.h"
#include "Platform.h"
#include "RunTimeError.h"

namespace menu {

bool HasTrailingSeparator(std::wstring_view folder) {
  return !folder.empty() && folder.back() == L'\\';
}

bool IsBmpSeries(std::int16_t index) {
  const ButtonRecord* record = FindButton(index);
  return record != nullptr && record->series == kShownSeries;
}

const LookSuffixes& LooksOf(std::int16_t index) {
  const ButtonRecord* record = FindButton(index);
  return record != nullptr ? record->looks : kCmdLooks;
}

std::wstring ButtonNumber(std::int16_t index) {
  const int number = index + 1;
  if (number > INT16_MAX) {
    throw rt::RunTimeError(rt::kErrOverflow, rt::AsciiText("Could not name the picture of button"),
                           rt::DecimalText(index));
  }
  return rt::DecimalText(number);
}

std::wstring DesignPictureBase(std::int16_t index) {
  const ButtonRecord* record = FindButton(index);
  std::wstring base = L"img\\";
  base += record != nullptr ? record->series : kOtherSeries;
  base += ButtonNumber(index);
  return base;
}

std::wstring PicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                         std::wstring_view picture, std::wstring_view suffix) {
  std::wstring path;
  if (ini::CheckPath(picture, ini::PathUse::kOpen).kind != ini::PathKind::kAbsolute) {
    path = folder;
    if (!hasTrailingSeparator) path += L'\\';
  }
  const std::size_t start = path.size();
  path += picture;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(start), path.end(), L'/', L'\\');
  path += suffix;
  return path;
}

std::wstring SkinPicturePath(std::wstring_view folder, bool hasTrailingSeparator) {
  return PicturePath(folder, hasTrailingSeparator, kDesignSkin);
}

std::wstring ButtonPicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                               std::int16_t index, std::wstring_view suffix) {
  return PicturePath(folder, hasTrailingSeparator, DesignPictureBase(index), suffix);
}

std::wstring QualifiedPicturePath(std::wstring_view path, int percent) {
  const std::size_t dot = path.find_last_of(L'.');
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::size_t end =
      dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash)
          ? dot
          : path.size();
  return std::wstring(path.substr(0, end)) + L".scale-" + rt::DecimalText(percent) +
         std::wstring(path.substr(end));
}

std::wstring PngAlternative(std::wstring_view path) {
  constexpr std::wstring_view kBmp = L".bmp";
  if (path.size() < kBmp.size()) return {};
  const std::wstring_view extension = path.substr(path.size() - kBmp.size());
  for (std::size_t i = 0; i < kBmp.size(); ++i) {
    const wchar_t c = extension[i];
    if (c != kBmp[i] && c != kBmp[i] - L'a' + L'A') return {};
  }
  return std::wstring(path.substr(0, path.size() - kBmp.size())) + L".png";
}

bool PathRule::HasTrailingSeparator() const {
  return menu::HasTrailingSeparator(platform_->ProgramFolder());
}

std::wstring PathRule::SkinPicturePath(bool hasTrailingSeparator) const {
  return menu::SkinPicturePath(platform_->ProgramFolder(), hasTrailingSeparator);
}

std::wstring PathRule::ButtonPicturePath(bool hasTrailingSeparator, std::int16_t index,
                                         std::wstring_view suffix) const {
  return menu::ButtonPicturePath(platform_->ProgramFolder(), hasTrailingSeparator, index, suffix);
}

std::wstring PathRule::PicturePath(bool hasTrailingSeparator, std::wstring_view picture,
                                   std::wstring_view suffix) const {
  return menu::PicturePath(platform_->ProgramFolder(), hasTrailingSeparator, picture, suffix);
}

}  // namespace menu

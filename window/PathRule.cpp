// The path rule for the menu's picture files.
#include "PathRule.h"

#include "Decimal.h"
#include "Platform.h"
#include "RunTimeError.h"

namespace menu {

bool HasTrailingSeparator(std::wstring_view folder) {
  return !folder.empty() && folder.back() == L'\\';
}

bool IsBmpSeries(std::int16_t index) { return (index >= 0 && index <= 3) || index == 14; }

const LookSuffixes& LooksOf(std::int16_t index) {
  return IsBmpSeries(index) ? kBmpLooks : kCmdLooks;
}

std::wstring ButtonNumber(std::int16_t index) {
  const int number = index + 1;
  if (number > INT16_MAX) {
    throw rt::RunTimeError(rt::kErrOverflow, L"Could not name the picture of button",
                           rt::DecimalText(index));
  }
  return rt::DecimalText(number);
}

std::wstring SkinPicturePath(std::wstring_view folder, bool hasTrailingSeparator) {
  std::wstring path(folder);
  path += hasTrailingSeparator ? L"img\\main.bmp" : L"\\img\\main.bmp";
  return path;
}

std::wstring ButtonPicturePath(std::wstring_view folder, bool hasTrailingSeparator,
                               std::int16_t index, std::wstring_view suffix) {
  std::wstring path(folder);
  path += hasTrailingSeparator ? L"img\\" : L"\\img\\";
  path += IsBmpSeries(index) ? L"bmp" : L"cmd";
  path += ButtonNumber(index);
  path += suffix;
  return path;
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

}  // namespace menu

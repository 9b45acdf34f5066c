// The folder check. File names come from the menu's own path rule and installer table, places from
// frmMain's definition, the verdict on each picture from the menu's header check, and the outline
// from the menu's own computation, so that the check and the menu cannot disagree.
#include "SkinCheck.h"

#include <algorithm>
#include <map>
#include <span>
#include <string_view>

#include "BitmapCheck.h"
#include "Bytes.h"
#include "FolderNames.h"
#include "PathRule.h"
#include "Preview.h"
#include "ReferenceDecoder.h"
#include "RunTimeError.h"
#include "SkinOutline.h"
#include "frmMain.h"
#include "frmMainDefinition.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

class Checker {
 public:
  Checker(const fs::path& folder, bool withPreview) : folder_(folder), withPreview_(withPreview) {}

  Result Run();

 private:
  struct Button {
    std::int16_t index = 0;
    rt::PixelRect place;
    std::vector<std::wstring_view> suffixes;  // every look the menu loads
    std::wstring_view normal;
  };

  void Add(Severity severity, const std::wstring& file, std::string message) {
    result_.findings.push_back({severity, Utf8(file), std::move(message)});
  }

  // The file's path when it is there as a file; reports it otherwise.
  std::optional<fs::path> Find(const std::wstring& name, std::string_view notA,
                               const std::string& consequence);
  // The picture's size, and its pixels when `keepPixels`; reports why it cannot be shown.
  std::optional<Image> ReadPicture(const std::wstring& name, bool keepPixels);
  void CheckSkin(const std::wstring& name, const Image& skin);
  void CheckPlace(const std::wstring& name, const Image& picture, const rt::PixelRect& place);
  void CheckInstallers();

  static std::vector<Button> Buttons();

  fs::path folder_;
  bool withPreview_;
  std::optional<Image> skin_;
  bool skinRefused_ = false;
  Result result_;
};

std::vector<Checker::Button> Checker::Buttons() {
  std::vector<Button> buttons;
  for (const rt::ControlDefinition& control : menu::frmMainDefinition().controls) {
    // Disabled members never receive the pointer, so they never load a picture.
    if (control.name != L"cmd" || !control.enabled) continue;
    Button button;
    button.index = static_cast<std::int16_t>(control.index);
    button.place = control.bounds;
    if (menu::IsBmpSeries(button.index)) {
      button.suffixes = {menu::kBmpLooks.pressed, menu::kBmpLooks.normal, menu::kBmpLooks.hover};
      button.normal = menu::kBmpLooks.normal;
    } else {
      button.suffixes = {menu::kCmdLooks.normal, menu::kCmdLooks.hover};
      button.normal = menu::kCmdLooks.normal;
    }
    buttons.push_back(button);
  }
  std::sort(buttons.begin(), buttons.end(),
            [](const Button& a, const Button& b) { return a.index < b.index; });
  return buttons;
}

std::optional<fs::path> Checker::Find(const std::wstring& name, std::string_view notA,
                                      const std::string& consequence) {
  const Located located = Locate(folder_, name);
  if (!located.found) {
    Add(Severity::kError, name, "missing" + consequence);
    return std::nullopt;
  }
  std::error_code error;
  if (fs::is_directory(located.path, error)) {
    Add(Severity::kError, name, "is a folder, not " + std::string(notA) + consequence);
    return std::nullopt;
  }
  if (located.caseDiffers) {
    std::string actual = PathText(located.path.lexically_relative(folder_));
    std::replace(actual.begin(), actual.end(), '/', '\\');
    Add(Severity::kNote, name,
        "named " + actual + " in the folder; Windows finds it, as its file names ignore case");
  }
  return located.path;
}

std::optional<Image> Checker::ReadPicture(const std::wstring& name, bool keepPixels) {
  const std::optional<fs::path> path = Find(name, "a picture", "");
  if (!path) return std::nullopt;
  const std::optional<bmpio::Bytes> bytes = bmpio::ReadFile(*path);
  if (!bytes) {
    Add(Severity::kError, name, "cannot be read");
    return std::nullopt;
  }
  const std::span<const std::uint8_t> file(*bytes);
  const rt::BitmapCheckResult check = rt::CheckBitmapFile(file);
  if (!check.ok) {
    Add(Severity::kError, name, "the menu refuses it: " + Utf8(check.reason));
    return std::nullopt;
  }
  if (check.height < 0) {
    Add(Severity::kWarning, name,
        "stored top-down (negative height); the menu shows it, but Wine 8's own decoder and "
        "some picture tools draw such files black, 24-bit bottom-up files show everywhere");
  }
  bmpio::Decoded decoded = bmpio::DecodeTrusting(file, keepPixels);
  if (!decoded.ok) {
    Add(Severity::kError, name, "cannot be decoded: " + decoded.problem);
    return std::nullopt;
  }
  return Image{decoded.width, decoded.height, std::move(decoded.pixels)};
}

void Checker::CheckSkin(const std::wstring& name, const Image& skin) {
  try {
    menu::CheckSkinSize(skin.width, skin.height);
  } catch (const rt::RunTimeError& error) {
    Add(Severity::kError, name,
        "the menu stops: " + Utf8(error.Action()) + " (" + Utf8(error.Subject()) + "). " +
            Utf8(error.Detail()));
    skinRefused_ = true;
  }
  static constexpr const char* kCorners[] = {"top-left", "bottom-left", "top-right",
                                             "bottom-right"};
  const auto areas = menu::CornerAreas(skin.width, skin.height);
  std::string empty;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    if (!areas[i].Empty()) continue;
    empty += empty.empty() ? "" : ", ";
    empty += kCorners[i];
  }
  if (!empty.empty()) {
    Add(Severity::kWarning, name,
        SizeText(skin.width, skin.height) + " pixels, smaller than " +
            SizeText(menu::kCornerFarX + 1, menu::kCornerFarY + 1) + ": the corner areas " + empty +
            " are empty, so no black pixel there is cut out of the window");
  }
  if (skin.width != kDesignedSkinWidth || skin.height != kDesignedSkinHeight) {
    Add(Severity::kNote, name,
        SizeText(skin.width, skin.height) + " pixels, not the designed " +
            SizeText(kDesignedSkinWidth, kDesignedSkinHeight) + "; the window takes its size");
  }
}

void Checker::CheckPlace(const std::wstring& name, const Image& picture,
                         const rt::PixelRect& place) {
  const std::string size = SizeText(picture.width, picture.height) + " pixels";
  const std::string where = SizeText(place.Width(), place.Height()) + " at (" +
                            std::to_string(place.left) + ", " + std::to_string(place.top) + ")";
  if (picture.width > place.Width() || picture.height > place.Height()) {
    Add(Severity::kWarning, name,
        size + ", larger than its place of " + where + "; it may overlap what lies beside it");
  } else if (picture.width < place.Width() || picture.height < place.Height()) {
    Add(Severity::kNote, name, size + ", smaller than its place of " + where);
  }
  if (!skin_) return;
  const rt::PixelRect shown = {place.left, place.top, place.left + picture.width,
                               place.top + picture.height};
  const rt::PixelRect window = {0, 0, skin_->width, skin_->height};
  const rt::PixelRect visible = rt::Intersect(shown, window);
  if (visible.Empty()) {
    Add(Severity::kWarning, name,
        "lies outside the " + SizeText(window.right, window.bottom) +
            " window, so the button cannot be seen");
  } else if (visible != shown) {
    Add(Severity::kWarning, name,
        "reaches past the edge of the " + SizeText(window.right, window.bottom) +
            " window and is cut off there");
  }
}

void Checker::CheckInstallers() {
  std::vector<std::int16_t> indices;
  for (const rt::ControlDefinition& control : menu::frmMainDefinition().controls) {
    if (control.name == L"cmd") indices.push_back(static_cast<std::int16_t>(control.index));
  }
  std::sort(indices.begin(), indices.end());
  for (const std::int16_t index : indices) {
    const std::wstring name = Relative(menu::InstallerPath(L"", index));
    if (name.empty()) continue;
    Find(name, "a program", ": button " + std::to_string(index + 1) + " would fail to start it");
  }
}

Result Checker::Run() {
  const std::wstring skinName = menu::SkinPicturePath(L"", true);
  skin_ = ReadPicture(skinName, withPreview_);
  if (skin_) CheckSkin(skinName, *skin_);

  std::map<std::int16_t, Image> normals;
  for (const Button& button : Buttons()) {
    for (const std::wstring_view suffix : button.suffixes) {
      const std::wstring name = menu::ButtonPicturePath(L"", true, button.index, suffix);
      const bool normal = suffix == button.normal;
      std::optional<Image> picture = ReadPicture(name, withPreview_ && normal);
      if (!picture) continue;
      CheckPlace(name, *picture, button.place);
      if (normal) normals.emplace(button.index, std::move(*picture));
    }
  }

  CheckInstallers();

  if (withPreview_ && skin_ && !skinRefused_) result_.preview = ComposePreview(*skin_, normals);
  return std::move(result_);
}

}  // namespace

Result CheckFolder(const fs::path& folder, bool withPreview) {
  return Checker(folder, withPreview).Run();
}

}  // namespace skincheck

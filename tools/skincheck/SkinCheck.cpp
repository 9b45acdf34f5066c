// The folder check. File names come from the menu's own path rule and button table, places from
// the menu's own layout of its buttons, the verdict on each picture from the menu's header check,
// and the outline from the menu's own computation, so that the check and the menu cannot disagree.
#include "SkinCheck.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string_view>

#include "DiscFiles.h"
#include "FolderNames.h"
#include "Fringe.h"
#include "MenuIniCheck.h"
#include "PathRule.h"
#include "Preview.h"
#include "Report.h"
#include "RunTimeError.h"
#include "ScaledPictures.h"
#include "SkinOutline.h"
#include "frmMainDefinition.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

bool WindowFits(const Image& skin) {
  try {
    menu::CheckSkinSize(skin.width, skin.height);
    return true;
  } catch (const rt::RunTimeError&) {
    return false;
  }
}

class Checker {
 public:
  Checker(const fs::path& folder, bool withPreview, int dpi)
      : report_(folder), withPreview_(withPreview), dpi_(dpi) {}

  Result Run();

 private:
  struct Button {
    std::int16_t index = 0;
    rt::PixelRect place;
    bool designedSize = false;                // the design's pictures, sized for its place
    std::vector<std::wstring> bases;          // the plain files', then each language's
    std::vector<std::wstring_view> suffixes;  // every look the menu loads
    std::wstring_view normal;
    bool unavailableLook = false;  // the menu shows the disc's "-5" where it has one
  };
  // One picture as the menu may read it: the plain file and the files drawn for scales.
  struct Checked {
    std::optional<Image> plain;  // its size
    std::optional<Image> shown;  // what the preview shows at its scale, when asked for
  };

  // Checks the plain file `name`, judged further by `judge` (with its pixels when `judgePixels`),
  // and every file drawn for a scale beside it; `inPreview` asks for the picture the menu takes at
  // the preview's scale.
  Checked CheckPicture(const std::wstring& name, bool inPreview,
                       const std::function<void(const std::wstring&, const Image&)>& judge,
                       bool judgePixels = false);
  void CheckScaledSize(const std::wstring& name, const Image& picture, const Image& plain,
                       int percent);
  void CheckSkin(const std::wstring& name, const Image& skin);
  void CheckPlace(const std::wstring& name, const Image& picture, const Button& button);
  void CheckOverlaps(const std::vector<Button>& buttons,
                     const std::map<std::int16_t, Image>& sizes);
  void CheckInstallers(const menu::MenuSettings& settings);

  static std::vector<Button> Buttons(const menu::MenuSettings& settings);

  void Add(Severity severity, const std::wstring& file, std::string message) {
    report_.Add(severity, file, std::move(message));
  }

  Report report_;
  bool withPreview_;
  int dpi_;
  std::optional<Image> skin_;
};

// Every text of a key a user may be given: the plain one, then each language's.
std::vector<std::wstring> EveryText(const menu::LocalizedText& text) {
  std::vector<std::wstring> texts;
  if (text.plain) texts.push_back(*text.plain);
  for (const auto& [tag, value] : text.translations) texts.push_back(value);
  return texts;
}

std::vector<Checker::Button> Checker::Buttons(const menu::MenuSettings& settings) {
  std::vector<Button> buttons;
  // Hidden buttons are not on the window, so their pictures are never read.
  for (const menu::DiscButton& laid : menu::LayOutButtons(settings)) {
    // Disabled members never receive the pointer, so they never load a picture.
    if (!laid.record->Enabled()) continue;
    Button button;
    button.index = laid.record->index;
    button.place = laid.place;
    if (laid.settings != nullptr) button.bases = EveryText(laid.settings->pictures);
    button.designedSize = button.bases.empty();
    if (button.bases.empty()) button.bases = {menu::DesignPictureBase(button.index)};
    const menu::LookSuffixes& looks = laid.record->looks;
    button.suffixes = {looks.pressed, looks.normal, looks.hover};
    // Where one file gives two looks, it is read once.
    if (looks.pressed == looks.normal) button.suffixes.erase(button.suffixes.begin());
    button.normal = looks.normal;
    // By what the computer has: the installed look where it may be shown, the unavailable one
    // where the disc has it (else the menu greys the normal look itself).
    if (const menu::ButtonSettings* section = laid.settings) {
      if (section->HasInstalledCondition() &&
          section->whenInstalled != menu::WhenInstalled::kHide) {
        button.suffixes.push_back(menu::kInstalledLook);
      }
      button.unavailableLook =
          section->HasRequirement() && section->whenUnavailable == menu::WhenUnavailable::kDisable;
    }
    buttons.push_back(std::move(button));
  }
  std::sort(buttons.begin(), buttons.end(),
            [](const Button& a, const Button& b) { return a.index < b.index; });
  return buttons;
}

Checker::Checked Checker::CheckPicture(
    const std::wstring& name, bool inPreview,
    const std::function<void(const std::wstring&, const Image&)>& judge, bool judgePixels) {
  const PictureFiles files = ChoosePictureFiles(report_.Folder(), name, dpi_);
  auto noteBitmap = [&](const PictureFiles::File& file, const std::wstring& bitmap) {
    if (file.bitmapBeside) {
      Add(Severity::kNote, bitmap,
          "the menu shows " + Utf8(file.path) + " instead, which lies beside it");
    }
  };
  for (const PictureFiles::File& file : files.scaled) {
    noteBitmap(file, menu::QualifiedPicturePath(name, file.percent));
  }
  noteBitmap(files.plain, name);
  // The file the menu takes at the preview's scale.
  const int served = files.served;
  const bool keep = withPreview_ && inPreview;

  Checked checked;
  const std::wstring& plain = files.plain.path;
  checked.plain = report_.ReadPicture(plain, judgePixels || (keep && served == 100));
  if (checked.plain) judge(plain, *checked.plain);
  std::optional<Image> source;
  if (keep && served == 100) source = checked.plain;
  for (const PictureFiles::File& file : files.scaled) {
    std::optional<Image> picture = report_.ReadPicture(file.path, keep && served == file.percent);
    if (picture && checked.plain)
      CheckScaledSize(file.path, *picture, *checked.plain, file.percent);
    if (served == file.percent) source = std::move(picture);
  }
  if (keep && source) checked.shown = AtScale(std::move(*source), served, dpi_);
  return checked;
}

void Checker::CheckScaledSize(const std::wstring& name, const Image& picture, const Image& plain,
                              int percent) {
  // The design's figures at the scale, rounded up as the menu rounds its places; a size rounded
  // down, as some picture programs round, is accepted too: it is less than a pixel short.
  const int dpi = rt::kDesignDpi * percent / 100;
  auto fits = [&](int size, int drawn) {
    return drawn == rt::Scaled(size, dpi) || drawn == static_cast<int>(1LL * size * percent / 100);
  };
  if (fits(plain.width, picture.width) && fits(plain.height, picture.height)) return;
  Add(Severity::kWarning, name,
      SizeText(picture.width, picture.height) + " pixels, not the plain file's " +
          SizeText(plain.width, plain.height) + " at " + std::to_string(percent) + " % (" +
          SizeText(rt::Scaled(plain.width, dpi), rt::Scaled(plain.height, dpi)) +
          "); the menu shows it as it is drawn");
}

void Checker::CheckSkin(const std::wstring& name, const Image& skin) {
  try {
    menu::CheckSkinSize(skin.width, skin.height);
  } catch (const rt::RunTimeError& error) {
    Add(Severity::kError, name,
        "the menu stops: " + Utf8(error.Action()) + " (" + Utf8(error.Subject()) + "). " +
            Utf8(error.Detail()));
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
  // A skin with alpha has its holes where it is transparent; the corners' black is drawn.
  const bool cornersCut = skin.alpha.empty();
  if (cornersCut && !empty.empty()) {
    Add(Severity::kWarning, name,
        SizeText(skin.width, skin.height) + " pixels, smaller than " +
            SizeText(menu::kCornerFarX + 1, menu::kCornerFarY + 1) + ": the corner areas " + empty +
            " are empty, so no black pixel there is cut out of the window");
  }
  if (cornersCut) CheckDarkFringe(report_, name, skin);
  if (skin.width != kDesignedSkinWidth || skin.height != kDesignedSkinHeight) {
    Add(Severity::kNote, name,
        SizeText(skin.width, skin.height) + " pixels, not the designed " +
            SizeText(kDesignedSkinWidth, kDesignedSkinHeight) + "; the window takes its size");
  }
}

void Checker::CheckPlace(const std::wstring& name, const Image& picture, const Button& button) {
  const rt::PixelRect& place = button.place;
  const std::string size = SizeText(picture.width, picture.height) + " pixels";
  const std::string where = SizeText(place.Width(), place.Height()) + " at (" +
                            std::to_string(place.left) + ", " + std::to_string(place.top) + ")";
  // Pictures a disc names bring their own size; the design's were drawn for their places.
  const bool larger = picture.width > place.Width() || picture.height > place.Height();
  const bool smaller = picture.width < place.Width() || picture.height < place.Height();
  if (button.designedSize && larger) {
    Add(Severity::kWarning, name,
        size + ", larger than its place of " + where + "; it may overlap what lies beside it");
  } else if (button.designedSize && smaller) {
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

void Checker::CheckOverlaps(const std::vector<Button>& buttons,
                            const std::map<std::int16_t, Image>& sizes) {
  // Where two buttons' normal looks share pixels, one hides part of the other.
  auto shownAt = [&](const Button& button) -> std::optional<rt::PixelRect> {
    const auto size = sizes.find(button.index);
    if (size == sizes.end()) return std::nullopt;
    return rt::PixelRect{button.place.left, button.place.top,
                         button.place.left + size->second.width,
                         button.place.top + size->second.height};
  };
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    for (std::size_t j = i + 1; j < buttons.size(); ++j) {
      const std::optional<rt::PixelRect> a = shownAt(buttons[i]);
      const std::optional<rt::PixelRect> b = shownAt(buttons[j]);
      if (!a || !b || rt::Intersect(*a, *b).Empty()) continue;
      const std::wstring name =
          menu::PicturePath(L"", true, buttons[j].bases.front(), buttons[j].normal);
      Add(Severity::kWarning, name,
          "overlaps the button of " +
              Utf8(menu::PicturePath(L"", true, buttons[i].bases.front(), buttons[i].normal)) +
              "; one hides part of the other");
    }
  }
}

void Checker::CheckInstallers(const menu::MenuSettings& settings) {
  for (const menu::ButtonRecord& record : menu::kButtons) {
    const std::int16_t index = record.index;
    const std::wstring name = Relative(menu::InstallerPath(L"", index));
    if (name.empty() || !StartsInstaller(settings, index)) continue;
    report_.Find(name, "a program",
                 ": button " + std::to_string(index + 1) + " would fail to start it");
  }
}

Result Checker::Run() {
  // A menu.ini with a fault stops the menu before its window appears; without one, the buttons
  // are as designed.
  CheckProgram(report_);
  CheckAutorun(report_);
  const MenuIniRead ini = CheckMenuIni(report_);
  const menu::MenuSettings settings = ini.settings.value_or(menu::MenuSettings{});
  if (!ini.refused) report_.Results().settings = settings;
  if (ini.settings) CheckButtonTexts(report_, settings);

  // The preview shows the plain files; every language's are checked as well.
  std::vector<std::wstring> skins = EveryText(settings.skin);
  if (!settings.skin.plain) skins.insert(skins.begin(), std::wstring(menu::kDesignSkin));
  Checked skin;
  for (std::size_t i = 0; i < skins.size(); ++i) {
    const std::wstring name = menu::PicturePath(L"", true, skins[i]);
    Checked checked = CheckPicture(
        name, i == 0, [&](const std::wstring& read, const Image& plain) { CheckSkin(read, plain); },
        true);
    if (i == 0) skin = std::move(checked);
  }
  skin_ = std::move(skin.plain);

  const std::vector<Button> buttons = Buttons(settings);
  std::map<std::int16_t, Image> normals;
  std::map<std::int16_t, Image> sizes;
  for (const Button& button : buttons) {
    for (std::size_t base = 0; base < button.bases.size(); ++base) {
      for (const std::wstring_view suffix : button.suffixes) {
        const std::wstring name = menu::PicturePath(L"", true, button.bases[base], suffix);
        const bool shown = base == 0 && suffix == button.normal;
        Checked picture =
            CheckPicture(name, shown, [&](const std::wstring& read, const Image& plain) {
              CheckPlace(read, plain, button);
              if (shown) sizes.emplace(button.index, plain);
            });
        if (picture.shown) normals.emplace(button.index, std::move(*picture.shown));
      }
      if (!button.unavailableLook) continue;
      const std::wstring name =
          menu::PicturePath(L"", true, button.bases[base], menu::kUnavailableLook);
      if (Locate(report_.Folder(), name).found ||
          Locate(report_.Folder(), menu::PngAlternative(name)).found) {
        CheckPicture(name, false, [&](const std::wstring& read, const Image& plain) {
          CheckPlace(read, plain, button);
        });
      } else {
        Add(Severity::kNote, name,
            "not there: where the computer cannot run its program, the menu shows a greyed copy "
            "of the normal look");
      }
    }
  }
  CheckOverlaps(buttons, sizes);

  // What the buttons start is known only from a file the menu takes: a refused one's defaults
  // would be guesses.
  if (!ini.refused) {
    CheckOpenTargets(report_, settings);
    CheckInstallers(settings);
  }

  // The menu stops where the skin it shows is too large for the outline.
  if (skin.shown && WindowFits(*skin.shown)) {
    const std::vector<menu::DiscButton> laid = menu::LayOutButtons(settings);
    const menu::WindowDefinition window(laid);
    report_.Results().preview = ComposePreview(window.Form(), *skin.shown, normals, dpi_);
  }
  return std::move(report_.Results());
}

}  // namespace

Result CheckFolder(const fs::path& folder, bool withPreview, int previewDpi) {
  return Checker(folder, withPreview, previewDpi).Run();
}

}  // namespace skincheck

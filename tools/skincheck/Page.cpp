// The preview page's data, from the menu's own code: the languages chosen as the menu chooses
// them, the pictures it takes at each scale, the places its form gives the buttons and the
// outline it cuts.
#include "Page.h"

#include <map>
#include <memory>
#include <span>
#include <utility>

#include "FolderNames.h"
#include "GreyedLook.h"
#include "MenuIniSyntax.h"
#include "PathRule.h"
#include "Preview.h"
#include "Report.h"
#include "ScaledPictures.h"
#include "SkinOutline.h"
#include "frmMainDefinition.h"
#include "resource.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

// The menu's built-in texts, from its string table.
struct BuiltInText {
  int id;
  const char* text;
};
constexpr BuiltInText kBuiltInStrings[] = {
#include "BuiltInStrings.inc"
};

std::string BuiltIn(int id) {
  for (const auto& entry : kBuiltInStrings) {
    if (entry.id == id) return entry.text;
  }
  return {};
}

std::string ShowName(menu::ShowState show) {
  switch (show) {
    case menu::ShowState::kMinimized:
      return "minimized";
    case menu::ShowState::kNormal:
      return "normal";
    case menu::ShowState::kMaximized:
      return "maximized";
  }
  return {};
}

// Every language tag menu.ini gives a text in, once each (as first written), in the file's order.
std::vector<std::wstring> Languages(const menu::MenuSettings& settings) {
  std::vector<std::wstring> tags;
  auto add = [&](const menu::LocalizedText& text) {
    for (const auto& [tag, value] : text.translations) {
      bool known = false;
      for (const std::wstring& seen : tags)
        known = known || menu::ini::EqualsIgnoringCase(seen, tag);
      if (!known) tags.push_back(tag);
    }
  };
  add(settings.title);
  add(settings.skin);
  for (const menu::ButtonRecord& record : menu::kButtons) {
    if (const menu::ButtonSettings* button = settings.Button(record.index)) {
      add(button->label);
      add(button->tooltip);
      add(button->pictures);
    }
  }
  return tags;
}

// The picture file's name on the page: the disc's name with its folders and scale, in letters
// that need no escaping anywhere, numbered where two names would meet.
std::string PageFileName(const std::wstring& source, int dpi, std::size_t number) {
  std::string name;
  for (const char c : Utf8(source)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.';
    name += plain ? c : '_';
  }
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return std::to_string(number) + "_" + name + "." + std::to_string(rt::ScalePercent(dpi)) + ".png";
}

std::string OutlinePath(const std::vector<rt::PixelRect>& rects) {
  std::string path;
  for (const rt::PixelRect& r : rects) {
    path += "M" + std::to_string(r.left) + " " + std::to_string(r.top) + "h" +
            std::to_string(r.Width()) + "v" + std::to_string(r.Height()) + "h-" +
            std::to_string(r.Width()) + "z";
  }
  return path;
}

class PageBuilder {
 public:
  PageBuilder(const fs::path& folder, const Result& result) : scratch_(folder), result_(result) {}

  Page Build();

 private:
  // The picture of the plain file `name` as the menu shows it at `dpi`, or -1 where it cannot.
  int Picture(const std::wstring& name, int dpi, bool isSkin);
  // A new picture of the page: `picture` greyed as the menu greys a look it has no file for.
  int GreyedCopy(int picture);
  void AddButtons(const menu::MenuSettings& settings);
  void AddView(const menu::MenuSettings& settings, const std::wstring& language, int dpi);

  // Reads the pictures again; what it finds was reported by the check.
  Report scratch_;
  const Result& result_;
  Page page_;
  std::map<std::pair<std::wstring, int>, int> made_;
  // Each file read once for every scale.
  std::map<std::wstring, std::optional<Image>> read_;
};

int PageBuilder::Picture(const std::wstring& name, int dpi, bool isSkin) {
  const auto known = made_.find({name, dpi});
  if (known != made_.end()) return known->second;
  int& index = made_[{name, dpi}];
  index = -1;
  const PictureFiles files = ChoosePictureFiles(scratch_.Folder(), name, dpi);
  const PictureFiles::File& file = files.Served();
  auto read = read_.find(file.path);
  if (read == read_.end()) {
    read = read_.emplace(file.path, scratch_.ReadPicture(file.path, true)).first;
  }
  if (!read->second) return index;
  PagePicture picture;
  picture.source = Utf8(file.png ? menu::PngAlternative(name) : name);
  picture.image = AtScale(*read->second, files.served, dpi);
  picture.file = PageFileName(name, dpi, page_.pictures.size());
  // A PNG picture's own alpha: its soft edges over the skin, or over the checkerboard.
  const std::vector<std::uint8_t>& own = picture.image.alpha;
  if (isSkin) {
    // What the outline leaves out shows the desktop: the page's checkerboard.
    const std::vector<bool> kept = KeptPixels(picture.image, dpi);
    picture.alpha.resize(kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
      picture.alpha[i] = !kept[i] ? 0 : own.empty() ? 255 : own[i];
    }
  } else {
    picture.alpha = own;
  }
  index = static_cast<int>(page_.pictures.size());
  page_.pictures.push_back(std::move(picture));
  return index;
}

int PageBuilder::GreyedCopy(int picture) {
  PagePicture copy = page_.pictures[static_cast<std::size_t>(picture)];
  std::vector<std::uint32_t> pixels;
  pixels.reserve(copy.image.pixels.size());
  for (const Rgb& p : copy.image.pixels) {
    pixels.push_back(p.r | (std::uint32_t{p.g} << 8) | (std::uint32_t{p.b} << 16));
  }
  const std::vector<std::uint32_t> greyed = menu::GreyedPixels(pixels);
  for (std::size_t i = 0; i < greyed.size(); ++i) {
    const auto grey = static_cast<std::uint8_t>(greyed[i] & 0xFF);
    copy.image.pixels[i] = {grey, grey, grey};
  }
  copy.source += " (greyed)";
  copy.file = "greyed_" + copy.file;
  page_.pictures.push_back(std::move(copy));
  return static_cast<int>(page_.pictures.size()) - 1;
}

void PageBuilder::AddButtons(const menu::MenuSettings& settings) {
  int order = 0;
  for (const menu::DiscButton& laid : menu::LayOutButtons(settings)) {
    const menu::ButtonRecord& record = *laid.record;
    if (!record.Enabled()) continue;
    const menu::ButtonSettings section =
        laid.settings != nullptr ? *laid.settings : menu::ButtonSettings{};
    PageButton button;
    button.id = Utf8(record.section);
    button.order = ++order;
    button.stack = record.index;
    button.place = {laid.place.left, laid.place.top};
    std::vector<std::wstring> bases;
    if (section.pictures.plain) bases.push_back(*section.pictures.plain);
    for (const auto& [tag, base] : section.pictures.translations) bases.push_back(base);
    if (!section.pictures.plain) bases.push_back(menu::DesignPictureBase(record.index));
    for (const std::wstring& base : bases) {
      for (const std::wstring_view suffix :
           {record.looks.normal, record.looks.hover, record.looks.pressed}) {
        const std::wstring name = menu::PicturePath(L"", true, base, suffix);
        button.files.push_back(Utf8(name));
        for (const int q : menu::kScaleQualifiers) {
          button.files.push_back(Utf8(menu::QualifiedPicturePath(name, q)));
        }
      }
    }
    auto target = [&](bool is64) {
      const menu::ButtonAction action = menu::ResolveButton(section, record.index, L"", is64);
      if (!action.start) return std::string();
      const menu::StartPlan& plan = *action.start;
      return Utf8(plan.isAddress ? plan.target : Relative(plan.target));
    };
    const menu::ButtonAction action = menu::ResolveButton(section, record.index, L"", false);
    button.open = target(false);
    if (section.open64) button.open64 = target(true);
    if (action.start) {
      button.arguments = Utf8(action.start->arguments);
      if (action.start->workingFolder) {
        button.workingFolder = Utf8(Relative(*action.start->workingFolder));
      }
      button.show = ShowName(action.start->show);
    }
    button.closesMenu = action.closesMenu || record.role == menu::ButtonRole::kClose;
    if (section.HasInstalledCondition()) {
      button.whenInstalled = section.whenInstalled == menu::WhenInstalled::kMark      ? "mark"
                             : section.whenInstalled == menu::WhenInstalled::kDisable ? "disable"
                                                                                      : "hide";
    }
    if (section.HasRequirement()) {
      button.whenUnavailable =
          section.whenUnavailable == menu::WhenUnavailable::kDisable ? "disable" : "hide";
    }
    page_.buttons.push_back(std::move(button));
  }
}

void PageBuilder::AddView(const menu::MenuSettings& settings, const std::wstring& language,
                          int dpi) {
  // A user of `language` alone; the default view is a user of none that menu.ini names.
  std::vector<std::wstring> preferred;
  if (!language.empty()) preferred.push_back(language);
  auto localized = [&](const menu::LocalizedText& text) {
    return menu::ChooseText(text, preferred).value_or(std::wstring());
  };

  PageView view;
  view.language = Utf8(language);
  view.dpi = dpi;
  view.title = Utf8(localized(settings.title));
  std::wstring skinBase = localized(settings.skin);
  if (skinBase.empty()) skinBase = menu::kDesignSkin;
  view.skin = Picture(menu::PicturePath(L"", true, skinBase), dpi, true);
  const Image* skin =
      view.skin >= 0 ? &page_.pictures[static_cast<std::size_t>(view.skin)].image : nullptr;
  bool fits = skin != nullptr;
  if (fits) {
    try {
      menu::CheckSkinSize(skin->width, skin->height);
    } catch (const rt::RunTimeError&) {
      fits = false;
    }
  }
  if (!fits) {
    view.skin = -1;
    page_.views.push_back(std::move(view));
    return;
  }
  view.width = skin->width;
  view.height = skin->height;
  view.outline = OutlinePath(OutlineRects(*skin, dpi));

  const std::vector<menu::DiscButton> laid = menu::LayOutButtons(settings);
  std::map<std::int16_t, Image> normals;
  std::vector<std::int16_t> indices;
  for (const menu::DiscButton& button : laid) {
    const menu::ButtonRecord& record = *button.record;
    if (!record.Enabled()) continue;
    PageButtonView shown;
    shown.id = Utf8(record.section);
    const menu::ButtonSettings section =
        button.settings != nullptr ? *button.settings : menu::ButtonSettings{};
    std::wstring base = localized(section.pictures);
    if (base.empty()) base = menu::DesignPictureBase(record.index);
    // Looks by name: a look added to the menu is a row more here and a state in the page.
    const std::pair<const char*, std::wstring_view> looks[] = {{"normal", record.looks.normal},
                                                               {"hover", record.looks.hover},
                                                               {"pressed", record.looks.pressed}};
    for (const auto& [look, suffix] : looks) {
      const int picture = Picture(menu::PicturePath(L"", true, base, suffix), dpi, false);
      shown.looks.push_back({look, picture});
    }
    const int normal = shown.looks.front().picture;
    if (normal >= 0) {
      normals.emplace(record.index, page_.pictures[static_cast<std::size_t>(normal)].image);
    }
    if (section.HasInstalledCondition()) {
      shown.looks.push_back(
          {"installed",
           Picture(menu::PicturePath(L"", true, base, menu::kInstalledLook), dpi, false)});
    }
    if (section.HasRequirement()) {
      int unavailable =
          Picture(menu::PicturePath(L"", true, base, menu::kUnavailableLook), dpi, false);
      // Where the disc has no picture for it, the menu greys a copy of the normal look.
      if (unavailable < 0 && normal >= 0) unavailable = GreyedCopy(normal);
      shown.looks.push_back({"unavailable", unavailable});
    }
    shown.tooltipInstalled = Utf8(localized(section.tooltipInstalled));
    shown.tooltipUnavailable = Utf8(localized(section.tooltipUnavailable));
    const std::wstring label = localized(section.label);
    shown.label = !label.empty()           ? Utf8(label)
                  : record.nameString != 0 ? BuiltIn(record.nameString)
                                           : Utf8(record.section);
    shown.tooltip = Utf8(localized(section.tooltip));
    view.buttons.push_back(std::move(shown));
    indices.push_back(record.index);
  }

  // The places and sizes the menu's own form gives them at this scale.
  const menu::WindowDefinition window(laid);
  rt::Form form(window.Form());
  ArrangeForm(form, page_.pictures[static_cast<std::size_t>(view.skin)].image, normals, dpi);
  view.strip = Member(form, L"Picture1").Bounds();
  for (std::size_t i = 0; i < view.buttons.size(); ++i) {
    view.buttons[i].bounds = Member(form, menu::kButtonArray, indices[i]).Bounds();
  }
  page_.views.push_back(std::move(view));
}

Page PageBuilder::Build() {
  page_.findings = result_.findings;
  page_.summary = FormatSummary(result_);
  page_.languages.push_back({});
  if (!result_.settings) return std::move(page_);
  const menu::MenuSettings& settings = *result_.settings;
  for (const std::wstring& tag : Languages(settings)) page_.languages.push_back(Utf8(tag));
  AddButtons(settings);
  std::vector<std::wstring> languages = {std::wstring()};
  for (const std::wstring& tag : Languages(settings)) languages.push_back(tag);
  for (const std::wstring& language : languages) {
    for (const int dpi : kPageDpis) AddView(settings, language, dpi);
  }
  for (const PageView& view : page_.views) page_.windowShown = page_.windowShown || view.skin >= 0;
  return std::move(page_);
}

}  // namespace

Page BuildPage(const fs::path& folder, const Result& result) {
  return PageBuilder(folder, result).Build();
}

}  // namespace skincheck

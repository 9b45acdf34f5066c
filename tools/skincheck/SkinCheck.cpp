// The folder check. File names come from the menu's own path rule and installer table, places from
// frmMain's definition, the verdict on each picture from the menu's header check, and the outline
// from the menu's own computation, so that the check and the menu cannot disagree.
#include "SkinCheck.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <span>
#include <string_view>

#include "BitmapCheck.h"
#include "PathRule.h"
#include "RunTimeError.h"
#include "SkinOutline.h"
#include "decoder.h"
#include "frmMain.h"
#include "frmMainDefinition.h"

namespace skincheck {

namespace fs = std::filesystem;
using corpus::Rgb;

namespace {

std::string Utf8(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto code = static_cast<std::uint32_t>(text[i]);
    // UTF-16 surrogate pairs where wchar_t is 16 bits wide.
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;  // a lone surrogate
    auto put = [&](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (code < 0x80) {
      put(code);
    } else if (code < 0x800) {
      put(0xC0 | (code >> 6));
      put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      put(0xE0 | (code >> 12));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    } else {
      put(0xF0 | (code >> 18));
      put(0x80 | ((code >> 12) & 0x3F));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    }
  }
  return out;
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// A name of the menu's, relative to the program folder: what the rule gives for an empty folder
// that ends in a separator, and installer paths without their leading separator.
std::wstring Relative(std::wstring path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  return start == std::wstring::npos ? std::wstring() : path.substr(start);
}

template <typename Char>
Char Lower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Text>
bool SameIgnoringCase(const Text& a, const Text& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](auto x, auto y) { return Lower(x) == Lower(y); });
}

// Where a file the menu names lies in the folder: the name's parts between backslashes, each one
// looked up under its exact name first and then ignoring case, as Windows finds it.
struct Located {
  fs::path path;
  bool found = false;
  bool caseDiffers = false;
};

Located Locate(const fs::path& folder, std::wstring_view name) {
  Located result{folder};
  std::size_t start = 0;
  while (start < name.size()) {
    std::size_t end = name.find(L'\\', start);
    if (end == std::wstring_view::npos) end = name.size();
    const fs::path part(std::wstring(name.substr(start, end - start)));
    start = end + 1;
    if (part.empty()) continue;
    std::error_code error;
    fs::path next = result.path / part;
    if (!fs::exists(next, error)) {
      bool matched = false;
      for (fs::directory_iterator it(result.path, error), last; !error && it != last;
           it.increment(error)) {
        if (SameIgnoringCase(it->path().filename().native(), part.native())) {
          next = it->path();
          matched = true;
          break;
        }
      }
      if (!matched) {
        result.path = next;
        return result;
      }
      result.caseDiffers = true;
    }
    result.path = next;
  }
  result.found = true;
  return result;
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
  Image Compose(const Image& skin, const std::map<std::int16_t, Image>& normals) const;

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
  std::ifstream in(*path, std::ios::binary);
  if (!in) {
    Add(Severity::kError, name, "cannot be read");
    return std::nullopt;
  }
  const corpus::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::span<const std::uint8_t> file(bytes);
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
  corpus::Decoded decoded = corpus::DecodeTrusting(file, keepPixels);
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

// The decoded skin as the outline computation reads it.
class SkinPixels final : public rt::PictureData {
 public:
  explicit SkinPixels(const Image& image) : image_(&image) {}
  int Width() const override { return image_->width; }
  int Height() const override { return image_->height; }
  void ReadPixels(const rt::PixelRect& area, std::uint32_t* out) const override {
    const rt::PixelRect inside = rt::Intersect(area, {0, 0, image_->width, image_->height});
    for (int y = inside.top; y < inside.bottom; ++y) {
      for (int x = inside.left; x < inside.right; ++x) {
        const Rgb& c = image_->At(x, y);
        out[static_cast<std::size_t>(y - area.top) * static_cast<std::size_t>(area.Width()) +
            static_cast<std::size_t>(x - area.left)] = static_cast<std::uint32_t>(c.r) |
                                                       static_cast<std::uint32_t>(c.g) << 8u |
                                                       static_cast<std::uint32_t>(c.b) << 16u;
      }
    }
  }

 private:
  const Image* image_;
};

// Draws `picture` with its top-left corner at (left, top), clipped to `canvas`.
void Draw(Image& canvas, const Image& picture, int left, int top) {
  const rt::PixelRect part = rt::Intersect({left, top, left + picture.width, top + picture.height},
                                           {0, 0, canvas.width, canvas.height});
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) {
      canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) +
                    static_cast<std::size_t>(x)] = picture.At(x - left, y - top);
    }
  }
}

Image Checker::Compose(const Image& skin, const std::map<std::int16_t, Image>& normals) const {
  Image canvas = skin;
  // The bottom of the stack first. The picture box along the top shows the skin from its own
  // corner; the measuring image is hidden; buttons show their normal look.
  const auto& controls = menu::frmMainDefinition().controls;
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if (it->kind == rt::ControlKind::kPictureBox) {
      const rt::PixelRect box = rt::Intersect(it->bounds, {0, 0, skin.width, skin.height});
      for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
          const int sx = x - it->bounds.left;
          const int sy = y - it->bounds.top;
          if (sx < skin.width && sy < skin.height) {
            canvas.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(skin.width) +
                          static_cast<std::size_t>(x)] = skin.At(sx, sy);
          }
        }
      }
      continue;
    }
    if (it->name != L"cmd") continue;
    const auto normal = normals.find(static_cast<std::int16_t>(it->index));
    if (normal != normals.end()) Draw(canvas, normal->second, it->bounds.left, it->bounds.top);
  }
  // What the outline leaves out shows the desktop, whatever was drawn there.
  const SkinPixels pixels(skin);
  std::vector<bool> kept(canvas.pixels.size(), false);
  for (const rt::PixelRect& rect : menu::SkinOutlineRects(skin.width, skin.height, pixels)) {
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        kept[static_cast<std::size_t>(y) * static_cast<std::size_t>(skin.width) +
             static_cast<std::size_t>(x)] = true;
      }
    }
  }
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (!kept[i]) canvas.pixels[i] = kHoleColour;
  }
  return canvas;
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

  if (withPreview_ && skin_ && !skinRefused_) result_.preview = Compose(*skin_, normals);
  return std::move(result_);
}

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Severity::kError:
      return "error";
    case Severity::kWarning:
      return "warning";
    case Severity::kNote:
      return "note";
  }
  return "";
}

std::string Counted(int count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

// Whether a command-line argument is the option `name`, on either platform's kind of text.
bool Is(const fs::path& arg, std::string_view name) {
  const auto& text = arg.native();
  return text.size() == name.size() &&
         std::equal(text.begin(), text.end(), name.begin(),
                    [](auto a, char b) { return a == static_cast<decltype(a)>(b); });
}

constexpr std::string_view kUsage =
    "usage: skincheck [--preview FILE] FOLDER\n"
    "Checks the distribution folder FOLDER (menu.exe with img and ZENT) as the menu reads it.\n"
    "  --preview FILE  also writes a picture of the window as it will look (a 24-bit BMP;\n"
    "                  holes of the outline in magenta)\n"
    "Exit status: 0 the menu will work (warnings allowed), 1 it would fail, 2 bad usage, no such\n"
    "folder or the preview could not be written.\n";

bool WriteBmp(const fs::path& path, const Image& image) {
  const corpus::Bytes bytes = corpus::Write24(image.width, image.height, image.pixels);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int Result::Count(Severity severity) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.severity == severity; }));
}

Result CheckFolder(const fs::path& folder, bool withPreview) {
  return Checker(folder, withPreview).Run();
}

std::string FormatFinding(const Finding& finding) {
  return std::string(SeverityName(finding.severity)) + ": " + finding.file + ": " + finding.message;
}

std::string FormatSummary(const Result& result) {
  return Counted(result.Count(Severity::kError), "error") + ", " +
         Counted(result.Count(Severity::kWarning), "warning") + ", " +
         Counted(result.Count(Severity::kNote), "note") + ": " +
         (result.MenuWouldFail() ? "the menu would fail" : "the menu will work");
}

int Run(const std::vector<fs::path>& args, std::ostream& out, std::ostream& err) {
  std::optional<fs::path> folder;
  std::optional<fs::path> preview;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const fs::path& arg = args[i];
    const bool option = options && arg.native().size() > 1 && arg.native()[0] == '-';
    if (option && Is(arg, "--")) {
      options = false;
    } else if (option && (Is(arg, "--help") || Is(arg, "-h"))) {
      out << kUsage;
      return kExitMenuWorks;
    } else if (option && Is(arg, "--preview")) {
      if (i + 1 == args.size()) {
        err << "skincheck: --preview needs a file name\n" << kUsage;
        return kExitUsage;
      }
      preview = args[++i];
    } else if (option) {
      err << "skincheck: unknown option " << PathText(arg) << "\n" << kUsage;
      return kExitUsage;
    } else if (folder) {
      err << "skincheck: one folder only\n" << kUsage;
      return kExitUsage;
    } else {
      folder = arg;
    }
  }
  if (!folder) {
    err << kUsage;
    return kExitUsage;
  }
  std::error_code error;
  if (!fs::is_directory(*folder, error)) {
    err << "skincheck: " << PathText(*folder) << " is not a folder\n";
    return kExitUsage;
  }

  const Result result = CheckFolder(*folder, preview.has_value());
  for (const Finding& finding : result.findings) out << FormatFinding(finding) << "\n";
  int status = result.MenuWouldFail() ? kExitMenuFails : kExitMenuWorks;
  if (preview) {
    if (!result.preview) {
      out << "preview: not written, the menu cannot show its window\n";
    } else if (WriteBmp(*preview, *result.preview)) {
      out << "preview: " << PathText(*preview) << "\n";
    } else {
      err << "skincheck: could not write the preview to " << PathText(*preview) << "\n";
      status = kExitUsage;
    }
  }
  out << FormatSummary(result) << "\n";
  return status;
}

}  // namespace skincheck

// The preview page on disk: index.html with its style, script and data inside, and the pictures
// beside it as PNG files, so that a browser opens it from the file system with nothing to fetch.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <ostream>
#include <string_view>

#include "FolderNames.h"
#include "Page.h"

#if MENU_SKINCHECK_PNG
#include "PngEncode.h"
#endif

namespace skincheck {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemplate =
#include "PageTemplate.inc"
    ;

class Json {
 public:
  Json& Key(std::string_view key) {
    Separate();
    Quote(key);
    text_ += ':';
    fresh_ = true;
    return *this;
  }
  Json& String(std::string_view value) {
    Separate();
    Quote(value);
    return *this;
  }
  Json& Number(long long value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
  }
  Json& Bool(bool value) {
    Separate();
    text_ += value ? "true" : "false";
    return *this;
  }
  Json& Open(char bracket) {
    Separate();
    text_ += bracket;
    fresh_ = true;
    return *this;
  }
  Json& Close(char bracket) {
    text_ += bracket;
    fresh_ = false;
    return *this;
  }
  Json& Rect(const rt::PixelRect& r) {
    Open('{');
    Key("x").Number(r.left).Key("y").Number(r.top);
    Key("width").Number(r.Width()).Key("height").Number(r.Height());
    return Close('}');
  }
  std::string Text() && { return std::move(text_); }

 private:
  // A comma before every value but the first of an object or array, and none after a key.
  void Separate() {
    if (!fresh_) text_ += ',';
    fresh_ = false;
  }
  void Quote(std::string_view value) {
    text_ += '"';
    for (const char c : value) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += c;
      } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
        // Also the characters that would end or open markup inside the page's script element.
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        text_ += escaped;
      } else {
        text_ += c;
      }
    }
    text_ += '"';
  }

  std::string text_;
  bool fresh_ = true;
};

#if MENU_SKINCHECK_PNG
// The picture as PNG: 8-bit RGB, or RGBA where it has an alpha channel.
bool WritePng(const fs::path& path, const PagePicture& picture) {
  const Image& image = picture.image;
  const bool alpha = !picture.alpha.empty();
  const std::size_t channels = alpha ? 4 : 3;
  std::vector<std::uint8_t> pixels(image.pixels.size() * channels);
  std::uint8_t* out = pixels.data();
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const Rgb& c = image.pixels[i];
    *out++ = c.r;
    *out++ = c.g;
    *out++ = c.b;
    if (alpha) *out++ = picture.alpha[i];
  }
  // Rows unfiltered: the scaled pictures repeat whole pixels and rows, which zlib finds as they
  // are; choosing a filter for each row took half the page's time for a tenth less weight.
  const auto png = pngio::EncodeWithSystem(image.width, image.height, static_cast<int>(channels),
                                           pixels, pngio::Effort::Fast);
  if (!png) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  return static_cast<bool>(file.flush());
}
#endif

}  // namespace

bool CanWritePages() { return MENU_SKINCHECK_PNG != 0; }

std::string PageJson(const Page& page) {
  Json json;
  json.Open('{');
  json.Key("languages").Open('[');
  for (const std::string& language : page.languages) json.String(language);
  json.Close(']');
  json.Key("dpis").Open('[');
  for (const int dpi : kPageDpis) json.Number(dpi);
  json.Close(']');
  json.Key("windowShown").Bool(page.windowShown);
  json.Key("summary").String(page.summary);

  json.Key("pictures").Open('[');
  for (const PagePicture& picture : page.pictures) {
    json.Open('{').Key("file").String(picture.file).Key("source").String(picture.source);
    json.Key("width").Number(picture.image.width).Key("height").Number(picture.image.height);
    json.Close('}');
  }
  json.Close(']');

  json.Key("buttons").Open('[');
  for (const PageButton& button : page.buttons) {
    json.Open('{').Key("id").String(button.id).Key("order").Number(button.order);
    json.Key("stack").Number(button.stack);
    json.Key("place").Open('{').Key("x").Number(button.place.x).Key("y").Number(button.place.y);
    json.Close('}');
    json.Key("open").String(button.open).Key("open64").String(button.open64);
    json.Key("arguments")
        .String(button.arguments)
        .Key("workingFolder")
        .String(button.workingFolder);
    json.Key("show").String(button.show).Key("closesMenu").Bool(button.closesMenu);
    json.Key("whenInstalled").String(button.whenInstalled);
    json.Key("whenUnavailable").String(button.whenUnavailable);
    json.Key("files").Open('[');
    for (const std::string& file : button.files) json.String(file);
    json.Close(']').Close('}');
  }
  json.Close(']');

  json.Key("views").Open('[');
  for (const PageView& view : page.views) {
    json.Open('{').Key("language").String(view.language).Key("dpi").Number(view.dpi);
    json.Key("title").String(view.title).Key("skin").Number(view.skin);
    json.Key("width").Number(view.width).Key("height").Number(view.height);
    json.Key("strip").Rect(view.strip).Key("outline").String(view.outline);
    json.Key("buttons").Open('[');
    for (const PageButtonView& button : view.buttons) {
      json.Open('{').Key("id").String(button.id).Key("bounds").Rect(button.bounds);
      json.Key("label").String(button.label).Key("tooltip").String(button.tooltip);
      json.Key("tooltipInstalled").String(button.tooltipInstalled);
      json.Key("tooltipUnavailable").String(button.tooltipUnavailable);
      json.Key("looks").Open('{');
      for (const PageLook& look : button.looks) json.Key(look.look).Number(look.picture);
      json.Close('}').Close('}');
    }
    json.Close(']').Close('}');
  }
  json.Close(']');

  json.Key("findings").Open('[');
  for (const Finding& finding : page.findings) {
    json.Open('{').Key("severity").String(SeverityName(finding.severity));
    json.Key("file").String(finding.file).Key("message").String(finding.message).Close('}');
  }
  json.Close(']');
  json.Close('}');
  return std::move(json).Text();
}

bool WritePage(const fs::path& out, const Page& page, std::ostream& err) {
  std::error_code error;
  fs::create_directories(out, error);
  if (!fs::is_directory(out, error)) {
    err << "skincheck: cannot make the folder " << PathText(out) << "\n";
    return false;
  }
#if MENU_SKINCHECK_PNG
  for (const PagePicture& picture : page.pictures) {
    if (!WritePng(out / picture.file, picture)) {
      err << "skincheck: could not write " << PathText(out / picture.file) << "\n";
      return false;
    }
  }
#else
  if (!page.pictures.empty()) {
    err << "skincheck: this build writes no PNG pictures, so no page\n";
    return false;
  }
#endif
  constexpr std::string_view kData = "/*PAGE-DATA*/null";
  const std::size_t at = kTemplate.find(kData);
  std::ofstream file(out / "index.html", std::ios::binary | std::ios::trunc);
  file << kTemplate.substr(0, at) << PageJson(page) << kTemplate.substr(at + kData.size());
  if (!file.flush()) {
    err << "skincheck: could not write " << PathText(out / "index.html") << "\n";
    return false;
  }
  return true;
}

}  // namespace skincheck

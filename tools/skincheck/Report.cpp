// Findings on files: missing, a folder in a file's place, a name of another case, and what the
// menu's header check and decoding say about a picture.
#include "Report.h"

#include <algorithm>
#include <cwctype>
#include <span>

#include "BitmapCheck.h"
#include "Bytes.h"
#include "PngCheck.h"
#include "PngDecode.h"
#include "ReferenceDecoder.h"

namespace skincheck {

namespace fs = std::filesystem;

void Report::Add(Severity severity, const std::wstring& file, std::string message) {
  result_.findings.push_back({severity, Utf8(file), std::move(message)});
}

void Report::NoteCase(const std::wstring& name, const Located& located) {
  if (!located.caseDiffers) return;
  std::string actual = PathText(located.path.lexically_relative(folder_));
  std::replace(actual.begin(), actual.end(), '/', '\\');
  Add(Severity::kNote, name,
      "named " + actual + " in the folder; Windows finds it, as its file names ignore case");
}

std::optional<fs::path> Report::Find(const std::wstring& name, std::string_view notA,
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
  NoteCase(name, located);
  return located.path;
}

std::optional<Image> Report::ReadPicture(const std::wstring& name, bool keepPixels) {
  const std::optional<fs::path> path = Find(name, "a picture", "");
  if (!path) return std::nullopt;
  const std::optional<bmpio::Bytes> bytes = bmpio::ReadFile(*path);
  if (!bytes) {
    Add(Severity::kError, name, "cannot be read");
    return std::nullopt;
  }
  const std::span<const std::uint8_t> file(*bytes);
  // The menu reads a file by its name's extension, as here.
  std::wstring extension = name.substr(name.size() - std::min<std::size_t>(name.size(), 4));
  std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
  if (extension == L".png") return ReadPng(name, file);
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
  return Image{decoded.width, decoded.height, std::move(decoded.pixels), {}};
}

std::optional<Image> Report::ReadPng(const std::wstring& name, std::span<const std::uint8_t> file) {
  const rt::PngCheckResult check = rt::CheckPngFile(file);
  if (!check.ok) {
    Add(Severity::kError, name, "the menu refuses it: " + Utf8(check.reason));
    return std::nullopt;
  }
  // Decoded as the menu decodes it: a short palette filled up first.
  const std::vector<std::uint8_t> filled = rt::PngWithFullPalette(file, check);
  const pngio::Decoded decoded =
      pngio::DecodeWithSystem(filled.empty() ? file : std::span<const std::uint8_t>(filled));
  if (!decoded.ok) {
    Add(Severity::kError, name, "cannot be decoded: " + decoded.problem);
    return std::nullopt;
  }
  Image image{decoded.width, decoded.height, {}, {}};
  for (const pngio::Rgba& p : decoded.pixels) {
    image.pixels.push_back({p.r, p.g, p.b});
    image.alpha.push_back(p.a);
  }
  return image;
}

}  // namespace skincheck

// The command: its options, the report's lines and summary, the preview file and the exit status.
#include <algorithm>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "Bytes.h"
#include "FolderNames.h"
#include "Page.h"
#include "SkinCheck.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

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
    "usage: skincheck [--preview FILE [--scale S]] [--html OUT] FOLDER\n"
    "Checks the distribution folder FOLDER (menu.exe with img and ZENT) as the menu reads it.\n"
    "  --preview FILE  also writes a picture of the window as it will look, holes of the\n"
    "                  outline in magenta: a 24-bit BMP for a FILE ending in .bmp\n"
    "  --scale S       draws it at the display scale S, a number from 1 to 5 (1.5 for 150 %),\n"
    "                  with the pictures the menu takes at that scale\n"
    "  --html OUT      also writes a page to open in a browser, OUT/index.html with its\n"
    "                  pictures: the window in every language and at 100 to 200 %, its\n"
    "                  buttons' looks, keyboard order and targets, the findings, and buttons\n"
    "                  placed by dragging\n"
    "Exit status: 0 the menu will work (warnings allowed), 1 it would fail, 2 bad usage, no such\n"
    "folder or the preview could not be written.\n";

bool IsDigits(std::string_view text) {
  return !text.empty() && text.size() <= 6 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool WriteBmp(const fs::path& path, const Image& image) {
  try {
    bmpio::WriteFile(path, bmpio::Write24(image.width, image.height, image.pixels));
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

// The preview's formats, by the file name's extension; a format without a writer is known but
// cannot be written by this build.
struct PreviewFormat {
  std::string_view extension;  // lower case, with its dot
  std::string_view name;
  bool (*write)(const fs::path& path, const Image& image);
};
constexpr PreviewFormat kPreviewFormats[] = {{".bmp", "BMP", WriteBmp}, {".png", "PNG", nullptr}};

// The writer for `file`, or none with the reason told on `err`.
std::optional<PreviewFormat> PreviewFormatOf(const fs::path& file, std::ostream& err) {
  std::string extension = PathText(file.extension());
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  std::string writable;
  const PreviewFormat* named = nullptr;
  for (const PreviewFormat& format : kPreviewFormats) {
    if (format.extension == extension) named = &format;
    if (format.write) writable += (writable.empty() ? "" : " or ") + std::string(format.extension);
  }
  if (named && named->write) return *named;
  if (named) {
    err << "skincheck: --preview cannot write " << named->name << " files in this build";
  } else {
    err << "skincheck: --preview writes the format its file name says, and "
        << PathText(file.filename()) << " names none it writes";
  }
  err << "; give a file name ending in " << writable << "\n";
  return std::nullopt;
}

}  // namespace

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

std::optional<int> ScaleDpi(std::string_view text) {
  // The number as a fraction of whole numbers, so that 1.25 is exactly 120 DPI on every platform.
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  if (!IsDigits(whole) || (dot != std::string_view::npos && !IsDigits(fraction))) {
    return std::nullopt;
  }
  long long numerator = 0;
  long long denominator = 1;
  for (const char c : whole) numerator = numerator * 10 + (c - '0');
  for (const char c : fraction) {
    numerator = numerator * 10 + (c - '0');
    denominator *= 10;
  }
  if (numerator < denominator || numerator > 5 * denominator) return std::nullopt;
  return static_cast<int>((2 * numerator * rt::kDesignDpi + denominator) / (2 * denominator));
}

int Result::Count(Severity severity) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.severity == severity; }));
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
  std::optional<fs::path> html;
  std::optional<int> dpi;
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
    } else if (option && Is(arg, "--html")) {
      if (i + 1 == args.size()) {
        err << "skincheck: --html needs a folder to write the page into\n" << kUsage;
        return kExitUsage;
      }
      html = args[++i];
    } else if (option && Is(arg, "--scale")) {
      const std::string text = i + 1 < args.size() ? PathText(args[++i]) : std::string();
      dpi = ScaleDpi(text);
      if (!dpi) {
        err << "skincheck: --scale needs a number from 1 to 5 (1.5 for 150 %), not \"" << text
            << "\"\n"
            << kUsage;
        return kExitUsage;
      }
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
  if (dpi && !preview) {
    err << "skincheck: --scale is the preview's scale; it needs --preview FILE\n" << kUsage;
    return kExitUsage;
  }
  std::optional<PreviewFormat> format;
  if (preview && !(format = PreviewFormatOf(*preview, err))) return kExitUsage;
  if (html && !CanWritePages()) {
    err << "skincheck: --html writes PNG pictures, which this build cannot write; use the "
           "Linux build\n";
    return kExitUsage;
  }
  std::error_code error;
  if (!fs::is_directory(*folder, error)) {
    err << "skincheck: " << PathText(*folder) << " is not a folder\n";
    return kExitUsage;
  }

  const Result result = CheckFolder(*folder, preview.has_value(), dpi.value_or(rt::kDesignDpi));
  for (const Finding& finding : result.findings) out << FormatFinding(finding) << "\n";
  int status = result.MenuWouldFail() ? kExitMenuFails : kExitMenuWorks;
  if (preview) {
    if (!result.preview) {
      out << "preview: not written, the menu cannot show its window\n";
    } else if (format->write(*preview, *result.preview)) {
      out << "preview: " << PathText(*preview);
      if (dpi) out << ", at " << rt::ScalePercent(*dpi) << " %";
      out << "\n";
    } else {
      err << "skincheck: could not write the preview to " << PathText(*preview) << "\n";
      status = kExitUsage;
    }
  }
  if (html) {
    if (WritePage(*html, BuildPage(*folder, result), err)) {
      out << "page: " << PathText(*html / "index.html") << "\n";
    } else {
      status = kExitUsage;
    }
  }
  out << FormatSummary(result) << "\n";
  return status;
}

}  // namespace skincheck

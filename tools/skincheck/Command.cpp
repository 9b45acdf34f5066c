// The command: its options, the report's lines and summary, the preview file and the exit status.
#include <algorithm>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "Bytes.h"
#include "FolderNames.h"
#include "SkinCheck.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

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
  try {
    bmpio::WriteFile(path, bmpio::Write24(image.width, image.height, image.pixels));
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace

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

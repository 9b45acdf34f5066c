// skincheck: reads a distribution folder (menu.exe with img\ and ZENT\) the way the menu will, and
// reports every file that would stop it, every picture that does not fit the window's layout, what
// its menu.ini leaves to chance, and draws what the window will look like at a display scale.
// Portable: the same code runs on Linux and on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BmpWriter.h"
#include "MenuIni.h"
#include "Scale.h"

namespace skincheck {

using bmpio::Rgb;

// An error stops the menu (or a button); a warning is a fault the user may see; a note is a
// difference from the design that does no harm by itself.
enum class Severity { kError, kWarning, kNote };

// Texts are UTF-8.
struct Finding {
  Severity severity = Severity::kError;
  std::string file;  // as the menu names it inside the folder: img\bmp2-3.bmp, ZENT\TEV_setup.exe
  std::string message;
};

// A picture, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  std::vector<std::uint8_t> alpha;  // a PNG file's, 0 transparent; empty for a bitmap
  const Rgb& At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

struct Result {
  std::vector<Finding> findings;
  // The window as it will look, when asked for and the skin can be shown.
  std::optional<Image> preview;
  // menu.ini's settings as the menu takes them (the default without a file); none where the menu
  // refuses the file and so shows no window.
  std::optional<menu::MenuSettings> settings;

  int Count(Severity severity) const;
  bool MenuWouldFail() const { return Count(Severity::kError) > 0; }
};

// The skin's designed size; the window takes the size of whatever skin it gets.
inline constexpr int kDesignedSkinWidth = 800;
inline constexpr int kDesignedSkinHeight = 600;

// The colour of the outline's holes in the preview, where the desktop shows through.
inline constexpr Rgb kHoleColour{255, 0, 255};

// Checks `folder`: its menu.ini, the skin and the three looks of every picture button with the
// files drawn for scales beside them, what the buttons open and the installers. The preview shows
// the window at `previewDpi`.
Result CheckFolder(const std::filesystem::path& folder, bool withPreview,
                   int previewDpi = rt::kDesignDpi);

// The dots per inch of a display scale written as a number from 1 to 5 ("1.5": 150 %, 144 DPI,
// rounded to a whole number of dots), or none for any other text.
std::optional<int> ScaleDpi(std::string_view text);

// "error", "warning" or "note".
std::string_view SeverityName(Severity severity);
// "error: img\bmp2-3.bmp: missing"
std::string FormatFinding(const Finding& finding);
// "1 error, 2 warnings, 0 notes: the menu would fail"
std::string FormatSummary(const Result& result);

// Exit statuses of the command.
inline constexpr int kExitMenuWorks = 0;  // no errors; warnings and notes allowed
inline constexpr int kExitMenuFails = 1;  // at least one error
inline constexpr int kExitUsage = 2;      // bad command line, no such folder, preview not written

// The whole command: `args` without the program's name. The report goes to `out`, usage problems
// to `err`; returns the exit status.
int Run(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err);

}  // namespace skincheck

// The preview page: what `skincheck --html` shows of a folder, as data. For every language the
// disc's menu.ini speaks and every display scale the page offers, the window as the menu lays it
// out there (the skin with its holes, the strip along the top, every button in its place with the
// picture of each of its looks) and the texts the menu gives; the buttons' keyboard order, what
// each opens and the findings. The pictures are made by the menu's own choice of files and scaling.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Geometry.h"
#include "SkinCheck.h"

namespace skincheck {

// The display scales the page offers, in dots per inch: 100, 125, 150 and 200 %.
inline constexpr int kPageDpis[] = {96, 120, 144, 192};

// A picture the page shows, as a file beside the page.
struct PagePicture {
  std::string file;    // the page's file, relative to it: "3_img_bmp1-2.150.png"
  std::string source;  // the disc's file it is made from, as the menu names it: "img\bmp1-2.bmp"
  Image image;
  // Each pixel's opacity, 0 clear to 255 opaque: the skin's holes are clear. Empty: opaque.
  std::vector<std::uint8_t> alpha;
};

// One look of a button and the picture it shows (an index into Page::pictures; -1: none, its file
// cannot be shown). Looks are named as the page's script names its states.
struct PageLook {
  std::string look;  // "normal", "hover", "pressed", "installed", "unavailable"
  int picture = -1;
};

// A button as shown in one view.
struct PageButtonView {
  std::string id;        // its section: "Button1", "Close"
  rt::PixelRect bounds;  // in the window's pixels at the view's scale
  std::vector<PageLook> looks;
  std::string label;    // the screen readers' name in the view's language
  std::string tooltip;  // empty: none
  // The tooltips where its product is installed, or cannot run here; empty: the tooltip.
  std::string tooltipInstalled;
  std::string tooltipUnavailable;
};

// The window in one language at one scale.
struct PageView {
  std::string language;  // a tag of menu.ini's, or empty for a user of no language it names
  int dpi = rt::kDesignDpi;
  int width = 0;
  int height = 0;
  int skin = -1;  // index into Page::pictures
  rt::PixelRect strip;
  std::string outline;                  // the pixels the window keeps, as an SVG path of rectangles
  std::string title;                    // the window's name
  std::vector<PageButtonView> buttons;  // in keyboard order
};

// A button whatever the language and scale: where it lies and what it does.
struct PageButton {
  std::string id;
  int order = 0;                   // its place in the keyboard's order, from 1
  int stack = 0;                   // its member of cmd: the form stacks a higher one over a lower
  menu::ButtonPlace place;         // its top-left corner in the design's pixels at 100 %
  std::vector<std::string> files;  // every picture file of it the menu may read
  std::string open;                // empty: it opens nothing
  std::string open64;              // empty: as `open`
  std::string arguments;
  std::string workingFolder;
  std::string show;        // minimized, normal, maximized
  bool closesMenu = true;  // after a start (the close button always closes)
  // What it does where its product is installed ("mark", "disable", "hide"), and where it cannot
  // run ("disable", "hide"); empty: it has no such condition.
  std::string whenInstalled;
  std::string whenUnavailable;
};

struct Page {
  std::vector<std::string> languages;  // "" first, then menu.ini's tags in the file's order
  std::vector<PageButton> buttons;     // in keyboard order
  std::vector<PageView> views;         // each language at each scale
  std::vector<PagePicture> pictures;
  std::vector<Finding> findings;
  std::string summary;
  bool windowShown = false;  // false: the menu stops before its window appears
};

// The page of `folder`, checked as `result` says.
Page BuildPage(const std::filesystem::path& folder, const Result& result);

// The page's data as JSON, with every "<" escaped so that it can stand inside a script element.
std::string PageJson(const Page& page);

// Writes index.html and the pictures into `out`, made if needed; false with the reason on `err`.
bool WritePage(const std::filesystem::path& out, const Page& page, std::ostream& err);

// Whether this build writes pages: their pictures need the PNG encoder.
bool CanWritePages();

}  // namespace skincheck

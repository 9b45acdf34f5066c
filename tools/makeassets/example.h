// The example disc: six products on a skin of its own size, with English and German pictures,
// laid out by its menu.ini.
#pragma once

#include <array>
#include <string_view>

#include "art.h"

namespace makeassets {

inline constexpr int kExampleWidth = 760;
inline constexpr int kExampleHeight = 560;
inline constexpr int kExampleButtonWidth = 180;
inline constexpr int kExampleButtonHeight = 48;
inline constexpr int kExampleCloseWidth = 96;
inline constexpr int kExampleCloseHeight = 30;

struct ExampleButton {
  std::string_view file;  // the base of its picture files in img\ and img\de\ (menu.ini's Pictures)
  std::string_view english;  // painted into the picture
  std::string_view german;
  Rgb hue;
};

inline constexpr std::array<ExampleButton, 6> kExampleButtons{{
    {"tev", "INSTALL TEV", "TEV INSTALLIEREN", {38, 112, 214}},
    {"piruk", "INSTALL PIRUK", "PIRUK INSTALLIEREN", {222, 122, 38}},
    {"dasef", "INSTALL DASEF", "DASEF INSTALLIEREN", {132, 74, 200}},
    {"kova", "INSTALL KOVA", "KOVA INSTALLIEREN", {40, 160, 70}},
    {"lima", "INSTALL LIMA", "LIMA INSTALLIEREN", {200, 50, 90}},
    {"nora", "INSTALL NORA", "NORA INSTALLIEREN", {20, 150, 170}},
}};

// The colour German pictures carry in a bar along their left edge, so that either set is known
// on the screen.
inline constexpr Rgb kGermanMark{250, 204, 0};

// `german` paints the German title.
Image paint_example_skin(bool german);
// A product button in a look; `german` paints its German text and mark.
Image paint_example_button(const ExampleButton& button, Look look, bool german);
Image paint_example_close(Look look, bool german);

}  // namespace makeassets

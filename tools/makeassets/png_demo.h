// The PNG demo disc's pictures: the demo's design with its window a rounded panel whose edges are
// anti-aliased in the alpha channel, inset in the skin, with a soft shadow around it; the buttons
// carry only what they draw, their soft edges and glows in alpha, for the menu to blend over the
// skin.
#pragma once

#include <vector>

#include "Bytes.h"
#include "PngWriter.h"
#include "art.h"

namespace makeassets {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<pngio::Rgba> pixels;  // top row first; alpha 0 pixels are (0, 0, 0, 0)
};

// The visible window inside the 800 x 600 skin; the margin around it holds the shadow and its
// outermost pixels are fully transparent.
inline constexpr Place kPngPanel{10, 8, 780, 580};
inline constexpr double kPngPanelRadius = 28;

RgbaImage paint_png_skin();
RgbaImage paint_png_installer_button(int product, Look look);
RgbaImage paint_png_close_button(Look look);

// 8-bit RGBA PNG at zlib's level 9, each row with the filter that suits it best.
bmpio::Bytes encode_png(const RgbaImage& image);

}  // namespace makeassets

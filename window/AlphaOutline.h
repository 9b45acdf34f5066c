// The outline of a skin drawn with an alpha channel (a PNG skin): every pixel of alpha 0 is a hole
// in the window, wherever it lies; the black-corner rule is for skins without alpha.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Geometry.h"
#include "Picture.h"

namespace menu {

// The outline of `skin` as non-overlapping rectangles sorted top to bottom, then left to right,
// rows with the same runs merged into one band, as the black-corner outline is given; nothing
// where the skin has no alpha channel. Where `softAlpha` is given it receives the alpha of every
// pixel, top row first, if any pixel is half transparent (neither 0 nor 255), and is left empty
// otherwise: such a skin needs per-pixel alpha, one of holes and opaque pixels only the outline.
std::optional<std::vector<rt::PixelRect>> AlphaOutlineRects(
    const rt::PictureData& skin, std::vector<std::uint8_t>* softAlpha = nullptr);

}  // namespace menu

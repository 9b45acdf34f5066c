// The outline of a skin drawn with an alpha channel (a PNG skin): every pixel of alpha 0 is a hole
// in the window, wherever it lies; the black-corner rule is for skins without alpha.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Geometry.h"
#include "Picture.h"

namespace menu {

// A skin's half-transparent pixels, which need per-pixel alpha to be drawn.
struct SoftAlpha {
  // The alpha of every pixel, top row first; empty where no pixel lies between 0 and 255.
  std::vector<std::uint8_t> alpha;
  // The whole outline, and that of the opaque pixels alone; empty with `alpha`.
  std::vector<rt::PixelRect> outline;
  std::vector<rt::PixelRect> opaque;
};

// The outline of `skin` as non-overlapping rectangles sorted top to bottom, then left to right,
// rows with the same runs merged into one band, as the black-corner outline is given; nothing
// where the skin has no alpha channel. Where `soft` is given it receives the skin's
// half-transparent pixels: a skin of holes and opaque pixels only needs nothing but the outline.
std::optional<std::vector<rt::PixelRect>> AlphaOutlineRects(const rt::PictureData& skin,
                                                            SoftAlpha* soft = nullptr);

// Whether any pixel inside `area` is half transparent in `alpha`, a `width` pixels wide skin's.
bool HasSoftPixels(const std::vector<std::uint8_t>& alpha, int width, const rt::PixelRect& area);

}  // namespace menu

// Pictures made larger or smaller by the program, pixel by pixel, for a display scale.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace rt {

// The pixels of `source` scaled by numerator / denominator with the nearest-neighbour rule: the
// new picture is ceil(size * numerator / denominator) large, and its pixel x shows the source's
// pixel floor(x * denominator / numerator). Enlarged, every source pixel becomes a block of whole
// pixels of its own colour: pixel art and the edges of text stay sharp, and a pure black pixel
// stays pure black, so a skin's outline follows it exactly. Colours are 0x00BBGGRR, top row
// first. Each pixel keeps its alpha where the source has an alpha channel.
struct ScaledPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint8_t> alpha;  // empty for a source without alpha
};
ScaledPixels ScaleNearest(const PictureData& source, int numerator, int denominator);

// Whether `picture` has an alpha channel.
bool HasAlpha(const PictureData& picture);

// `top` drawn over `under` as the eye sees it: each of top's pixels weighted by its alpha, what
// lies under it by the rest (out = (top * a + under * (255 - a)) / 255, rounded, per channel),
// top's top-left corner at (x, y) of `under`. The result is top's size and opaque; where top
// reaches past `under`, black lies under it. Empty (no pixels) where top is opaque throughout.
ScaledPixels BlendOver(const PictureData& top, const PictureData& under, int x, int y);

}  // namespace rt

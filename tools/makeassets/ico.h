// Windows .ico files holding 16-colour (4 bits per pixel) images with a transparency mask.
#pragma once

#include <array>
#include <vector>

#include "Bytes.h"
#include "image.h"

namespace makeassets {

using bmpio::Bytes;

struct IconImage {
  Image pixels;
  std::vector<bool> opaque;  // row-major, top row first, one flag per pixel
};

// Palette entry 0 is written under transparent pixels, so it should be black.
using IconPalette = std::array<Rgb, 16>;

// Each opaque pixel takes the nearest palette colour. Images must be square, at most 255 px.
Bytes encode_ico4(const std::vector<IconImage>& images, const IconPalette& palette);

}  // namespace makeassets

// The design-time pictures as palette indices: few colours, so that they compress into long runs.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace makeassets {

// Palette indices, stored top row first like Image.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;
};

// Reduces the image to at most max_colours palette entries by median cut. Pure black
// (0,0,0) is kept exact as entry 0 and no other colour maps to it, so black-keyed areas
// survive the reduction unchanged.
IndexedImage quantize(const Image& image, int max_colours);

}  // namespace makeassets

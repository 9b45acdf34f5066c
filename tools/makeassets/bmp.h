// Windows bitmap files: 24-bit uncompressed and 8-bit palettized with RLE8 compression.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"
#include "image.h"

namespace makeassets {

// Palette indices, stored top row first like Image.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;
  std::uint8_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// BITMAPFILEHEADER + BITMAPINFOHEADER, BI_RGB, bottom-up rows padded to four bytes.
Bytes encode_bmp24(const Image& image);

// Reduces the image to at most max_colours palette entries by median cut. Pure black
// (0,0,0) is kept exact as entry 0 and no other colour maps to it, so black-keyed areas
// survive the reduction unchanged.
IndexedImage quantize(const Image& image, int max_colours);

// RLE8 pixel stream, bottom row first: encoded runs, absolute runs padded to an even
// length, end-of-line after each row and end-of-bitmap at the end.
Bytes encode_rle8(const IndexedImage& image);
// Inverse of encode_rle8 for streams of the same shape; throws on malformed data.
std::vector<std::uint8_t> decode_rle8(const Bytes& data, int width, int height);

// BITMAPFILEHEADER + BITMAPINFOHEADER (BI_RLE8, bottom-up) + palette + RLE8 data.
Bytes encode_bmp_rle8(const IndexedImage& image);

}  // namespace makeassets

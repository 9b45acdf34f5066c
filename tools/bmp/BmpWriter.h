// Windows bitmap files written from their fields: any header form, palette, masks, pixels and
// colour profile, the fields free to lie for files that must be refused; and the usual kinds,
// 24-bit rows and RLE8, made from pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "BitmapFormat.h"
#include "Bytes.h"

namespace bmpio {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Everything a bitmap file holds; Write() lays it out with the offsets and sizes that follow from
// it unless they are given.
struct Bitmap {
  // 12 (OS/2 core header), 40 (info header) and up: longer headers hold the colour masks, from 108
  // on the colour space, at 124 the intent and profile; other sizes are padded or cut to length.
  std::uint32_t headerSize = rt::bmp::kInfoHeaderSize;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative for a top-down file
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = rt::bmp::kBiRgb;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<Rgb> palette;          // written out in full, triples after a core header
  std::vector<std::uint32_t> masks;  // after a 40-byte header, else inside the header
  std::uint32_t colourSpace = rt::bmp::kLcsSrgb;
  Bytes pixels;
  Bytes profile;                               // after the pixels
  std::optional<std::uint32_t> profileOffset;  // from the V5 header's start; default: the profile
  std::optional<std::uint32_t> profileSize;    // default: the profile's length
  std::optional<std::uint32_t> pixelOffset;    // default: right after the palette

  Bytes Write() const;
};

// The length of one row of uncompressed pixels as a size (rt::bmp::RowStride for int widths).
std::size_t RowBytes(int width, int bits);

// A well-formed 24-bit picture of `colours` (top row first, `width` a row), bottom-up unless
// `topDown`; its image size is left 0, as the format allows for uncompressed pixels.
Bitmap Make24(int width, int height, std::span<const Rgb> colours, bool topDown = false);
Bytes Write24(int width, int height, std::span<const Rgb> colours, bool topDown = false);

// The RLE8 stream of palette `indices` (top row first), bottom row first: encoded runs of two or
// more, absolute runs of three or more padded to an even length, single pixels between them as
// runs of one; an end of line after each row and the end-of-bitmap marker at the end.
Bytes EncodeRle8(std::span<const std::uint8_t> indices, int width, int height);
// A bottom-up RLE8 picture with its palette, every entry counted in the header.
Bitmap MakeRle8(int width, int height, std::vector<Rgb> palette,
                std::span<const std::uint8_t> indices);

}  // namespace bmpio

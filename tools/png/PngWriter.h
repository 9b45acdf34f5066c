// A PNG writer for the tools and tests: any colour type, bit depth and interlacing, rows filtered
// with every filter type in turn and stored in uncompressed deflate blocks, so that the corpus
// can also lay out files that break the format on purpose. It also says which 8-bit RGBA pixels
// a decoder must give for the picture written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"
#include "Picture.h"

namespace pngio {

using bmpio::Bytes;

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct Image {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t colourType = 6;
  std::uint8_t bitDepth = 8;
  bool interlaced = false;
  // The samples of each pixel in the colour type's order (grey; grey, alpha; red, green, blue;
  // ..., alpha; or a palette index), top row first, each within the bit depth.
  std::vector<std::uint16_t> samples;
  std::vector<Rgba> palette;  // a PLTE entry for each; a tRNS chunk where any alpha is below 255
  // Grey or RGB: the one colour that is transparent, as samples; empty for none.
  std::vector<std::uint16_t> transparent;
};

// One chunk: its length, type, data and CRC.
Bytes Chunk(std::string_view type, const Bytes& data);

// A file as its list of chunks, so that a case can drop, add, move or change one before writing.
struct Chunks {
  struct Entry {
    std::string type;
    Bytes data;
  };
  std::vector<Entry> list;
  // The signature and every chunk with its length and CRC.
  Bytes Write() const;
  // The first chunk of the type; it must be there.
  Entry& Find(std::string_view type);
};
// The IHDR chunk's 13 bytes of data for the image.
Bytes HeaderData(const Image& image);
// The rows of every pass, each behind its filter byte, as the compressed data holds them.
Bytes FilteredRows(const Image& image);
// A zlib stream of `raw` in uncompressed blocks of at most `block` bytes.
Bytes StoredZlib(const Bytes& raw, std::size_t block = 65535);
// The file's chunks: IHDR, PLTE and tRNS where needed, the zlib stream (the image's own where
// none is given) cut into IDAT chunks of at most `idatSize` bytes, and IEND.
Chunks Layout(const Image& image, std::size_t idatSize = 8192, const Bytes* zlib = nullptr);
Bytes Write(const Image& image, std::size_t idatSize = 8192);

// The pixels every decoder gives for the image as 8-bit RGBA, top row first: low bit depths
// scaled up by repeating their bits, 16-bit samples cut to their high byte, and the palette's or
// the transparent colour's alpha applied.
std::vector<Rgba> ExpectedPixels(const Image& image);

// The pixels of `picture`, colours and alpha, that differ from `expected` (top row first, of the
// picture's size); every pixel where the picture has no alpha.
std::size_t PixelsDiffering(const rt::PictureData& picture, const std::vector<Rgba>& expected);

}  // namespace pngio

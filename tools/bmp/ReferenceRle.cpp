// The reference decoder's RLE half: the stream as the format reads it, and as Wine 8 reads it.
#include "ReferenceDecoding.h"

namespace bmpio::reference {

using namespace rt::bmp;

// Reads commands until the end-of-bitmap marker or the end of the header's image size, when it
// names one. Some decoders stop after the last row; reading on finds more.
void DecodeRle(const Reader& in, const Header& h, std::uint64_t offset,
               const std::vector<Rgb>& palette, Canvas& canvas) {
  const bool rle4 = h.compression == kBiRle4;
  const std::uint64_t end = h.imageSize != 0 ? offset + h.imageSize : UINT64_MAX;
  std::uint64_t at = offset;
  std::uint64_t x = 0;
  std::uint64_t y = 0;  // from the bottom
  auto put = [&](std::uint32_t index) {
    if (y >= h.height) {
      throw Outside{"writes pixel " + std::to_string(x) + " of row " + std::to_string(y) +
                    " from the bottom, above the top of a picture of " + std::to_string(h.height) +
                    " rows"};
    }
    canvas.Set(x, h.height - 1 - y, Lookup(palette, index));
    ++x;
  };
  while (at + 1 < end) {
    const std::uint32_t count = in.U8(at);
    const std::uint32_t value = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (std::uint32_t i = 0; i < count; ++i) {
        put(rle4 ? (i % 2 == 0 ? value >> 4u : value & 0xFu) : value);
      }
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += in.U8(at);
      y += in.U8(at + 1);
      at += 2;
      if (x > h.width || y > h.height) {
        throw Outside{"moves to " + std::to_string(x) + "," + std::to_string(y) +
                      " outside the picture"};
      }
    } else {
      for (std::uint32_t i = 0; i < value; ++i) {
        const std::uint32_t byte = in.U8(at + (rle4 ? i / 2 : i));
        put(rle4 ? (i % 2 == 0 ? byte >> 4u : byte & 0xFu) : byte);
      }
      const std::uint64_t bytes = rle4 ? (value + 1u) / 2u : value;
      at += (bytes + 1u) & ~std::uint64_t{1};
    }
  }
}

// The RLE stream as Wine 8's decoder walks it: up to the header's image size (a size of 0 draws
// nothing), runs cut at the row's end, and an absolute run of 255 pixels of RLE8 followed by no
// skip at all (its byte count wraps to 0), so that its pixels are read again as commands. Only the
// reads are followed; that decoder keeps its writes inside the picture itself.
void WalkRleAsWine(const Reader& in, const Header& h, std::uint64_t offset) {
  const std::uint64_t size = h.imageSize;
  std::uint64_t i = 0;
  std::uint64_t x = 0;
  std::uint64_t rowsLeft = h.height;
  while (i + 1 < size) {
    std::uint64_t count = in.U8(offset + i);
    const std::uint32_t value = in.U8(offset + i + 1);
    i += 2;
    if (count > 0) {
      x += count < h.width - x ? count : h.width - x;
    } else if (value == 0) {
      x = 0;
      if (--rowsLeft == 0) return;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (i + 1 >= size) return;
      x += in.U8(offset + i);
      if (x > h.width) x = h.width;
      const std::uint64_t up = in.U8(offset + i + 1);
      if (up >= rowsLeft) return;
      rowsLeft -= up;
      i += 2;
    } else {
      count = value;
      const std::uint64_t bytes = (count * h.bits + 7) / 8;
      if (bytes > size - i) return;
      const std::uint64_t skip = ((bytes + 1) & ~std::uint64_t{1}) & 0xFFu;
      if (count > h.width - x) count = h.width - x;
      const std::uint64_t read = (count * h.bits + 7) / 8;
      for (std::uint64_t k = 0; k < read; ++k) in.U8(offset + i + k);
      x += count;
      i += skip;
    }
  }
}

}  // namespace bmpio::reference

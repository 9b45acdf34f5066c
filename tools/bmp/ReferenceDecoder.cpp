// The reference decoder: header fields are taken at face value, as the system decoder takes them
// (the pixels at the file header's offset, the palette right after the info header and its masks,
// RLE streams read up to their end-of-bitmap marker or the header's image size, and once more the
// way Wine 8 reads them), and every access is checked instead of trusted.
#include "ReferenceDecoder.h"

#include <bit>

#include "ReferenceDecoding.h"

namespace bmpio {

namespace {

using namespace rt::bmp;
using namespace reference;

// The fields of the info header (not the core header), from the start of the file.
constexpr std::uint64_t kInfo = kFileHeaderSize;

// One channel of a bit-field pixel, scaled to 8 bits.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint64_t field = mask >> shift;
  const std::uint64_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>(value * 255u / field);
}

Header ReadHeader(const Reader& in) {
  Header h;
  h.size = in.U32(kInfo);
  h.core = h.size == kCoreHeaderSize;
  if (h.core) {
    h.width = in.U16(kInfo + 4);
    h.height = in.U16(kInfo + 6);
    h.bits = in.U16(kInfo + 10);
    return h;
  }
  const auto width = static_cast<std::int32_t>(in.U32(kInfo + 4));
  const auto height = static_cast<std::int32_t>(in.U32(kInfo + 8));
  h.width = static_cast<std::uint64_t>(width < 0 ? -static_cast<std::int64_t>(width) : width);
  h.topDown = height < 0;
  h.height = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
  h.bits = in.U16(kInfo + 14);
  h.compression = in.U32(kInfo + 16);
  h.imageSize = in.U32(kInfo + 20);
  h.coloursUsed = in.U32(kInfo + 32);
  if (h.compression == kBiBitfields) {
    // Right after a 40-byte header, or inside a longer one at the same place.
    for (std::uint32_t i = 0; i < 3; ++i) h.masks[i] = in.U32(kInfo + kMasksOffset + 4 * i);
  } else if (h.bits == 16) {
    h.masks[0] = 0x7C00u;
    h.masks[1] = 0x03E0u;
    h.masks[2] = 0x001Fu;
  } else if (h.bits == 32) {
    h.masks[0] = 0x00FF0000u;
    h.masks[1] = 0x0000FF00u;
    h.masks[2] = 0x000000FFu;
  }
  if (h.size >= kV5HeaderSize) {
    // A decoder that manages colours reads the profile the V5 header points at.
    const std::uint32_t space = in.U32(kInfo + kColourSpaceOffset);
    if (space == kProfileEmbedded || space == kProfileLinked) {
      const std::uint64_t at = kInfo + in.U32(kInfo + kProfileDataOffset);
      const std::uint64_t length = in.U32(kInfo + kProfileSizeOffset);
      for (std::uint64_t i = 0; i < length; ++i) in.U8(at + i);
    }
  }
  return h;
}

std::vector<Rgb> ReadPalette(const Reader& in, const Header& h) {
  // The header's own count, as large as it claims, into a colour table of 256 entries.
  std::uint64_t count = h.bits <= 8 ? 1ull << h.bits : 0;
  if (!h.core && h.coloursUsed != 0) count = h.coloursUsed;
  if (count > 256) {
    throw Outside{"copies " + std::to_string(count) + " colours into a table of 256"};
  }
  std::uint64_t at = kInfo + h.size;
  if (!h.core && h.size == kInfoHeaderSize && h.compression == kBiBitfields) at += 12;
  const std::uint64_t entry = h.core ? 3 : 4;
  std::vector<Rgb> palette;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t p = at + i * entry;
    palette.push_back(Rgb{in.U8(p + 2), in.U8(p + 1), in.U8(p)});
  }
  return palette;
}

void DecodeRows(const Reader& in, const Header& h, std::uint64_t offset,
                const std::vector<Rgb>& palette, Canvas& canvas) {
  const std::uint64_t stride = RowStride(h.width, h.bits);
  for (std::uint64_t line = 0; line < h.height; ++line) {
    const std::uint64_t row = h.topDown ? line : h.height - 1 - line;
    const std::uint64_t start = offset + line * stride;
    for (std::uint64_t x = 0; x < h.width; ++x) {
      Rgb colour;
      if (h.bits <= 8) {
        const std::uint64_t bit = x * h.bits;
        const std::uint32_t byte = in.U8(start + bit / 8);
        const auto shift = static_cast<std::uint32_t>(8 - h.bits - bit % 8);
        colour = Lookup(palette, (byte >> shift) & ((1u << h.bits) - 1u));
      } else if (h.bits == 24) {
        const std::uint64_t p = start + x * 3;
        colour = Rgb{in.U8(p + 2), in.U8(p + 1), in.U8(p)};
      } else {
        const std::uint32_t pixel = h.bits == 16 ? in.U16(start + x * 2) : in.U32(start + x * 4);
        colour =
            Rgb{Channel(pixel, h.masks[0]), Channel(pixel, h.masks[1]), Channel(pixel, h.masks[2])};
      }
      canvas.Set(x, row, colour);
    }
  }
}

}  // namespace

Decoded DecodeTrusting(std::span<const std::uint8_t> file, bool keepPixels) {
  Decoded result;
  const Reader in(file);
  try {
    const Header h = ReadHeader(in);
    const std::vector<Rgb> palette = ReadPalette(in, h);
    std::uint64_t offset = in.U32(10);
    if (offset == 0) {
      // No offset: the pixels follow the palette.
      offset = kInfo + h.size +
               (h.size == kInfoHeaderSize && h.compression == kBiBitfields ? 12 : 0) +
               palette.size() * (h.core ? 3u : 4u);
    }
    result.width = static_cast<int>(h.width);
    result.height = static_cast<int>(h.height);
    Canvas canvas(h.width, h.height, keepPixels);
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
      DecodeRle(in, h, offset, palette, canvas);
      try {
        WalkRleAsWine(in, h, offset);
      } catch (Outside& outside) {
        outside.problem = "as Wine 8 reads the RLE stream, " + outside.problem;
        throw;
      }
    } else {
      DecodeRows(in, h, offset, palette, canvas);
    }
    result.pixels = canvas.Take();
    result.ok = true;
  } catch (const Outside& outside) {
    result.problem = outside.problem;
  }
  return result;
}

}  // namespace bmpio

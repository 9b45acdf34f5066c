// The Windows bitmap file format: header sizes, compression codes, colour-space tags, the
// little-endian fields and the row stride, shared by the header check, the picture loading, and
// the tools' writer and reference decoder (which share these and never the check's logic).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rt::bmp {

// BITMAPFILEHEADER, in front of every info header.
inline constexpr std::uint32_t kFileHeaderSize = 14;

// The info header's own size tells its form.
inline constexpr std::uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER (OS/2)
inline constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t kV2HeaderSize = 52;    // with the red, green and blue masks
inline constexpr std::uint32_t kV3HeaderSize = 56;    // with the alpha mask too
inline constexpr std::uint32_t kV4HeaderSize = 108;   // BITMAPV4HEADER: colour space
inline constexpr std::uint32_t kV5HeaderSize = 124;   // BITMAPV5HEADER: intent and profile

// biCompression.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

// bV5CSType: the colour spaces, two of which name a profile stored in the file.
inline constexpr std::uint32_t kLcsSrgb = 0x73524742u;          // 'sRGB'
inline constexpr std::uint32_t kProfileLinked = 0x4C494E4Bu;    // 'LINK'
inline constexpr std::uint32_t kProfileEmbedded = 0x4D424544u;  // 'MBED'

// bV5Intent: LCS_GM_IMAGES.
inline constexpr std::uint32_t kIntentImages = 4;

// Where the fields of an info header (not the core header) lie, from its start.
inline constexpr std::uint32_t kMasksOffset = 40;        // inside V2 and longer headers
inline constexpr std::uint32_t kColourSpaceOffset = 56;  // V4 and V5
inline constexpr std::uint32_t kProfileDataOffset = 112;
inline constexpr std::uint32_t kProfileSizeOffset = 116;

// Little-endian fields; the caller has made sure they lie inside `bytes`.
inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(ReadU16(bytes, at)) |
         (static_cast<std::uint32_t>(ReadU16(bytes, at + 2)) << 16);
}

// The bytes of one row of uncompressed pixels, padded to four bytes.
inline constexpr std::uint64_t RowStride(std::uint64_t width, std::uint32_t bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace rt::bmp

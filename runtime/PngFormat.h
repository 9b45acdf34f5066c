// The PNG file format: the signature, the chunk layout, colour types, the interlaced passes and
// the CRC of chunks, shared by the PNG check, the decoders and the tools' writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rt::png {

inline constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                           0x0D, 0x0A, 0x1A, 0x0A};

// Length, type and CRC around each chunk's data.
inline constexpr std::size_t kChunkOverhead = 12;
inline constexpr std::uint32_t kHeaderLength = 13;
// Chunk lengths are 31-bit numbers.
inline constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;
// Widths and heights the menu takes.
inline constexpr std::uint32_t kMaxSide = 32767;

enum ColourType : std::uint8_t {
  kGrey = 0,
  kRgb = 2,
  kPalette = 3,
  kGreyAlpha = 4,
  kRgbAlpha = 6,
};

// Samples a pixel of the colour type holds.
inline constexpr int Channels(std::uint8_t colourType) {
  switch (colourType) {
    case kGrey:
    case kPalette:
      return 1;
    case kGreyAlpha:
      return 2;
    case kRgb:
      return 3;
    case kRgbAlpha:
      return 4;
  }
  return 0;
}

// Whether a colour type allows the bit depth: 1, 2, 4 and 8 for grey and palette, 16 for grey
// and the true-colour types, 8 for every type.
inline constexpr bool DepthAllowed(std::uint8_t colourType, std::uint8_t depth) {
  switch (colourType) {
    case kGrey:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPalette:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kRgb:
    case kGreyAlpha:
    case kRgbAlpha:
      return depth == 8 || depth == 16;
  }
  return false;
}

// One of the seven passes of Adam7 interlacing: its first column and row, and its steps.
struct Pass {
  std::uint32_t x, y, dx, dy;
};
inline constexpr std::array<Pass, 7> kAdam7 = {{{0, 0, 8, 8},
                                                {4, 0, 8, 8},
                                                {0, 4, 4, 8},
                                                {2, 0, 4, 4},
                                                {0, 2, 2, 4},
                                                {1, 0, 2, 2},
                                                {0, 1, 1, 2}}};

// Columns (or rows) of a pass over `side` pixels that start at `first`, every `step`.
inline constexpr std::uint32_t PassSide(std::uint32_t side, std::uint32_t first,
                                        std::uint32_t step) {
  return side > first ? (side - first + step - 1) / step : 0;
}

// Big-endian fields; the caller has made sure they lie inside `bytes`.
inline std::uint32_t ReadBig32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (static_cast<std::uint32_t>(bytes[at]) << 24) |
         (static_cast<std::uint32_t>(bytes[at + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 8) | bytes[at + 3];
}

// The CRC-32 of chunks (ISO 3309), over the type and the data.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace rt::png

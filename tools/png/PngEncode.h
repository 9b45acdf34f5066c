// PNG files written by the host's libspng, for the tools: skincheck's preview page and the PNG
// demo disc's pictures. Host builds only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "Bytes.h"

namespace pngio {

enum class Effort {
  Fast,      // rows unfiltered, zlib's default level
  Smallest,  // each row with the filter that suits it best, zlib's level 9
};

// 8-bit pixels, `channels` 3 (RGB) or 4 (RGBA) a pixel, top row first, as a PNG file; nothing
// where libspng refuses them.
std::optional<bmpio::Bytes> EncodeWithSystem(int width, int height, int channels,
                                             std::span<const std::uint8_t> pixels, Effort effort);

}  // namespace pngio

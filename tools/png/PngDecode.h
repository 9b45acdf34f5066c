// The system's PNG decoder, as the tools and tests use it: Debian's libspng on the host, the
// Windows Imaging Component (through the menu's own decoder) in Windows builds.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "PngWriter.h"

namespace pngio {

struct Decoded {
  bool ok = false;
  std::string problem;  // what the decoder said where it failed
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;  // top row first
};

// Decodes a file the PNG check accepted.
Decoded DecodeWithSystem(std::span<const std::uint8_t> file);

}  // namespace pngio

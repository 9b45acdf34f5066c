// A reference decoder of every bitmap format the header check accepts. It trusts the headers the
// way a system decoder does, but checks each byte it reads against the file and each pixel it
// writes against the picture: a file the check accepts must decode without leaving either. RLE
// streams are also walked the way Wine 8's decoder reads them, which differs from the format.
// It shares the format's constants and field readers with the check, never its logic, so that
// each checks the other.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "BmpWriter.h"

namespace bmpio {

struct Decoded {
  bool ok = false;
  std::string problem;  // the first read outside the file or write outside the picture
  int width = 0;
  int height = 0;           // always positive; rows are stored top row first
  std::vector<Rgb> pixels;  // filled only when asked for
};

// Decodes `file`; with `keepPixels` also returns the picture's colours. Compressed rows that the
// stream leaves out stay black.
Decoded DecodeTrusting(std::span<const std::uint8_t> file, bool keepPixels);

}  // namespace bmpio

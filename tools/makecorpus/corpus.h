// A corpus of picture files for the menu's skin and buttons: well-formed files of every format the
// menu accepts, drawn with one distinctive pattern, and damaged or lying files it must refuse.
// Shared by the makecorpus tool (which writes the files for the end-to-end test and the fuzzer)
// and by the unit tests of the bitmap check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BitmapFormat.h"

namespace corpus {

using Bytes = std::vector<std::uint8_t>;

// What the picture is made for: the skin (800 x 600) or a button picture (113 x 122).
enum class Kind { kSkin, kButton };

// refused: must be reported as an error; displayed: valid and must show the pattern's colours.
enum class Expect { kRefused, kDisplayed };

// A case is a file, or the absence of one: no file at all, or a folder in the file's place.
enum class Source { kFile, kMissing, kFolder };

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// A point of the picture (top-left origin) and what it shows there; `hole` for a black corner
// pixel of a skin, which the window's outline leaves out.
struct Sample {
  int x = 0;
  int y = 0;
  Rgb colour;
  bool hole = false;
};

struct Case {
  std::string name;  // the file name without ".bmp"; starts with the kind's name
  Kind kind = Kind::kSkin;
  Expect expect = Expect::kRefused;
  std::string description;  // starts with "missing" or "folder" for those sources
  Source source = Source::kFile;
  Bytes bytes;
  int error = 0;                // refused: the run-time error number the menu reports
  std::string reason;           // refused: words the reported reason contains
  bool blackCorners = false;    // valid skins: drawn with black corner squares
  std::vector<Sample> samples;  // displayed: colours at a few points of the picture
};

// Everything a bitmap file holds, its fields free to lie; Write() lays it out with the offsets and
// sizes that follow from it unless they are given.
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

// The length of one row of pixels, padded to four bytes.
std::size_t RowStride(int width, int bits);

// A well-formed 24-bit file of `colours` (top row first, `width` a row), bottom-up or top-down.
Bytes Write24(int width, int height, const std::vector<Rgb>& colours, bool topDown = false);

struct PictureSize {
  int width = 0;
  int height = 0;
};

PictureSize SizeOf(Kind kind);
std::string_view KindName(Kind kind);
std::string_view ExpectName(Expect expect);

// The colour a displayed picture of `kind` shows at x, y (top-left origin). The pattern has two
// colours in four unequal quarters, so that a flipped or shifted decode shows; skins add black
// squares in their corners, except where the format holds only two colours.
Rgb PatternColour(Kind kind, bool blackCorners, int x, int y);

// Every case of both kinds, skins first.
std::vector<Case> Cases();

}  // namespace corpus

// The bitmap header check: well-formed files of every kind pass with their size and depth, files a
// decoder could trip over are refused with a reason naming the problem.
#include "BitmapCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "BitmapFormat.h"
#include "BmpWriter.h"

namespace rt {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t Magnitude(std::int32_t value) {
  return value < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                   : static_cast<std::uint64_t>(value);
}

// A small file for the corpus's writer: a grey palette as long as the header implies and rows of
// filler bytes, unless the case gives its own.
struct Bmp {
  std::uint32_t headerSize = bmp::kInfoHeaderSize;
  std::int32_t width = 4;
  std::int32_t height = 4;
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = bmp::kBiRgb;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::optional<std::uint32_t> paletteEntries;  // default: what the header implies
  std::vector<std::uint32_t> masks;             // inside longer headers, else after the header
  std::optional<Bytes> pixels;                  // default: every row, padded
  std::optional<std::uint32_t> pixelOffset;     // default: right after the palette

  Bytes Write() const {
    bmpio::Bitmap file;
    file.headerSize = headerSize;
    file.width = width;
    file.height = height;
    file.planes = planes;
    file.bits = bits;
    file.compression = compression;
    file.imageSize = imageSize;
    file.coloursUsed = coloursUsed;
    file.masks = masks;
    file.pixelOffset = pixelOffset;
    const std::uint32_t entries =
        paletteEntries ? *paletteEntries
                       : (bits <= 8 ? (coloursUsed != 0 ? coloursUsed : 1u << bits) : 0u);
    for (std::uint32_t i = 0; i < entries; ++i) {
      const auto grey = static_cast<std::uint8_t>(i * 255u / (entries > 1 ? entries - 1 : 1));
      file.palette.push_back({grey, grey, grey});
    }
    if (pixels) {
      file.pixels = *pixels;
    } else {
      file.pixels.resize(
          static_cast<std::size_t>(bmp::RowStride(Magnitude(width), bits) * Magnitude(height)));
      for (std::size_t i = 0; i < file.pixels.size(); ++i)
        file.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    return file.Write();
  }
};

BitmapCheckResult Check(const Bytes& file) {
  return CheckBitmapFile(std::span<const std::uint8_t>(file));
}

testing::AssertionResult Accepted(const BitmapCheckResult& r, int width, int height, int bits,
                                  std::uint32_t compression = 0) {
  if (!r.ok) return testing::AssertionFailure() << "refused: " << r.reason;
  if (r.width != width || r.height != height || r.bitsPerPixel != bits ||
      r.compression != compression) {
    return testing::AssertionFailure()
           << "accepted as " << r.width << "x" << r.height << " at " << r.bitsPerPixel
           << " bits, compression " << r.compression << "; expected " << width << "x" << height
           << " at " << bits << " bits, compression " << compression;
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult RefusedFor(const BitmapCheckResult& r, std::wstring_view problem) {
  if (r.ok) return testing::AssertionFailure() << "accepted, expected a refusal";
  if (r.reason.find(problem) == std::wstring::npos) {
    return testing::AssertionFailure()
           << "refused for \"" << r.reason << "\", expected \"" << std::wstring(problem) << "\"";
  }
  return testing::AssertionSuccess();
}

// An 8-bit RLE file with a full palette around `stream`.
Bmp Rle8(std::int32_t width, std::int32_t height, Bytes stream) {
  Bmp bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 8;
  bmp.compression = 1;
  bmp.pixels = std::move(stream);
  return bmp;
}

Bmp Rle4(std::int32_t width, std::int32_t height, Bytes stream) {
  Bmp bmp = Rle8(width, height, std::move(stream));
  bmp.bits = 4;
  bmp.compression = 2;
  return bmp;
}

// Rows of 10 pixels: encoded runs, an absolute run of three with its pad byte, an end of line, a
// delta and an encoded run after it.
const Bytes kRle8Stream = {0x05, 0x01, 0x00, 0x03, 0x07, 0x08, 0x09, 0x00, 0x02, 0x04, 0x00,
                           0x00, 0x00, 0x04, 0x01, 0x02, 0x03, 0x04, 0x02, 0x05, 0x04, 0x06,
                           0x00, 0x00, 0x00, 0x02, 0x03, 0x01, 0x04, 0x09, 0x00, 0x01};

// Rows of 10 pixels: an absolute run of five (three bytes and a pad), one of four (no pad), a
// delta along the row.
const Bytes kRle4Stream = {0x04, 0x12, 0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x01, 0x07, 0x00, 0x00,
                           0x00, 0x02, 0x02, 0x00, 0x00, 0x04, 0x12, 0x34, 0x04, 0xAB, 0x00, 0x01};

// One of each well-formed kind, for the truncation and mutation tests.
std::vector<Bytes> ValidFiles() {
  std::vector<Bytes> files;
  Bmp b1;
  b1.width = 33;
  b1.height = 5;
  b1.bits = 1;
  files.push_back(b1.Write());
  Bmp b4;
  b4.width = 7;
  b4.height = 3;
  b4.bits = 4;
  files.push_back(b4.Write());
  Bmp b8;
  b8.width = 10;
  b8.height = 4;
  b8.bits = 8;
  b8.coloursUsed = 16;
  files.push_back(b8.Write());
  files.push_back(Rle8(10, 4, kRle8Stream).Write());
  files.push_back(Rle4(10, 2, kRle4Stream).Write());
  Bmp b16;
  b16.width = 5;
  b16.height = 3;
  b16.bits = 16;
  b16.compression = 3;
  b16.masks = {0xF800, 0x07E0, 0x001F};
  files.push_back(b16.Write());
  Bmp b24;
  b24.width = 6;
  b24.height = -5;
  files.push_back(b24.Write());
  Bmp v5;
  v5.headerSize = 124;
  v5.width = 3;
  v5.height = 3;
  v5.bits = 32;
  v5.compression = 3;
  v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  files.push_back(v5.Write());
  Bmp core;
  core.headerSize = 12;
  core.width = 5;
  core.height = 4;
  core.bits = 8;
  files.push_back(core.Write());
  return files;
}

TEST(BitmapCheck, PalettedFilesPass) {
  Bmp b1;
  b1.width = 33;
  b1.height = 5;
  b1.bits = 1;
  EXPECT_TRUE(Accepted(Check(b1.Write()), 33, 5, 1));
  Bmp b4;
  b4.width = 7;
  b4.height = 3;
  b4.bits = 4;
  EXPECT_TRUE(Accepted(Check(b4.Write()), 7, 3, 4));
  Bmp b8;
  b8.width = 10;
  b8.height = 4;
  b8.bits = 8;
  EXPECT_TRUE(Accepted(Check(b8.Write()), 10, 4, 8));
  // A short palette named by biClrUsed.
  b8.coloursUsed = 16;
  const Bytes shortPalette = b8.Write();
  EXPECT_EQ(shortPalette.size(), 14u + 40u + 16u * 4u + 12u * 4u);
  EXPECT_TRUE(Accepted(Check(shortPalette), 10, 4, 8));
}

TEST(BitmapCheck, RleStreamsEndingWithTheMarkerPass) {
  EXPECT_TRUE(Accepted(Check(Rle8(10, 4, kRle8Stream).Write()), 10, 4, 8, 1));
  EXPECT_TRUE(Accepted(Check(Rle4(10, 2, kRle4Stream).Write()), 10, 2, 4, 2));
  // The stream's size in the header, exactly.
  Bmp sized = Rle8(10, 4, kRle8Stream);
  sized.imageSize = static_cast<std::uint32_t>(kRle8Stream.size());
  EXPECT_TRUE(Accepted(Check(sized.Write()), 10, 4, 8, 1));
  // Runs that fill a row to its last pixel, and a delta to the row's end.
  EXPECT_TRUE(Accepted(
      Check(Rle8(4, 2, {0x04, 0x01, 0x00, 0x00, 0x00, 0x04, 1, 2, 3, 4, 0x00, 0x01}).Write()), 4, 2,
      8, 1));
  EXPECT_TRUE(
      Accepted(Check(Rle8(4, 2, {0x00, 0x02, 0x04, 0x01, 0x00, 0x01}).Write()), 4, 2, 8, 1));
  // RLE4 absolute runs take half a byte a pixel: four pixels in two bytes, three in two with
  // no pad.
  EXPECT_TRUE(
      Accepted(Check(Rle4(4, 1, {0x00, 0x04, 0x12, 0x34, 0x00, 0x01}).Write()), 4, 1, 4, 2));
  EXPECT_TRUE(
      Accepted(Check(Rle4(4, 1, {0x00, 0x03, 0x12, 0x30, 0x00, 0x01}).Write()), 4, 1, 4, 2));
  // Nothing drawn at all.
  EXPECT_TRUE(Accepted(Check(Rle8(4, 2, {0x00, 0x01}).Write()), 4, 2, 8, 1));
}

TEST(BitmapCheck, DirectColourFilesPass) {
  Bmp b565;
  b565.width = 5;
  b565.height = 3;
  b565.bits = 16;
  b565.compression = 3;
  b565.masks = {0xF800, 0x07E0, 0x001F};
  EXPECT_TRUE(Accepted(Check(b565.Write()), 5, 3, 16, 3));
  Bmp b555;
  b555.width = 5;
  b555.height = 3;
  b555.bits = 16;
  EXPECT_TRUE(Accepted(Check(b555.Write()), 5, 3, 16));
  Bmp b24;
  b24.width = 800;
  b24.height = 600;
  EXPECT_TRUE(Accepted(Check(b24.Write()), 800, 600, 24));
  Bmp odd24;
  odd24.width = 3;
  odd24.height = 2;
  EXPECT_TRUE(Accepted(Check(odd24.Write()), 3, 2, 24));
  Bmp b32;
  b32.width = 7;
  b32.height = 2;
  b32.bits = 32;
  EXPECT_TRUE(Accepted(Check(b32.Write()), 7, 2, 32));
  Bmp topDown;
  topDown.width = 6;
  topDown.height = -5;
  EXPECT_TRUE(Accepted(Check(topDown.Write()), 6, -5, 24));
}

TEST(BitmapCheck, OtherHeaderFormsPass) {
  Bmp v5;
  v5.headerSize = 124;
  v5.width = 3;
  v5.height = 3;
  v5.bits = 32;
  v5.compression = 3;
  v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  EXPECT_TRUE(Accepted(Check(v5.Write()), 3, 3, 32, 3));
  Bmp v5rgb;
  v5rgb.headerSize = 124;
  v5rgb.width = 9;
  v5rgb.height = 2;
  EXPECT_TRUE(Accepted(Check(v5rgb.Write()), 9, 2, 24));
  Bmp core24;
  core24.headerSize = 12;
  core24.width = 5;
  core24.height = 4;
  EXPECT_TRUE(Accepted(Check(core24.Write()), 5, 4, 24));
  Bmp core8;
  core8.headerSize = 12;
  core8.width = 5;
  core8.height = 4;
  core8.bits = 8;
  const Bytes core8File = core8.Write();
  EXPECT_EQ(core8File.size(), 14u + 12u + 256u * 3u + 8u * 4u);
  EXPECT_TRUE(Accepted(Check(core8File), 5, 4, 8));
}

TEST(BitmapCheck, TheLargestPictureStillPasses) {
  Bmp largest;
  largest.width = 8192;
  largest.height = 8192;  // 64 Mi pixels exactly
  largest.bits = 1;
  EXPECT_TRUE(Accepted(Check(largest.Write()), 8192, 8192, 1));
}

TEST(BitmapCheck, FilesThatAreNotBitmapsAreRefused) {
  EXPECT_TRUE(RefusedFor(Check({}), L"empty"));
  const std::string text = "This is a plain text file, not a picture.\n";
  EXPECT_TRUE(RefusedFor(Check(Bytes(text.begin(), text.end())), L"not a Windows bitmap"));
  const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H',
                     'D',  'R', 0,   0,   0,    1,    0,    0,    0, 1, 8, 2,  0,   0};
  EXPECT_TRUE(RefusedFor(Check(png), L"not a Windows bitmap"));
  EXPECT_TRUE(RefusedFor(Check({'B'}), L"not a Windows bitmap"));
  EXPECT_TRUE(RefusedFor(Check({'B', 'M', 0, 0, 0, 0, 0}), L"truncated"));
}

TEST(BitmapCheck, HeadersThatLieAboutTheFileAreRefused) {
  {
    SCOPED_TRACE("a 40-byte header in a 30-byte file");
    Bytes file = Bmp{}.Write();
    file.resize(30);
    EXPECT_TRUE(RefusedFor(Check(file), L"truncated"));
  }
  {
    SCOPED_TRACE("800x600 at 24 bits with half the pixels");
    Bmp half;
    half.width = 800;
    half.height = 600;
    half.pixels = Bytes(800u * 3u * 300u, 0x40);
    EXPECT_TRUE(RefusedFor(Check(half.Write()), L"pixel data is shorter"));
  }
  {
    SCOPED_TRACE("a pixel offset past the end");
    Bytes file = Bmp{}.Write();
    Set32(file, 10, static_cast<std::uint32_t>(file.size() + 1));
    EXPECT_TRUE(RefusedFor(Check(file), L"pixel offset lies past the end"));
    Set32(file, 10, 0xFFFFFFFFu);
    EXPECT_TRUE(RefusedFor(Check(file), L"pixel offset lies past the end"));
  }
  {
    SCOPED_TRACE("a pixel offset at the end leaves no room for the pixels");
    Bytes file = Bmp{}.Write();
    Set32(file, 10, static_cast<std::uint32_t>(file.size()));
    EXPECT_TRUE(RefusedFor(Check(file), L"pixel data is shorter"));
  }
  {
    SCOPED_TRACE("a pixel offset inside the header");
    Bmp inside;
    inside.pixelOffset = 20;
    EXPECT_TRUE(RefusedFor(Check(inside.Write()), L"inside the header"));
  }
  {
    SCOPED_TRACE("masks that the pixel offset overlaps");
    Bmp b565;
    b565.bits = 16;
    b565.compression = 3;
    b565.masks = {0xF800, 0x07E0, 0x001F};
    b565.pixelOffset = 14 + 40;
    EXPECT_TRUE(RefusedFor(Check(b565.Write()), L"inside the header"));
  }
  {
    SCOPED_TRACE("a palette the file does not hold");
    Bmp b8;
    b8.bits = 8;
    b8.paletteEntries = 16;  // the header implies 256
    EXPECT_TRUE(RefusedFor(Check(b8.Write()), L"palette"));
    Bmp core8;
    core8.headerSize = 12;
    core8.bits = 8;
    core8.paletteEntries = 200;
    EXPECT_TRUE(RefusedFor(Check(core8.Write()), L"palette"));
  }
}

TEST(BitmapCheck, UnsupportedFormsAreRefused) {
  Bmp bits7;
  bits7.bits = 7;
  EXPECT_TRUE(RefusedFor(Check(bits7.Write()), L"bits per pixel 7"));
  Bmp core16;
  core16.headerSize = 12;
  core16.bits = 16;
  EXPECT_TRUE(RefusedFor(Check(core16.Write()), L"bits per pixel 16"));
  Bmp planes;
  planes.planes = 2;
  EXPECT_TRUE(RefusedFor(Check(planes.Write()), L"planes"));
  Bmp header64;
  header64.headerSize = 64;
  EXPECT_TRUE(RefusedFor(Check(header64.Write()), L"header size 64"));
  for (const std::uint32_t compression : {4u, 5u, 6u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(compression);
    Bmp compressed;
    compressed.compression = compression;
    EXPECT_TRUE(RefusedFor(Check(compressed.Write()), L"compression"));
  }
  Bmp fields24;
  fields24.compression = 3;
  fields24.masks = {0xFF0000, 0xFF00, 0xFF};
  EXPECT_TRUE(RefusedFor(Check(fields24.Write()), L"bit fields"));
}

TEST(BitmapCheck, PaletteCountsBeyondTheDepthAreRefused) {
  for (const std::uint32_t colours : {257u, 100000u}) {
    SCOPED_TRACE(colours);
    Bmp b8;
    b8.bits = 8;
    b8.coloursUsed = colours;  // and the palette written out in full
    EXPECT_TRUE(RefusedFor(Check(b8.Write()), L"palette"));
  }
  Bmp b1;
  b1.bits = 1;
  b1.coloursUsed = 3;
  EXPECT_TRUE(RefusedFor(Check(b1.Write()), L"palette"));
  Bmp b4;
  b4.bits = 4;
  b4.coloursUsed = 17;
  EXPECT_TRUE(RefusedFor(Check(b4.Write()), L"palette"));
  Bmp huge;
  huge.bits = 8;
  huge.coloursUsed = 0xFFFFFFFFu;
  huge.paletteEntries = 256;
  EXPECT_TRUE(RefusedFor(Check(huge.Write()), L"palette"));
}

TEST(BitmapCheck, SizesWithoutPixelsOrTooManyAreRefused) {
  Bmp noWidth;
  noWidth.width = 0;
  EXPECT_TRUE(RefusedFor(Check(noWidth.Write()), L"no width"));
  Bmp negativeWidth;
  negativeWidth.width = -4;
  EXPECT_TRUE(RefusedFor(Check(negativeWidth.Write()), L"no width"));
  Bmp noHeight;
  noHeight.height = 0;
  EXPECT_TRUE(RefusedFor(Check(noHeight.Write()), L"no height"));
  Bmp lowest;
  lowest.height = INT32_MIN;
  lowest.pixels = Bytes(64, 0);
  EXPECT_TRUE(RefusedFor(Check(lowest.Write()), L"height"));
  Bmp huge;
  huge.width = 100000;
  huge.height = 100000;
  huge.pixels = Bytes(16, 0);
  EXPECT_TRUE(RefusedFor(Check(huge.Write()), L"too large"));
  Bmp oneTooMany;
  oneTooMany.width = 8193;
  oneTooMany.height = 8192;
  oneTooMany.bits = 1;
  oneTooMany.pixels = Bytes(16, 0);
  EXPECT_TRUE(RefusedFor(Check(oneTooMany.Write()), L"too large"));
  Bmp justOver;  // 5 x 13421773 is one pixel more than 64 Mi
  justOver.width = 5;
  justOver.height = 13421773;
  justOver.bits = 1;
  justOver.pixels = Bytes(16, 0);
  EXPECT_TRUE(RefusedFor(Check(justOver.Write()), L"too large"));
  Bmp longRow;
  longRow.width = INT32_MAX;
  longRow.height = 1;
  longRow.pixels = Bytes(16, 0);
  EXPECT_TRUE(RefusedFor(Check(longRow.Write()), L"too large"));
  Bmp wide;
  wide.width = 40000;
  wide.height = 10;
  wide.pixels = Bytes{};
  EXPECT_TRUE(RefusedFor(Check(wide.Write()), L"pixel data is shorter"));
}

TEST(BitmapCheck, RleStreamsLeavingThePictureAreRefused) {
  // Each on a 4x2 picture.
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x05, 0x01, 0x00, 0x01}).Write()), L"RLE"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x05, 0x01, 0x00, 0x01}).Write()), L"runs past"));
  EXPECT_TRUE(
      RefusedFor(Check(Rle8(4, 2, {0x02, 0x01, 0x03, 0x01, 0x00, 0x01}).Write()), L"runs past"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x00, 0x05, 1, 2, 3, 4, 5, 0x00, 0x00, 0x01}).Write()),
                         L"runs past"));
  EXPECT_TRUE(RefusedFor(
      Check(Rle4(4, 2, {0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x01}).Write()), L"runs past"));
  // Pixels above the last row.
  EXPECT_TRUE(RefusedFor(
      Check(Rle8(4, 2, {0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x01}).Write()), L"runs past"));
  EXPECT_TRUE(RefusedFor(
      Check(Rle8(4, 2, {0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 1, 2, 3, 0, 0x00, 0x01}).Write()),
      L"runs past"));
  // Deltas across the right edge or the top.
  EXPECT_TRUE(
      RefusedFor(Check(Rle8(4, 2, {0x00, 0x02, 0x05, 0x00, 0x00, 0x01}).Write()), L"moves past"));
  EXPECT_TRUE(RefusedFor(
      Check(Rle8(4, 2, {0x03, 0x01, 0x00, 0x02, 0x02, 0x00, 0x00, 0x01}).Write()), L"moves past"));
  EXPECT_TRUE(
      RefusedFor(Check(Rle8(4, 2, {0x00, 0x02, 0x00, 0x03, 0x00, 0x01}).Write()), L"moves past"));
}

TEST(BitmapCheck, RleStreamsThatStopShortAreRefused) {
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x02}).Write()), L"middle of a command"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x00, 0x02, 0x01}).Write()), L"middle of a command"));
  EXPECT_TRUE(
      RefusedFor(Check(Rle8(4, 2, {0x00, 0x04, 0x01, 0x02}).Write()), L"middle of a command"));
  // The pad byte of an odd absolute run belongs to the command.
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x00, 0x03, 0x01, 0x02, 0x03}).Write()),
                         L"middle of a command"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {0x02, 0x01, 0x00, 0x00}).Write()), L"end-of-bitmap"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, 2, {}).Write()), L"end-of-bitmap"));
  // The header's image size ends the stream before its marker.
  Bmp cut = Rle8(4, 2, {0x02, 0x01, 0x00, 0x01});
  cut.imageSize = 2;
  EXPECT_TRUE(RefusedFor(Check(cut.Write()), L"end-of-bitmap"));
}

TEST(BitmapCheck, RleWithTheWrongDepthOrTopDownIsRefused) {
  Bmp rle4At8 = Rle4(4, 2, {0x00, 0x01});
  rle4At8.bits = 8;
  EXPECT_TRUE(RefusedFor(Check(rle4At8.Write()), L"RLE4"));
  Bmp rle8At4 = Rle8(4, 2, {0x00, 0x01});
  rle8At4.bits = 4;
  EXPECT_TRUE(RefusedFor(Check(rle8At4.Write()), L"RLE8"));
  EXPECT_TRUE(RefusedFor(Check(Rle8(4, -2, {0x00, 0x01}).Write()), L"top-down"));
  EXPECT_TRUE(RefusedFor(Check(Rle4(4, -2, {0x00, 0x01}).Write()), L"top-down"));
}

// Every prefix of a well-formed file lacks part of its headers, palette or pixels (the RLE streams
// end with their marker), so only the whole file passes.
TEST(BitmapCheck, EveryTruncationIsRefused) {
  const std::vector<Bytes> files = ValidFiles();
  for (std::size_t kind = 0; kind < files.size(); ++kind) {
    SCOPED_TRACE(kind);
    const Bytes& file = files[kind];
    ASSERT_TRUE(Check(file).ok) << Check(file).reason;
    int accepted = 0;
    for (std::size_t length = 0; length < file.size(); ++length) {
      const BitmapCheckResult r =
          CheckBitmapFile(std::span<const std::uint8_t>(file.data(), length));
      if (r.ok && accepted++ == 0) ADD_FAILURE() << "accepted when cut to " << length << " bytes";
      if (!r.ok && r.reason.empty()) ADD_FAILURE() << "no reason when cut to " << length;
    }
    EXPECT_EQ(accepted, 0);
  }
}

std::uint32_t Read16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

std::uint32_t Read32(const Bytes& b, std::size_t at) {
  return Read16(b, at) | (Read16(b, at + 2) << 16);
}

// What an accepted file's own bytes say, against what the check reported; empty when they agree.
std::string Inconsistency(const Bytes& file, const BitmapCheckResult& r) {
  if (file.size() < 30 || file[0] != 'B' || file[1] != 'M') return "accepted without a header";
  const std::uint32_t headerSize = Read32(file, 14);
  const bool core = headerSize == 12;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::uint64_t colours = 0;
  if (core) {
    width = Read16(file, 18);
    height = Read16(file, 20);
    bits = Read16(file, 24);
  } else {
    if (file.size() < 54) return "accepted with a short info header";
    width = static_cast<std::int32_t>(Read32(file, 18));
    height = static_cast<std::int32_t>(Read32(file, 22));
    bits = Read16(file, 28);
    compression = Read32(file, 30);
    colours = Read32(file, 46);
  }
  if (r.width != width || r.height != height || r.bitsPerPixel != static_cast<int>(bits) ||
      r.compression != compression) {
    return "reported values differ from the header";
  }
  if (file.size() < 14 + headerSize) return "accepted with a truncated header";
  if (width <= 0 || height == 0) return "accepted without pixels";
  const auto rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  const auto columns = static_cast<std::uint64_t>(width);
  if (rows * columns > kMaxPicturePixels) return "accepted a picture that is too large";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return "accepted an unknown depth";
  }
  if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4) ||
      ((compression == 1 || compression == 2) && height < 0) || compression > 3) {
    return "accepted a compression that does not fit";
  }
  if (colours == 0 && bits <= 8) colours = 1ull << bits;
  const std::uint64_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
  const std::uint64_t pixelOffset = Read32(file, 10);
  if (14 + headerSize + masks + colours * (core ? 3u : 4u) > file.size()) {
    return "accepted a palette past the end";
  }
  if (pixelOffset < 14 + headerSize + masks || pixelOffset > file.size()) {
    return "accepted a pixel offset outside the file";
  }
  if (compression == 0 || compression == 3) {
    if (pixelOffset + bmp::RowStride(columns, bits) * rows > file.size())
      return "accepted short pixels";
  }
  return {};
}

// Random damage to well-formed files never crashes the check, and whatever it still accepts
// agrees with the bytes of its header.
TEST(BitmapCheck, DamagedFilesNeverCrashAndAcceptedOnesAreConsistent) {
  std::mt19937 random(7031u);
  const std::uint8_t interesting[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFF};
  int accepted = 0;
  int refused = 0;
  std::string firstProblem;
  for (const Bytes& original : ValidFiles()) {
    const std::size_t headerEnd = std::min<std::size_t>(original.size(), 14 + 40 + 16);
    for (int mutation = 0; mutation < 600; ++mutation) {
      Bytes file = original;
      const auto changes = static_cast<std::uint32_t>(1 + random() % 4);
      for (std::uint32_t c = 0; c < changes; ++c) {
        const std::size_t at = random() % 4 != 0 ? random() % headerEnd : random() % file.size();
        if (random() % 2 == 0) {
          file[at] = static_cast<std::uint8_t>(file[at] ^ (1u << (random() % 8)));
        } else {
          file[at] = interesting[random() % std::size(interesting)];
        }
      }
      if (random() % 8 == 0) file.resize(random() % (file.size() + 1));
      const BitmapCheckResult r = Check(file);
      if (!r.ok) {
        ++refused;
        continue;
      }
      ++accepted;
      const std::string problem = Inconsistency(file, r);
      if (!problem.empty() && firstProblem.empty()) {
        firstProblem = problem + " (mutation " + std::to_string(mutation) + ")";
      }
    }
  }
  EXPECT_EQ(firstProblem, "");
  // Both outcomes occur, so the consistency checks above did run.
  EXPECT_GT(accepted, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace rt

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

using bmpio::Bytes;

std::uint64_t Magnitude(std::int32_t value) {
  return value < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(value))
                   : static_cast<std::uint64_t>(value);
}

// A small file for the toolkit's writer: a grey palette as long as the header implies and rows of
// filler bytes, unless the case gives its own.
struct Bmp : bmpio::Bitmap {
  explicit Bmp(std::int32_t w = 4, std::int32_t h = 4, std::uint16_t depth = 24) {
    width = w;
    height = h;
    bits = depth;
  }
  std::optional<std::uint32_t> paletteEntries;  // default: what the header implies
  bool fill = true;                             // filler rows in place of `pixels`

  Bmp Header(std::uint32_t size) const {
    return With([&](Bmp& b) { b.headerSize = size; });
  }
  Bmp Colours(std::uint32_t used) const {
    return With([&](Bmp& b) { b.coloursUsed = used; });
  }
  Bmp Entries(std::uint32_t n) const {
    return With([&](Bmp& b) { b.paletteEntries = n; });
  }
  Bmp Offset(std::uint32_t at) const {
    return With([&](Bmp& b) { b.pixelOffset = at; });
  }
  Bmp Fields(std::vector<std::uint32_t> m) const {
    return With([&](Bmp& b) {
      b.compression = bmp::kBiBitfields;
      b.masks = m;
    });
  }
  Bmp Rows(Bytes rows) const {
    return With([&](Bmp& b) {
      b.pixels = rows;
      b.fill = false;
    });
  }
  template <typename Change>
  Bmp With(Change change) const {
    Bmp copy = *this;
    change(copy);
    return copy;
  }

  Bytes File() const {
    bmpio::Bitmap file = *this;
    const std::uint32_t entries =
        paletteEntries.value_or(bits <= 8 ? (coloursUsed != 0 ? coloursUsed : 1u << bits) : 0u);
    for (std::uint32_t i = 0; i < entries; ++i) {
      const auto grey = static_cast<std::uint8_t>(i * 255u / (entries > 1 ? entries - 1 : 1));
      file.palette.push_back({grey, grey, grey});
    }
    if (fill) {
      file.pixels.resize(
          static_cast<std::size_t>(bmp::RowStride(Magnitude(width), bits) * Magnitude(height)));
      for (std::size_t i = 0; i < file.pixels.size(); ++i)
        file.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    return file.Write();
  }
};

// An 8-bit or 4-bit RLE file with a full palette around `stream`.
Bmp Rle8(std::int32_t width, std::int32_t height, Bytes stream) {
  return Bmp(width, height, 8).Rows(std::move(stream)).With([](Bmp& b) {
    b.compression = bmp::kBiRle8;
  });
}
Bmp Rle4(std::int32_t width, std::int32_t height, Bytes stream) {
  return Bmp(width, height, 4).Rows(std::move(stream)).With([](Bmp& b) {
    b.compression = bmp::kBiRle4;
  });
}

std::uint32_t Size32(std::size_t size) { return static_cast<std::uint32_t>(size); }

BitmapCheckResult Check(const Bytes& file) {
  return CheckBitmapFile(std::span<const std::uint8_t>(file));
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

struct Valid {
  const char* name;
  Bmp bmp;
};

// One of each well-formed kind, accepted with the size, depth and compression of its header.
const std::vector<Valid>& ValidFiles() {
  static const std::vector<Valid> files = {
      {"Bits1RowsPadded", Bmp(33, 5, 1)},
      {"Bits4", Bmp(7, 3, 4)},
      {"Bits8", Bmp(10, 4, 8)},
      {"Bits8ShortPaletteByColoursUsed", Bmp(10, 4, 8).Colours(16)},
      {"Rle8", Rle8(10, 4, kRle8Stream)},
      {"Rle8WithItsSizeInTheHeader",
       Rle8(10, 4, kRle8Stream).With([](Bmp& b) { b.imageSize = Size32(kRle8Stream.size()); })},
      {"Rle8RunsFillingARow", Rle8(4, 2, {0x04, 0x01, 0x00, 0x00, 0x00, 0x04, 1, 2, 3, 4, 0, 1})},
      {"Rle8DeltaToTheRowsEnd", Rle8(4, 2, {0x00, 0x02, 0x04, 0x01, 0x00, 0x01})},
      {"Rle8DrawingNothing", Rle8(4, 2, {0x00, 0x01})},
      {"Rle4", Rle4(10, 2, kRle4Stream)},
      // RLE4 absolute runs take half a byte a pixel: four pixels in two bytes, three in two.
      {"Rle4AbsoluteFour", Rle4(4, 1, {0x00, 0x04, 0x12, 0x34, 0x00, 0x01})},
      {"Rle4AbsoluteThreeUnpadded", Rle4(4, 1, {0x00, 0x03, 0x12, 0x30, 0x00, 0x01})},
      {"Bits16Fields565", Bmp(5, 3, 16).Fields({0xF800, 0x07E0, 0x001F})},
      {"Bits16Plain555", Bmp(5, 3, 16)},
      {"Bits24Skin", Bmp(800, 600)},
      {"Bits24RowsPadded", Bmp(3, 2)},
      {"Bits24TopDown", Bmp(6, -5)},
      {"Bits32", Bmp(7, 2, 32)},
      {"V5Fields", Bmp(3, 3, 32).Header(124).Fields({0xFF0000, 0xFF00, 0xFF, 0xFF000000})},
      {"V5Bits24", Bmp(9, 2).Header(124)},
      {"Core24", Bmp(5, 4).Header(12)},
      {"Core8", Bmp(5, 4, 8).Header(12)},
      {"LargestPicture64MiPixels", Bmp(8192, 8192, 1)},
  };
  return files;
}

// Each case a loop turn rather than a test of its own: under Wine every test is a process.
TEST(BitmapCheck, ValidFilesAreAcceptedAsTheirHeadersSay) {
  for (const Valid& v : ValidFiles()) {
    SCOPED_TRACE(v.name);
    const BitmapCheckResult r = Check(v.bmp.File());
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.width, v.bmp.width);
    EXPECT_EQ(r.height, v.bmp.height);
    EXPECT_EQ(r.bitsPerPixel, v.bmp.bits);
    EXPECT_EQ(r.compression, v.bmp.compression);
  }
}

// The short palettes above are what the check sees: biClrUsed entries, or triples after a core
// header, and the rows right after them.
TEST(BitmapCheck, TheWriterLaysOutShortAndCorePalettes) {
  EXPECT_EQ(Bmp(10, 4, 8).Colours(16).File().size(), 14u + 40u + 16u * 4u + 12u * 4u);
  EXPECT_EQ(Bmp(5, 4, 8).Header(12).File().size(), 14u + 12u + 256u * 3u + 8u * 4u);
}

struct Refusal {
  const char* name;
  Bytes file;
  std::wstring_view problem;  // words the reason holds
};

Bytes Cut(Bytes file, std::size_t length) {
  file.resize(length);
  return file;
}
Bytes WithOffset(Bytes file, std::uint32_t offset) {
  bmpio::Set32(file, 10, offset);
  return file;
}

std::vector<Refusal> Refusals() {
  const Bytes small = Bmp().File();
  const std::uint32_t size = Size32(small.size());
  const std::string text = "This is a plain text file, not a picture.\n";
  return {
      // Not bitmaps at all.
      {"Empty", {}, L"empty"},
      {"Text", Bytes(text.begin(), text.end()), L"not a Windows bitmap"},
      {"Png",
       {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H',
        'D',  'R', 0,   0,   0,    1,    0,    0,    0, 1, 8, 2,  0,   0},
       L"not a Windows bitmap"},
      {"OneByte", {'B'}, L"not a Windows bitmap"},
      {"FileHeaderCut", {'B', 'M', 0, 0, 0, 0, 0}, L"truncated"},
      // Headers that lie about the file.
      {"InfoHeaderCut", Cut(small, 30), L"truncated"},
      {"HalfThePixels", Bmp(800, 600).Rows(Bytes(800u * 3u * 300u, 0x40)).File(),
       L"pixel data is shorter"},
      {"OffsetPastTheEnd", WithOffset(small, size + 1), L"pixel offset lies past the end"},
      {"OffsetFarPastTheEnd", WithOffset(small, 0xFFFFFFFFu), L"pixel offset lies past the end"},
      {"OffsetAtTheEnd", WithOffset(small, size), L"pixel data is shorter"},
      {"OffsetInsideTheHeader", Bmp().Offset(20).File(), L"inside the header"},
      {"OffsetOverTheMasks", Bmp(4, 4, 16).Fields({0xF800, 0x07E0, 0x001F}).Offset(54).File(),
       L"inside the header"},
      {"PaletteNotInTheFile", Bmp(4, 4, 8).Entries(16).File(), L"palette"},
      {"CorePaletteNotInTheFile", Bmp(4, 4, 8).Header(12).Entries(200).File(), L"palette"},
      // Forms the menu does not take.
      {"Bits7", Bmp(4, 4, 7).File(), L"bits per pixel 7"},
      {"Core16", Bmp(4, 4, 16).Header(12).File(), L"bits per pixel 16"},
      {"TwoPlanes", Bmp().With([](Bmp& b) { b.planes = 2; }).File(), L"planes"},
      {"Header64", Bmp().Header(64).File(), L"header size 64"},
      {"Compression4", Bmp().With([](Bmp& b) { b.compression = 4; }).File(), L"compression"},
      {"Compression5", Bmp().With([](Bmp& b) { b.compression = 5; }).File(), L"compression"},
      {"Compression6", Bmp().With([](Bmp& b) { b.compression = 6; }).File(), L"compression"},
      {"CompressionMax", Bmp().With([](Bmp& b) { b.compression = ~0u; }).File(), L"compression"},
      {"Fields24", Bmp().Fields({0xFF0000, 0xFF00, 0xFF}).File(), L"bit fields"},
      // Palettes beyond the depth.
      {"Palette257", Bmp(4, 4, 8).Colours(257).File(), L"palette"},
      {"Palette100000", Bmp(4, 4, 8).Colours(100000).File(), L"palette"},
      {"Palette3At1Bit", Bmp(4, 4, 1).Colours(3).File(), L"palette"},
      {"Palette17At4Bits", Bmp(4, 4, 4).Colours(17).File(), L"palette"},
      {"PaletteMax", Bmp(4, 4, 8).Colours(~0u).Entries(256).File(), L"palette"},
      // Sizes without pixels, or too many.
      {"NoWidth", Bmp(0, 4).File(), L"no width"},
      {"NegativeWidth", Bmp(-4, 4).File(), L"no width"},
      {"NoHeight", Bmp(4, 0).File(), L"no height"},
      {"LowestHeight", Bmp(4, INT32_MIN).Rows(Bytes(64, 0)).File(), L"height"},
      {"Huge", Bmp(100000, 100000).Rows(Bytes(16, 0)).File(), L"too large"},
      {"OnePixelRowOver64Mi", Bmp(8193, 8192, 1).Rows(Bytes(16, 0)).File(), L"too large"},
      {"OnePixelOver64Mi", Bmp(5, 13421773, 1).Rows(Bytes(16, 0)).File(), L"too large"},
      {"LongestRow", Bmp(INT32_MAX, 1).Rows(Bytes(16, 0)).File(), L"too large"},
      {"WideWithoutPixels", Bmp(40000, 10).Rows({}).File(), L"pixel data is shorter"},
      // RLE streams leaving a 4 x 2 picture: along a row, above the last row, by a delta.
      {"Rle8RunPastTheRow", Rle8(4, 2, {0x05, 0x01, 0x00, 0x01}).File(), L"runs past"},
      {"Rle8SecondRunPastTheRow", Rle8(4, 2, {0x02, 0x01, 0x03, 0x01, 0x00, 0x01}).File(),
       L"runs past"},
      {"Rle8AbsolutePastTheRow", Rle8(4, 2, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}).File(), L"runs past"},
      {"Rle4AbsolutePastTheRow", Rle4(4, 2, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}).File(),
       L"runs past"},
      {"Rle8RunAboveTheTop", Rle8(4, 2, {0, 0, 0, 0, 1, 1, 0, 1}).File(), L"runs past"},
      {"Rle8AbsoluteAboveTheTop", Rle8(4, 2, {0, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}).File(),
       L"runs past"},
      {"Rle8DeltaPastTheRight", Rle8(4, 2, {0, 2, 5, 0, 0, 1}).File(), L"moves past"},
      {"Rle8DeltaFromARunPastTheRight", Rle8(4, 2, {3, 1, 0, 2, 2, 0, 0, 1}).File(), L"moves past"},
      {"Rle8DeltaPastTheTop", Rle8(4, 2, {0, 2, 0, 3, 0, 1}).File(), L"moves past"},
      // RLE streams that stop short; the pad byte of an odd absolute run belongs to its command.
      {"Rle8HalfACommand", Rle8(4, 2, {0x02}).File(), L"middle of a command"},
      {"Rle8HalfADelta", Rle8(4, 2, {0, 2, 1}).File(), L"middle of a command"},
      {"Rle8HalfAnAbsoluteRun", Rle8(4, 2, {0, 4, 1, 2}).File(), L"middle of a command"},
      {"Rle8NoPadByte", Rle8(4, 2, {0, 3, 1, 2, 3}).File(), L"middle of a command"},
      {"Rle8NoMarker", Rle8(4, 2, {2, 1, 0, 0}).File(), L"end-of-bitmap"},
      {"Rle8NoStream", Rle8(4, 2, {}).File(), L"end-of-bitmap"},
      {"Rle8SizeEndsBeforeTheMarker",
       Rle8(4, 2, {2, 1, 0, 1}).With([](Bmp& b) { b.imageSize = 2; }).File(), L"end-of-bitmap"},
      // RLE at the wrong depth or top-down.
      {"Rle4At8Bits", Rle4(4, 2, {0, 1}).With([](Bmp& b) { b.bits = 8; }).File(), L"RLE4"},
      {"Rle8At4Bits", Rle8(4, 2, {0, 1}).With([](Bmp& b) { b.bits = 4; }).File(), L"RLE8"},
      {"Rle8TopDown", Rle8(4, -2, {0, 1}).File(), L"top-down"},
      {"Rle4TopDown", Rle4(4, -2, {0, 1}).File(), L"top-down"},
  };
}

TEST(BitmapCheck, FilesADecoderCouldTripOverAreRefusedForTheirProblem) {
  for (const Refusal& refusal : Refusals()) {
    SCOPED_TRACE(refusal.name);
    const BitmapCheckResult r = Check(refusal.file);
    EXPECT_FALSE(r.ok) << "accepted as " << r.width << " x " << r.height;
    EXPECT_NE(r.reason.find(refusal.problem), std::wstring::npos)
        << "refused for \"" << r.reason << "\", expected \"" << std::wstring(refusal.problem)
        << "\"";
  }
}

// The valid files small enough to cut and damage byte by byte.
std::vector<Bytes> SmallValidFiles() {
  std::vector<Bytes> files;
  for (const Valid& v : ValidFiles()) {
    if (Magnitude(v.bmp.width) * Magnitude(v.bmp.height) <= 1000) files.push_back(v.bmp.File());
  }
  return files;
}

// Every prefix of a well-formed file lacks part of its headers, palette or pixels (the RLE streams
// end with their marker), so only the whole file passes.
TEST(BitmapCheck, EveryTruncationIsRefused) {
  const std::vector<Bytes> files = SmallValidFiles();
  EXPECT_GE(files.size(), 15u);
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

// What an accepted file's own bytes say, against what the check reported; empty when they agree.
std::string Inconsistency(const Bytes& file, const BitmapCheckResult& r) {
  using bmp::ReadU16;
  using bmp::ReadU32;
  if (file.size() < 30 || file[0] != 'B' || file[1] != 'M') return "accepted without a header";
  const std::uint32_t headerSize = ReadU32(file, 14);
  const bool core = headerSize == 12;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::uint64_t colours = 0;
  if (core) {
    width = ReadU16(file, 18);
    height = ReadU16(file, 20);
    bits = ReadU16(file, 24);
  } else {
    if (file.size() < 54) return "accepted with a short info header";
    width = static_cast<std::int32_t>(ReadU32(file, 18));
    height = static_cast<std::int32_t>(ReadU32(file, 22));
    bits = ReadU16(file, 28);
    compression = ReadU32(file, 30);
    colours = ReadU32(file, 46);
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
  const std::uint64_t pixelOffset = ReadU32(file, 10);
  if (14 + headerSize + masks + colours * (core ? 3u : 4u) > file.size()) {
    return "accepted a palette past the end";
  }
  if (pixelOffset < 14 + headerSize + masks || pixelOffset > file.size()) {
    return "accepted a pixel offset outside the file";
  }
  if (compression == 0 || compression == 3) {
    if (pixelOffset + bmp::RowStride(columns, bits) * rows > file.size()) {
      return "accepted short pixels";
    }
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
  for (const Bytes& original : SmallValidFiles()) {
    const std::size_t headerEnd = std::min<std::size_t>(original.size(), 14 + 40 + 16);
    for (int mutation = 0; mutation < 400; ++mutation) {
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

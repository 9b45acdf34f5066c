// The PNG chunk check: files of every colour type, bit depth and interlacing pass with the bytes
// their rows take; each rule of the format broken once is refused with a reason naming it.
#include "PngCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PngFormat.h"
#include "PngWriter.h"

namespace rt {
namespace {

using pngio::Bytes;

using File = pngio::Chunks;

// The header's fields only, for a header of a picture too large to write.
pngio::Image Header(std::uint32_t w, std::uint32_t h, std::uint8_t colour, std::uint8_t depth) {
  pngio::Image image;
  image.width = w;
  image.height = h;
  image.colourType = colour;
  image.bitDepth = depth;
  return image;
}

pngio::Image Picture(std::uint32_t w, std::uint32_t h, std::uint8_t colour, std::uint8_t depth) {
  pngio::Image image = Header(w, h, colour, depth);
  const std::size_t samples = std::size_t{w} * h * static_cast<std::size_t>(png::Channels(colour));
  for (std::size_t i = 0; i < samples; ++i) {
    image.samples.push_back(static_cast<std::uint16_t>(i % (depth == 16 ? 65536 : 1u << depth)));
  }
  if (colour == png::kPalette) image.palette.assign(std::size_t{1} << depth, pngio::Rgba{});
  return image;
}

// A 4 x 4 RGBA picture: IHDR, IDAT, IEND.
File Base() {
  const pngio::Image image = Picture(4, 4, png::kRgbAlpha, 8);
  return pngio::Layout(image);
}

// The base file with its header's byte `at` set to `value`.
Bytes HeaderByte(std::size_t at, std::uint8_t value, File file = Base()) {
  file.list[0].data[at] = value;
  return file.Write();
}

Bytes Side(std::size_t at, std::uint32_t value) {
  File file = Base();
  for (int i = 0; i < 4; ++i) {
    file.list[0].data[at + static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }
  return file.Write();
}

// A base file changed by `edit`.
Bytes Edited(const std::function<void(File&)>& edit) {
  File file = Base();
  edit(file);
  return file.Write();
}

// A 4 x 4 picture of 16 palette entries at 4 bits, changed by `edit`.
Bytes PalettedEdited(const std::function<void(File&)>& edit) {
  const pngio::Image image = Picture(4, 4, png::kPalette, 4);
  File file = pngio::Layout(image);
  edit(file);
  return file.Write();
}

Bytes WholeEdited(const std::function<void(Bytes&)>& edit) {
  Bytes bytes = Base().Write();
  edit(bytes);
  return bytes;
}

struct Refusal {
  const char* name;
  std::function<Bytes()> file;
  const char* reason;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class PngRefused : public testing::TestWithParam<Refusal> {};

TEST_P(PngRefused, WithItsReason) {
  const Bytes file = GetParam().file();
  const PngCheckResult result = CheckPngFile(file);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(Narrow(result.reason).find(GetParam().reason), std::string::npos)
      << "refused for \"" << Narrow(result.reason) << "\"";
}

const Refusal kRefusals[] = {
    {"Empty", [] { return Bytes{}; }, "the file is empty"},
    {"Bitmap", [] { return Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}; }, "not a PNG picture"},
    {"SignatureOnly", [] { return Bytes(png::kSignature.begin(), png::kSignature.end()); },
     "ends without its IEND chunk"},
    {"CutInsideAChunkHead", [] { return WholeEdited([](Bytes& b) { b.resize(17); }); },
     "ends inside a chunk"},
    {"CutInsideTheData", [] { return WholeEdited([](Bytes& b) { b.resize(b.size() - 20); }); },
     "IDAT chunk runs past the end of the file"},
    {"LengthOver31Bits", [] { return WholeEdited([](Bytes& b) { b[8] = 0x80; }); },
     "IHDR chunk's length is out of range"},
    {"WrongCrc", [] { return WholeEdited([](Bytes& b) { b[20] ^= 1; }); },
     "IHDR chunk's CRC is wrong"},
    {"TypeNotLetters",
     [] { return Edited([](File& f) {
            f.list.insert(f.list.begin() + 1, {"t3XT", {}});
          }); },
     "type is not four letters"},
    {"HeaderNotFirst", [] { return Edited([](File& f) { std::swap(f.list[0], f.list[1]); }); },
     "does not begin with an IHDR chunk"},
    {"HeaderTooShort", [] { return Edited([](File& f) { f.list[0].data.pop_back(); }); },
     "IHDR chunk's length is wrong"},
    {"SecondHeader",
     [] { return Edited([](File& f) { f.list.insert(f.list.begin() + 1, f.list[0]); }); },
     "second IHDR chunk"},
    {"WidthZero", [] { return Side(0, 0); }, "width 0 is outside 1 to 32767"},
    {"Width32768", [] { return Side(0, 32768); }, "width 32768 is outside"},
    {"HeightZero", [] { return Side(4, 0); }, "height 0 is outside"},
    {"HeightFull32Bits", [] { return Side(4, 0xFFFFFFFFu); }, "height 4294967295 is outside"},
    {"TooManyPixels",
     [] {
       return Edited([](File& f) {
         f.list[0].data = pngio::HeaderData(Header(16384, 16384, png::kGrey, 1));
       });
     },
     "too large (16384 x 16384 pixels)"},
    {"ColourType5", [] { return HeaderByte(9, 5); }, "unknown colour type 5"},
    {"ColourType7", [] { return HeaderByte(9, 7); }, "unknown colour type 7"},
    {"RgbAt4Bits", [] { return HeaderByte(8, 4, pngio::Layout(Picture(4, 4, 2, 8))); },
     "colour type 2 does not allow bit depth 4"},
    {"PaletteAt16Bits", [] { return PalettedEdited([](File& f) { f.list[0].data[8] = 16; }); },
     "colour type 3 does not allow bit depth 16"},
    {"GreyAt3Bits", [] { return HeaderByte(8, 3, pngio::Layout(Picture(4, 4, 0, 8))); },
     "colour type 0 does not allow bit depth 3"},
    {"Compression1", [] { return HeaderByte(10, 1); }, "unknown compression method 1"},
    {"Filter1", [] { return HeaderByte(11, 1); }, "unknown filter method 1"},
    {"Interlace2", [] { return HeaderByte(12, 2); }, "unknown interlace method 2"},
    {"PaletteMissing",
     [] { return PalettedEdited([](File& f) { f.list.erase(f.list.begin() + 1); }); },
     "colour type 3 needs a PLTE chunk"},
    {"PaletteInGrey",
     [] {
       return Edited([](File& f) {
         f.list[0].data[9] = png::kGreyAlpha;
         f.list.insert(f.list.begin() + 1, {"PLTE", Bytes(3, 0)});
       });
     },
     "colour type 4 cannot have a PLTE chunk"},
    {"PaletteNotInThrees",
     [] { return PalettedEdited([](File& f) { f.list[1].data.resize(10); }); },
     "PLTE chunk's length 10 is not 3 to 768"},
    {"PaletteEmpty", [] { return PalettedEdited([](File& f) { f.list[1].data.clear(); }); },
     "PLTE chunk's length 0"},
    {"PaletteLongerThanTheDepth",
     [] { return PalettedEdited([](File& f) { f.list[1].data.resize(51); }); },
     "17 colours, more than bit depth 4 can index"},
    {"PaletteAfterPixels",
     [] { return Edited([](File& f) {
            f.list.insert(f.list.end() - 1, {"PLTE", Bytes(3, 0)});
          }); },
     "PLTE chunk comes after the pixel data"},
    {"SecondPalette",
     [] { return PalettedEdited([](File& f) { f.list.insert(f.list.begin() + 1, f.list[1]); }); },
     "second PLTE chunk"},
    {"TransparencyInRgba",
     [] {
       return Edited([](File& f) { f.list.insert(f.list.begin() + 1, {"tRNS", Bytes(6, 0)}); });
     },
     "colour type 6 cannot have a tRNS chunk"},
    {"TransparencyLongerThanThePalette",
     [] {
       return PalettedEdited([](File& f) {
         f.list.insert(f.list.begin() + 2, {"tRNS", Bytes(17, 0)});
       });
     },
     "tRNS chunk has more entries than the palette"},
    {"PixelsApart",
     [] {
       return Edited([](File& f) {
         f.list.insert(f.list.end() - 1, {"tEXt", {'a', 0, 'b'}});
         f.list.insert(f.list.end() - 1, {"IDAT", {}});
       });
     },
     "IDAT chunks are not all together"},
    {"NoPixels", [] { return Edited([](File& f) { f.list.erase(f.list.begin() + 1); }); },
     "has no pixel data"},
    {"UnknownCriticalChunk",
     [] {
       return Edited([](File& f) { f.list.insert(f.list.begin() + 1, {"CgBI", Bytes(4, 0)}); });
     },
     "CgBI chunk is critical and unknown"},
    {"EndWithData", [] { return Edited([](File& f) { f.list.back().data = {0}; }); },
     "IEND chunk is not empty"},
    {"BytesAfterTheEnd", [] { return WholeEdited([](Bytes& b) { b.push_back(0); }); },
     "bytes follow the IEND chunk"},
    {"NoEnd", [] { return Edited([](File& f) { f.list.pop_back(); }); },
     "ends without its IEND chunk"},
    // 8000 x 8000 RGBA needs 256 MB of rows; 12 bytes of compressed data cannot hold them.
    {"InflatesFarPastItsData",
     [] {
       return Edited([](File& f) {
         f.list[0].data = pngio::HeaderData(Header(8000, 8000, png::kRgbAlpha, 8));
         f.list[1].data = {0x78, 0x9C, 0xED, 0xC1, 0x01, 0x0D, 0, 0, 0, 0xC2, 0xA0, 0xF7};
       });
     },
     "compressed pixel data is too short for the picture's size"},
};

INSTANTIATE_TEST_SUITE_P(EachRule, PngRefused, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& p) { return p.param.name; });

// Every colour type at every depth it allows, plain and interlaced, at sizes that leave passes
// empty: accepted, with the bytes the writer's own rows take.
TEST(PngAccepted, EveryColourTypeAndDepthWithTheRowsItsDataHolds) {
  const std::vector<std::pair<std::uint8_t, std::vector<std::uint8_t>>> kinds = {
      {png::kGrey, {1, 2, 4, 8, 16}},
      {png::kRgb, {8, 16}},
      {png::kPalette, {1, 2, 4, 8}},
      {png::kGreyAlpha, {8, 16}},
      {png::kRgbAlpha, {8, 16}}};
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes = {{1, 1}, {3, 2}, {9, 5}};
  int checked = 0;
  for (const auto& [colour, depths] : kinds) {
    for (const std::uint8_t depth : depths) {
      for (const auto& [w, h] : sizes) {
        for (const bool interlaced : {false, true}) {
          pngio::Image image = Picture(w, h, colour, depth);
          image.interlaced = interlaced;
          SCOPED_TRACE(testing::Message() << "colour " << int{colour} << " depth " << int{depth}
                                          << " " << w << "x" << h << (interlaced ? " Adam7" : ""));
          const PngCheckResult r = CheckPngFile(pngio::Write(image, 7));
          ASSERT_TRUE(r.ok) << Narrow(r.reason);
          EXPECT_EQ(r.width, static_cast<int>(w));
          EXPECT_EQ(r.height, static_cast<int>(h));
          EXPECT_EQ(r.bitDepth, depth);
          EXPECT_EQ(r.colourType, colour);
          EXPECT_EQ(r.interlaced, interlaced);
          EXPECT_EQ(r.rawBytes, pngio::FilteredRows(image).size());
          ++checked;
        }
      }
    }
  }
  EXPECT_EQ(checked, 15 * 3 * 2);
}

TEST(PngAccepted, RowBytesCountEveryPassAndItsFilterBytes) {
  // 8 x 8 at 1 bit: passes of 1x1, 1x1, 2x1, 2x2, 4x2, 4x4, 8x4 pixels, each row one byte.
  EXPECT_EQ(PngRawBytes(8, 8, 1, png::kGrey, true), 2u + 2 + 2 + 4 + 4 + 8 + 8);
  // 1 x 1: only the first pass has a pixel.
  EXPECT_EQ(PngRawBytes(1, 1, 16, png::kRgbAlpha, true), 9u);
  // 32767 x 2048 at 16-bit RGBA, not interlaced: no overflow on the way.
  EXPECT_EQ(PngRawBytes(32767, 2048, 16, png::kRgbAlpha, false), 2048u * (1 + 32767u * 8));
}

TEST(PngAccepted, AncillaryChunksAnywhereAndAnEmptyIdatAmongOthers) {
  const Bytes file = Edited([](File& f) {
    f.list.insert(f.list.begin() + 1, {"tEXt", {'a', 0, 'b'}});
    f.list.insert(f.list.begin() + 2, {"IDAT", {}});
    f.list.insert(f.list.end() - 1, {"zzZz", {1, 2, 3}});
  });
  const PngCheckResult r = CheckPngFile(file);
  EXPECT_TRUE(r.ok) << Narrow(r.reason);
}

}  // namespace
}  // namespace rt

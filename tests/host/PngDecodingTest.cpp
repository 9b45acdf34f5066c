// PNG files through the system's decoder (libspng on the host, the imaging component under Wine,
// the same test in both builds): every colour type, bit depth and interlacing gives the same
// 8-bit RGBA pixels, the ones the writer says. And PNG files through the picture loading: decoded
// with alpha by their name, refused with the reason and the file named.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "FakePlatform.h"
#include "PngCheck.h"
#include "PngDecode.h"
#include "PngFormat.h"
#include "PngWriter.h"
#include "RunTimeError.h"

namespace {

using pngio::Bytes;
using pngio::Image;
using pngio::Rgba;

struct Format {
  std::uint8_t colour;
  std::uint8_t depth;
  bool interlaced;
  bool keyed;  // grey or RGB with a transparent colour; a palette with alphas
};

// 13 x 7 pixels of random samples; 16-bit samples are whole multiples of 257, which every decoder
// cuts to 8 bits alike (its high byte, and its rounded value, are the same).
Image Random(const Format& f) {
  std::mt19937 random(f.colour * 100u + f.depth);
  Image image;
  image.width = 13;
  image.height = 7;
  image.colourType = f.colour;
  image.bitDepth = f.depth;
  image.interlaced = f.interlaced;
  const std::uint32_t levels = f.colour == rt::png::kPalette ? (1u << f.depth) - 3u
                               : f.depth == 16               ? 256u
                                                             : 1u << f.depth;
  const std::size_t count = 13u * 7u * static_cast<std::size_t>(rt::png::Channels(f.colour));
  for (std::size_t i = 0; i < count; ++i) {
    const auto value = static_cast<std::uint32_t>(random() % levels);
    image.samples.push_back(static_cast<std::uint16_t>(f.depth == 16 ? value * 257 : value));
  }
  if (f.colour == rt::png::kPalette) {
    // Fewer entries than the depth can index, with alphas where keyed.
    for (std::uint32_t i = 0; i < levels; ++i) {
      image.palette.push_back({static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(f.keyed ? random() % 256 : 255)});
    }
  } else if (f.keyed) {
    const auto channels = static_cast<std::size_t>(rt::png::Channels(f.colour));
    image.transparent.assign(image.samples.begin() + 5 * static_cast<std::ptrdiff_t>(channels),
                             image.samples.begin() + 6 * static_cast<std::ptrdiff_t>(channels));
  }
  return image;
}

std::vector<Format> EveryFormat() {
  const std::vector<std::pair<std::uint8_t, std::vector<std::uint8_t>>> kinds = {
      {rt::png::kGrey, {1, 2, 4, 8, 16}},
      {rt::png::kRgb, {8, 16}},
      {rt::png::kPalette, {2, 4, 8}},
      {rt::png::kGreyAlpha, {8, 16}},
      {rt::png::kRgbAlpha, {8, 16}}};
  std::vector<Format> formats;
  for (const auto& [colour, depths] : kinds) {
    for (const std::uint8_t depth : depths) {
      for (const bool interlaced : {false, true}) {
        formats.push_back({colour, depth, interlaced, false});
        const bool keyable =
            colour == rt::png::kGrey || colour == rt::png::kRgb || colour == rt::png::kPalette;
        if (keyable) formats.push_back({colour, depth, interlaced, true});
      }
    }
  }
  return formats;
}

std::string Name(const testing::TestParamInfo<Format>& p) {
  return "Colour" + std::to_string(p.param.colour) + "Depth" + std::to_string(p.param.depth) +
         (p.param.interlaced ? "Adam7" : "") + (p.param.keyed ? "Transparent" : "");
}

class PngDecoding : public testing::TestWithParam<Format> {};

TEST_P(PngDecoding, GivesTheWritersPixels) {
  const Image image = Random(GetParam());
  const Bytes file = pngio::Write(image, 37);
  ASSERT_TRUE(rt::CheckPngFile(file).ok);
  const pngio::Decoded decoded = pngio::DecodeWithSystem(file);
  ASSERT_TRUE(decoded.ok) << decoded.problem;
  ASSERT_EQ(decoded.width, 13);
  ASSERT_EQ(decoded.height, 7);
  const std::vector<Rgba> expected = pngio::ExpectedPixels(image);
  int wrong = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Rgba& got = decoded.pixels[i];
    const Rgba& want = expected[i];
    if (!(got == want) && wrong++ < 3) {
      ADD_FAILURE() << "pixel " << i % 13 << "," << i / 13 << " is " << int{got.r} << " "
                    << int{got.g} << " " << int{got.b} << " " << int{got.a} << ", expected "
                    << int{want.r} << " " << int{want.g} << " " << int{want.b} << " "
                    << int{want.a};
    }
  }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, PngDecoding, testing::ValuesIn(EveryFormat()), Name);

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The picture loading takes a file whose name ends in .png, in any case, as PNG, and gives its
// alpha with its colours.
TEST(PictureGatePng, DecodedWithAlphaByItsName) {
  Image image = Random({rt::png::kRgbAlpha, 8, false, false});
  const std::vector<Rgba> expected = pngio::ExpectedPixels(image);
  for (const std::wstring path : {L"C:\\img\\main.png", L"C:\\IMG\\MAIN.PNG"}) {
    rt::FakePlatform platform;
    platform.files[path] = pngio::Write(image);
    const rt::Picture picture = platform.LoadPicture(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(platform.decoded, std::vector<std::wstring>{L"png " + path});
    ASSERT_EQ(picture.Width(), 13);
    ASSERT_EQ(picture.Height(), 7);
    EXPECT_EQ(pngio::PixelsDiffering(*picture.Data(), expected), 0u);
  }
}

struct Refused {
  const char* name;
  std::wstring path;
  Bytes bytes;
  const char* reason;
};

// Refused by the check or by the decoder: the error of any broken picture, naming the file and
// the reason; the check's refusals never reach a decoder.
TEST(PictureGatePng, RefusedFilesGiveThePictureErrorWithTheirReason) {
  const Image image = Random({rt::png::kRgb, 8, false, false});
  const Bytes good = pngio::Write(image);
  Bytes shortStream = pngio::StoredZlib(pngio::FilteredRows(image));
  shortStream.resize(shortStream.size() / 2);
  pngio::Chunks badCrc = pngio::Layout(image);
  Bytes crcBroken = badCrc.Write();
  crcBroken[crcBroken.size() - 20] ^= 0x10;  // inside the last IDAT's data
  const Refused cases[] = {
      {"a bitmap named .png", L"C:\\main.png", Bytes{'B', 'M', 0, 0, 0, 0}, "not a png picture"},
      {"a PNG named .bmp", L"C:\\main.bmp", good, "not a windows bitmap"},
      {"a broken CRC", L"C:\\main.png", crcBroken, "idat chunk's crc is wrong"},
      {"a stream that ends early", L"C:\\main.png",
       pngio::Layout(image, 8192, &shortStream).Write(), "system could not decode it"},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    rt::FakePlatform platform;
    platform.files[c.path] = c.bytes;
    try {
      platform.LoadPicture(c.path);
      ADD_FAILURE() << "no error raised";
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), rt::kErrInvalidPicture);
      EXPECT_EQ(error.Subject(), c.path);
      std::string report = Narrow(rt::FormatErrorReport(error));
      for (char& ch : report) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_NE(report.find(c.reason), std::string::npos) << report;
    }
    const bool decoderSaw = std::string(c.reason) == "system could not decode it";
    EXPECT_EQ(platform.decoded.size(), decoderSaw ? 1u : 0u);
  }
}

}  // namespace

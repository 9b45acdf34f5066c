// The corpus's PNG files: the pattern in every colour type, bit depth and interlacing, with
// transparency where the format has it; and files that break each rule of the format, cut short,
// or hold compressed data a decoder must refuse.
#include <functional>

#include "PngFormat.h"
#include "pattern.h"

namespace corpus {

namespace {

using pngio::Image;
using pngio::Rgba;
using namespace rt::png;

Rgba Opaque(const Rgb& c) { return {c.r, c.g, c.b, 255}; }

// The pattern at the colour type and depth: its colours as they are where the type holds them,
// greys of the depth where not; a 1-bit picture has no black corners. With `holes`, the corners
// are transparent: by alpha, by the palette's alpha, or as the transparent colour.
Image PatternImage(Kind kind, std::uint8_t colour, std::uint8_t depth, bool interlaced = false,
                   bool holes = false) {
  const PictureSize size = SizeOf(kind);
  const bool corners = depth != 1;
  Image image;
  image.width = static_cast<std::uint32_t>(size.width);
  image.height = static_cast<std::uint32_t>(size.height);
  image.colourType = colour;
  image.bitDepth = depth;
  image.interlaced = interlaced;
  const std::uint32_t top = depth == 16 ? 65535u : (1u << depth) - 1u;
  auto level = [&](std::uint8_t byte) {  // an 8-bit value at the depth
    return static_cast<std::uint16_t>(depth == 16 ? byte * 257u : byte * top / 255u);
  };
  // Black, and a third and two thirds of white (for 1 bit, the two colours black and white).
  const std::array<std::uint16_t, 3> greys = {
      0, static_cast<std::uint16_t>(depth == 1 ? 0 : top / 3),
      static_cast<std::uint16_t>(depth == 1 ? 1 : top * 2 / 3)};
  if (colour == kPalette) {
    if (corners) image.palette.push_back({0, 0, 0, static_cast<std::uint8_t>(holes ? 0 : 255)});
    image.palette.push_back(Opaque(ColourOf(kind, 1)));
    image.palette.push_back(Opaque(ColourOf(kind, 2)));
    // Filler entries up to what the depth can index: a decoder that takes the wrong one shows it.
    while (image.palette.size() < std::min<std::size_t>(std::size_t{1} << depth, 256)) {
      image.palette.push_back({255, 0, 255, 255});
    }
  }
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const int index = PatternIndex(kind, corners, x, y);
      const Rgb c = ColourOf(kind, index);
      const bool hole = index == 0;
      switch (colour) {
        case kPalette:
          image.samples.push_back(static_cast<std::uint16_t>(corners ? index : index - 1));
          break;
        case kGrey:
        case kGreyAlpha:
          image.samples.push_back(greys[static_cast<std::size_t>(index)]);
          if (colour == kGreyAlpha) image.samples.push_back(hole ? 0 : level(255));
          break;
        default:
          image.samples.insert(image.samples.end(), {level(c.r), level(c.g), level(c.b)});
          if (colour == kRgbAlpha) image.samples.push_back(hole ? 0 : level(255));
          break;
      }
    }
  }
  if (holes && colour == kGrey) image.transparent = {0};
  if (holes && colour == kRgb) image.transparent = {0, 0, 0};
  return image;
}

// The pattern at 8-bit RGB, cut into IDAT chunks of 8 KB, changed by `edit`.
Bytes Edited(Kind kind, const std::function<void(pngio::Chunks&)>& edit, const Image& image = {}) {
  pngio::Chunks file = pngio::Layout(image.width != 0 ? image : PatternImage(kind, kRgb, 8));
  edit(file);
  return file.Write();
}

void SetBig32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }
}

// The header of the pattern file with its width and height, depth and colour type, and methods.
Bytes WithHeader(Kind kind, std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                 std::uint8_t colour, std::array<std::uint8_t, 3> methods = {0, 0, 0}) {
  return Edited(kind, [&](pngio::Chunks& f) {
    Bytes& header = f.Find("IHDR").data;
    SetBig32(header, 0, width);
    SetBig32(header, 4, height);
    header[8] = depth;
    header[9] = colour;
    std::copy(methods.begin(), methods.end(), header.begin() + 10);
  });
}

// Where the first IDAT chunk begins: behind the signature and the 25 bytes of IHDR.
constexpr std::size_t kFirstChunkAfterHeader = 8 + 25;

void AddValid(CaseList& list) {
  const Kind kind = list.kind();
  struct Plain {
    const char* name;
    std::uint8_t colour;
    std::uint8_t depth;
  };
  static constexpr Plain kPlain[] = {{"grey-1", kGrey, 1},
                                     {"grey-2", kGrey, 2},
                                     {"grey-4", kGrey, 4},
                                     {"grey-8", kGrey, 8},
                                     {"grey-16", kGrey, 16},
                                     {"rgb-8", kRgb, 8},
                                     {"rgb-16", kRgb, 16},
                                     {"palette-1", kPalette, 1},
                                     {"palette-2", kPalette, 2},
                                     {"palette-4", kPalette, 4},
                                     {"palette-8", kPalette, 8},
                                     {"greyalpha-8", kGreyAlpha, 8},
                                     {"greyalpha-16", kGreyAlpha, 16},
                                     {"rgba-8", kRgbAlpha, 8},
                                     {"rgba-16", kRgbAlpha, 16}};
  for (const Plain& p : kPlain) {
    const bool alpha = p.colour == kGreyAlpha || p.colour == kRgbAlpha;
    list.ValidPng(p.name,
                  "colour type " + std::to_string(p.colour) + " at " + std::to_string(p.depth) +
                      " bits" + (alpha ? ", transparent corners" : ""),
                  PatternImage(kind, p.colour, p.depth, false, alpha));
  }
  list.ValidPng("grey-1-adam7", "grey at 1 bit, interlaced", PatternImage(kind, kGrey, 1, true));
  list.ValidPng("palette-4-adam7", "palette at 4 bits, interlaced",
                PatternImage(kind, kPalette, 4, true));
  list.ValidPng("rgb-16-adam7", "RGB at 16 bits, interlaced", PatternImage(kind, kRgb, 16, true));
  list.ValidPng("rgba-8-adam7", "RGBA at 8 bits, interlaced, transparent corners",
                PatternImage(kind, kRgbAlpha, 8, true, true));
  list.ValidPng("greyalpha-16-adam7", "grey and alpha at 16 bits, interlaced, transparent corners",
                PatternImage(kind, kGreyAlpha, 16, true, true));
  list.ValidPng("palette-8-trns", "palette at 8 bits, its first entry transparent by tRNS",
                PatternImage(kind, kPalette, 8, false, true));
  list.ValidPng("rgb-8-key", "RGB at 8 bits, black transparent by tRNS",
                PatternImage(kind, kRgb, 8, false, true));
  list.ValidPng("grey-8-key", "grey at 8 bits, black transparent by tRNS",
                PatternImage(kind, kGrey, 8, false, true));
}

void AddBroken(CaseList& list) {
  const Kind kind = list.kind();
  const Image base = PatternImage(kind, kRgb, 8);
  const Bytes good = pngio::Write(base);
  const Bytes oneIdat = pngio::Write(base, 1u << 30);

  list.Refused("empty", "an empty file", {}, "the file is empty");
  list.Refused("bitmap", "a Windows bitmap named .png", Plain24(kind).Write(), "not a PNG picture");
  list.Refused("truncated-signature", "the first 4 bytes", Bytes(good.begin(), good.begin() + 4),
               "not a PNG picture");
  list.Refused("truncated-header", "the first 20 bytes", Bytes(good.begin(), good.begin() + 20),
               "IHDR chunk runs past the end of the file");
  list.Refused("truncated-chunk-head", "the first 14 bytes", Bytes(good.begin(), good.begin() + 14),
               "ends inside a chunk");
  list.Refused(
      "truncated-pixels", "one IDAT chunk, cut in the middle",
      Bytes(oneIdat.begin(), oneIdat.begin() + static_cast<std::ptrdiff_t>(oneIdat.size() / 2)),
      "IDAT chunk runs past the end of the file");
  list.Refused("no-end", "no IEND chunk",
               Bytes(good.begin(), good.end() - static_cast<std::ptrdiff_t>(kChunkOverhead)),
               "ends without its IEND chunk");
  {
    Bytes bytes = good;
    SetBig32(bytes, kFirstChunkAfterHeader, 0x10000000u);
    list.Refused("length-past-end", "an IDAT chunk claiming 256 MB", bytes,
                 "IDAT chunk runs past the end of the file");
    SetBig32(bytes, kFirstChunkAfterHeader, 0x80000000u);
    list.Refused("length-32-bits", "an IDAT chunk's length with its top bit set", bytes,
                 "IDAT chunk's length is out of range");
    bytes = good;
    bytes[kFirstChunkAfterHeader + 100] ^= 0x01;
    list.Refused("crc", "one bit of an IDAT chunk's data flipped", bytes,
                 "IDAT chunk's CRC is wrong");
  }
  list.Refused("type-not-letters", "a chunk typed \"t3XT\"",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        f.list.insert(f.list.begin() + 1, {"t3XT", {}});
                      }),
               "type is not four letters");
  list.Refused("header-not-first", "a tEXt chunk before IHDR",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        f.list.insert(f.list.begin(), {"tEXt", {'a', 0, 'b'}});
                      }),
               "does not begin with an IHDR chunk");
  list.Refused("header-length", "an IHDR chunk of 14 bytes",
               Edited(kind, [](pngio::Chunks& f) { f.list[0].data.push_back(0); }),
               "IHDR chunk's length is wrong");
  list.Refused("header-twice", "two IHDR chunks",
               Edited(kind, [](pngio::Chunks& f) { f.list.insert(f.list.begin() + 1, f.list[0]); }),
               "second IHDR chunk");
  const PictureSize size = SizeOf(kind);
  const auto w = static_cast<std::uint32_t>(size.width);
  const auto h = static_cast<std::uint32_t>(size.height);
  list.Refused("width-zero", "width 0", WithHeader(kind, 0, h, 8, kRgb), "width 0 is outside");
  list.Refused("height-32768", "height 32768", WithHeader(kind, w, 32768, 8, kRgb),
               "height 32768 is outside");
  list.Refused("huge", "32767 x 32767 pixels", WithHeader(kind, 32767, 32767, 8, kRgb),
               "too large (32767 x 32767 pixels)");
  list.Refused("colour-type-5", "colour type 5", WithHeader(kind, w, h, 8, 5),
               "unknown colour type 5");
  list.Refused("rgb-4-bits", "RGB at 4 bits", WithHeader(kind, w, h, 4, kRgb),
               "colour type 2 does not allow bit depth 4");
  list.Refused("palette-16-bits", "a palette picture at 16 bits",
               WithHeader(kind, w, h, 16, kPalette), "colour type 3 does not allow bit depth 16");
  list.Refused("compression-1", "compression method 1", WithHeader(kind, w, h, 8, kRgb, {1, 0, 0}),
               "unknown compression method 1");
  list.Refused("filter-method-1", "filter method 1", WithHeader(kind, w, h, 8, kRgb, {0, 1, 0}),
               "unknown filter method 1");
  list.Refused("interlace-2", "interlace method 2", WithHeader(kind, w, h, 8, kRgb, {0, 0, 2}),
               "unknown interlace method 2");

  const Image paletted = PatternImage(kind, kPalette, 4);
  list.Refused("palette-missing", "a palette picture without PLTE",
               Edited(
                   kind, [](pngio::Chunks& f) { f.list.erase(f.list.begin() + 1); }, paletted),
               "colour type 3 needs a PLTE chunk");
  list.Refused("palette-in-grey", "a grey picture with a PLTE chunk",
               Edited(
                   kind,
                   [](pngio::Chunks& f) {
                     f.list.insert(f.list.begin() + 1, {"PLTE", Bytes(6, 9)});
                   },
                   PatternImage(kind, kGrey, 8)),
               "colour type 0 cannot have a PLTE chunk");
  list.Refused("palette-after-pixels", "an RGB picture's PLTE chunk after its IDAT chunks",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        f.list.insert(f.list.end() - 1, {"PLTE", Bytes(6, 9)});
                      }),
               "PLTE chunk comes after the pixel data");
  list.Refused(
      "palette-twice", "two PLTE chunks",
      Edited(
          kind, [](pngio::Chunks& f) { f.list.insert(f.list.begin() + 1, f.list[1]); }, paletted),
      "second PLTE chunk");
  list.Refused("palette-too-long", "17 colours at 4 bits",
               Edited(
                   kind, [](pngio::Chunks& f) { f.list[1].data.resize(51, 7); }, paletted),
               "17 colours, more than bit depth 4 can index");
  list.Refused("palette-length", "a PLTE chunk of 10 bytes",
               Edited(
                   kind, [](pngio::Chunks& f) { f.list[1].data.resize(10); }, paletted),
               "PLTE chunk's length 10");
  list.Refused("trns-in-rgba", "a tRNS chunk in an RGBA picture",
               Edited(
                   kind,
                   [](pngio::Chunks& f) {
                     f.list.insert(f.list.begin() + 1, {"tRNS", Bytes(6, 0)});
                   },
                   PatternImage(kind, kRgbAlpha, 8)),
               "colour type 6 cannot have a tRNS chunk");
  list.Refused("trns-too-long", "17 alphas for 16 palette entries",
               Edited(
                   kind,
                   [](pngio::Chunks& f) {
                     f.list.insert(f.list.begin() + 2, {"tRNS", Bytes(17, 0)});
                   },
                   paletted),
               "tRNS chunk has more entries than the palette");
  list.Refused("pixels-apart", "a tEXt chunk between two IDAT chunks",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        f.list.insert(f.list.begin() + 2, {"tEXt", {'a', 0, 'b'}});
                      }),
               "IDAT chunks are not all together");
  list.Refused("no-pixels", "no IDAT chunk",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        std::erase_if(
                            f.list, [](const pngio::Chunks::Entry& e) { return e.type == "IDAT"; });
                      }),
               "has no pixel data");
  list.Refused("critical-unknown", "an unknown critical chunk \"CgBI\"",
               Edited(kind,
                      [](pngio::Chunks& f) {
                        f.list.insert(f.list.begin() + 1, {"CgBI", Bytes(4, 0)});
                      }),
               "CgBI chunk is critical and unknown");
  list.Refused("end-not-empty", "an IEND chunk with a byte of data",
               Edited(kind, [](pngio::Chunks& f) { f.list.back().data = {0}; }),
               "IEND chunk is not empty");
  {
    Bytes bytes = good;
    bmpio::Append(bytes, Text("trailing bytes"));
    list.Refused("after-end", "14 bytes after IEND", bytes, "bytes follow the IEND chunk");
  }
  // 8000 x 8000 RGBA: 256 MB of rows from 12 bytes of deflate data.
  list.Refused(
      "inflate-bomb", "8000 x 8000 pixels from 12 bytes of compressed data",
      Edited(kind,
             [](pngio::Chunks& f) {
               SetBig32(f.list[0].data, 0, 8000);
               SetBig32(f.list[0].data, 4, 8000);
               f.list[0].data[9] = kRgbAlpha;
               std::erase_if(f.list,
                             [](const pngio::Chunks::Entry& e) { return e.type == "IDAT"; });
               f.list.insert(
                   f.list.end() - 1,
                   {"IDAT", {0x78, 0x9C, 0xED, 0xC1, 0x01, 0x0D, 0, 0, 0, 0xC2, 0xA0, 0xF7}});
             }),
      "compressed pixel data is too short for the picture's size");

  // Chunks in order, compressed data a decoder refuses, or may read as it can.
  const Bytes rows = pngio::FilteredRows(base);
  {
    Bytes stream = pngio::StoredZlib(rows);
    stream.resize(stream.size() / 2);
    list.Undecodable("zlib-ends-early", "the zlib stream cut in half, in well-formed chunks",
                     pngio::Layout(base, 8192, &stream).Write());
  }
  {
    Bytes more = rows;
    more.insert(more.end(), rows.begin(),
                rows.begin() + static_cast<std::ptrdiff_t>(rows.size() / 4));
    const Bytes stream = pngio::StoredZlib(more);
    list.Tolerated("zlib-runs-long", "a zlib stream a quarter longer than the rows",
                   pngio::Layout(base, 8192, &stream).Write(), base);
  }
  {
    Bytes stream = pngio::StoredZlib(rows);
    stream[0] = 0x79;  // compression method 9
    list.Undecodable("zlib-header", "a zlib header of an unknown method",
                     pngio::Layout(base, 8192, &stream).Write());
    stream = pngio::StoredZlib(rows);
    stream.back() ^= 0x01;
    list.Undecodable("zlib-adler", "a zlib stream whose checksum is wrong",
                     pngio::Layout(base, 8192, &stream).Write());
  }
  {
    Bytes filtered = rows;
    filtered[0] = 5;
    const Bytes stream = pngio::StoredZlib(filtered);
    list.Undecodable("row-filter-5", "a row with filter type 5",
                     pngio::Layout(base, 8192, &stream).Write());
  }
  {
    // Three entries, pixels of index 200.
    Image outside = PatternImage(kind, kPalette, 8);
    outside.palette.resize(3);
    for (std::uint16_t& sample : outside.samples) {
      if (sample == 2) sample = 200;
    }
    list.Tolerated("palette-index-outside", "palette indexes past the 3 entries of the palette",
                   pngio::Write(outside), outside);
  }
}

}  // namespace

void AddPngCases(CaseList& list) {
  AddBroken(list);
  AddValid(list);
}

}  // namespace corpus

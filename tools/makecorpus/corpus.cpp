// The corpus: one pattern drawn in every accepted format, and files that break one rule each.
#include "corpus.h"

#include <array>
#include <climits>
#include <optional>
#include <utility>

#include "RunTimeError.h"

namespace corpus {

namespace {

using namespace rt::bmp;

constexpr int kCornerSquare = 24;  // the black squares in a skin's corners

void Put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

void PutBig32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
  }
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::uint32_t Size32(std::size_t size) { return static_cast<std::uint32_t>(size); }

// The two colours of each kind's pattern: unlike each other, the demo pictures, black and white,
// and exact in the 5-bit channels of 16-bit files.
std::pair<Rgb, Rgb> ColoursOf(Kind kind) {
  if (kind == Kind::kSkin) return {Rgb{66, 198, 99}, Rgb{231, 198, 33}};
  return {Rgb{231, 66, 33}, Rgb{33, 132, 231}};
}

// 0 for a black corner pixel, 1 for the first colour, 2 for the second. Below the top quarter
// the left half has the first colour; in the top quarter the halves swap.
int PatternIndex(Kind kind, bool blackCorners, int x, int y) {
  const PictureSize size = SizeOf(kind);
  if (kind == Kind::kSkin && blackCorners) {
    const bool nearX = x < kCornerSquare || x >= size.width - kCornerSquare;
    const bool nearY = y < kCornerSquare || y >= size.height - kCornerSquare;
    if (nearX && nearY) return 0;
  }
  const bool left = x < size.width / 2;
  const bool top = y < size.height / 4;
  return left != top ? 1 : 2;
}

// The pattern as indices 0..2, top row first.
struct Indexed {
  int width = 0;
  int height = 0;
  std::vector<int> index;
  int At(int x, int y) const {
    return index[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
  }
};

Indexed Draw(Kind kind, bool blackCorners) {
  Indexed image;
  const PictureSize size = SizeOf(kind);
  image.width = size.width;
  image.height = size.height;
  image.index.reserve(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x)
      image.index.push_back(PatternIndex(kind, blackCorners, x, y));
  }
  return image;
}

// Drawn once for each kind and corner style.
const Indexed& Pattern(Kind kind, bool blackCorners) {
  static const std::array<Indexed, 4> patterns = {Draw(Kind::kSkin, false), Draw(Kind::kSkin, true),
                                                  Draw(Kind::kButton, false),
                                                  Draw(Kind::kButton, true)};
  return patterns[(kind == Kind::kButton ? 2u : 0u) + (blackCorners ? 1u : 0u)];
}

Rgb ColourOf(Kind kind, int index) {
  if (index == 0) return Rgb{0, 0, 0};
  const auto [first, second] = ColoursOf(kind);
  return index == 1 ? first : second;
}

// Where each pattern index sits in a palette, and the palette itself.
struct Palette {
  std::array<std::uint8_t, 3> slot{};
  std::vector<Rgb> entries;
};

// A palette of `size` entries with the pattern's colours at scattered slots and a filler colour
// elsewhere, so that a decoder taking the wrong slot shows the filler.
Palette Scattered(Kind kind, std::size_t size, std::array<std::uint8_t, 3> slot) {
  Palette palette;
  palette.slot = slot;
  palette.entries.assign(size, Rgb{255, 0, 255});
  for (int i = 0; i < 3; ++i)
    palette.entries[slot[static_cast<std::size_t>(i)]] = ColourOf(kind, i);
  return palette;
}

// The two colours only, for 1-bit files: no black corners then.
Palette TwoColours(Kind kind) {
  Palette palette;
  palette.slot = {0, 0, 1};
  palette.entries = {ColourOf(kind, 1), ColourOf(kind, 2)};
  return palette;
}

// Rows of palette indices, bottom row first, the leftmost pixel in the most significant bits.
Bytes PackIndexed(const Indexed& image, int bits, const Palette& palette) {
  const std::size_t stride = RowStride(image.width, bits);
  Bytes out(stride * static_cast<std::size_t>(image.height), 0);
  for (int row = 0; row < image.height; ++row) {
    const int y = image.height - 1 - row;
    std::uint8_t* line = out.data() + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < image.width; ++x) {
      const unsigned value = palette.slot[static_cast<std::size_t>(image.At(x, y))];
      const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits);
      const unsigned shift = 8u - static_cast<unsigned>(bits) - static_cast<unsigned>(bit % 8u);
      line[bit / 8u] = static_cast<std::uint8_t>(line[bit / 8u] | (value << shift));
    }
  }
  return out;
}

enum class Direct { k555, k565, k24, k32 };

int BitsOf(Direct format) {
  switch (format) {
    case Direct::k555:
    case Direct::k565:
      return 16;
    case Direct::k24:
      return 24;
    case Direct::k32:
      return 32;
  }
  return 0;
}

// Rows of direct colours, bottom row first unless `topDown`.
Bytes PackDirect(Kind kind, const Indexed& image, Direct format, bool topDown) {
  const int bits = BitsOf(format);
  const std::size_t stride = RowStride(image.width, bits);
  Bytes out(stride * static_cast<std::size_t>(image.height), 0);
  for (int row = 0; row < image.height; ++row) {
    const int y = topDown ? row : image.height - 1 - row;
    std::uint8_t* at = out.data() + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = ColourOf(kind, image.At(x, y));
      std::uint32_t value = 0;
      switch (format) {
        case Direct::k555:
          value = static_cast<std::uint32_t>((c.r >> 3u) << 10u | (c.g >> 3u) << 5u | (c.b >> 3u));
          break;
        case Direct::k565:
          value = static_cast<std::uint32_t>((c.r >> 3u) << 11u | (c.g >> 2u) << 5u | (c.b >> 3u));
          break;
        case Direct::k24:
        case Direct::k32:
          value =
              static_cast<std::uint32_t>(c.r) << 16u | static_cast<std::uint32_t>(c.g) << 8u | c.b;
          break;
      }
      const int bytes = bits / 8;
      for (int i = 0; i < bytes; ++i) {
        *at++ = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
      }
    }
  }
  return out;
}

// RLE8, bottom row first: each row starts with an absolute run of three pixels (and its pad
// byte), then encoded runs of at most 255; rows end with an end of line, the last with the
// end-of-bitmap marker instead.
Bytes EncodeRle8(const Indexed& image, const Palette& palette) {
  Bytes out;
  for (int y = image.height - 1; y >= 0; --y) {
    auto value = [&](int x) { return palette.slot[static_cast<std::size_t>(image.At(x, y))]; };
    out.insert(out.end(), {0, 3, value(0), value(1), value(2), 0});
    int x = 3;
    while (x < image.width) {
      int count = 1;
      while (x + count < image.width && count < 255 && value(x + count) == value(x)) ++count;
      out.insert(out.end(), {static_cast<std::uint8_t>(count), value(x)});
      x += count;
    }
    out.insert(out.end(), {0, static_cast<std::uint8_t>(y > 0 ? 0 : 1)});
  }
  return out;
}

// RLE4 alike: an absolute run of five pixels (three bytes and a pad), then encoded runs whose
// two nibbles are the same index.
Bytes EncodeRle4(const Indexed& image, const Palette& palette) {
  Bytes out;
  for (int y = image.height - 1; y >= 0; --y) {
    auto value = [&](int x) {
      return static_cast<unsigned>(palette.slot[static_cast<std::size_t>(image.At(x, y))]);
    };
    auto pair = [](unsigned high, unsigned low) {
      return static_cast<std::uint8_t>((high << 4u) | low);
    };
    out.insert(out.end(),
               {0, 5, pair(value(0), value(1)), pair(value(2), value(3)), pair(value(4), 0), 0});
    int x = 5;
    while (x < image.width) {
      int count = 1;
      while (x + count < image.width && count < 255 && value(x + count) == value(x)) ++count;
      out.insert(out.end(), {static_cast<std::uint8_t>(count), pair(value(x), value(x))});
      x += count;
    }
    out.insert(out.end(), {0, static_cast<std::uint8_t>(y > 0 ? 0 : 1)});
  }
  return out;
}

Bitmap Basic(Kind kind) {
  const PictureSize size = SizeOf(kind);
  Bitmap layout;
  layout.width = size.width;
  layout.height = size.height;
  return layout;
}

// The pattern at 24 bits, the base of most damaged files.
Bitmap Plain24(Kind kind) {
  Bitmap layout = Basic(kind);
  layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k24, false);
  return layout;
}

Bitmap Paletted(Kind kind, std::uint16_t bits, const Palette& palette, bool blackCorners) {
  Bitmap layout = Basic(kind);
  layout.bits = bits;
  layout.palette = palette.entries;
  if (palette.entries.size() < (1u << bits)) layout.coloursUsed = Size32(palette.entries.size());
  layout.pixels = PackIndexed(Pattern(kind, blackCorners), bits, palette);
  return layout;
}

Palette Palette256(Kind kind) { return Scattered(kind, 256, {7, 200, 45}); }
Palette Palette16(Kind kind) { return Scattered(kind, 16, {3, 9, 14}); }

// A minimal colour profile: an ICC header of 128 bytes naming its own size, and no tags.
Bytes SmallProfile() {
  Bytes profile;
  PutBig32(profile, 132);
  profile.resize(36, 0);
  Append(profile, Text("acsp"));
  profile.resize(128, 0);
  PutBig32(profile, 0);  // tag count
  return profile;
}

// The PNG signature and a header chunk, as a PNG file named .bmp would begin.
Bytes PngStart(Kind kind) {
  const PictureSize size = SizeOf(kind);
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBig32(png, 13);
  Append(png, Text("IHDR"));
  PutBig32(png, static_cast<std::uint32_t>(size.width));
  PutBig32(png, static_cast<std::uint32_t>(size.height));
  png.insert(png.end(), {8, 2, 0, 0, 0});
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 12; i < png.size(); ++i) {
    crc ^= png[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  PutBig32(png, ~crc);
  PutBig32(png, 0);
  Append(png, Text("IEND"));
  PutBig32(png, 0xAE426082u);
  return png;
}

std::vector<Sample> SamplesOf(Kind kind, bool blackCorners) {
  static constexpr std::array<std::pair<int, int>, 11> kSkinPoints = {{{100, 30},
                                                                       {200, 100},
                                                                       {600, 100},
                                                                       {50, 400},
                                                                       {760, 400},
                                                                       {300, 560},
                                                                       {500, 560},
                                                                       {3, 3},
                                                                       {796, 3},
                                                                       {3, 596},
                                                                       {796, 596}}};
  static constexpr std::array<std::pair<int, int>, 8> kButtonPoints = {
      {{28, 10}, {85, 10}, {28, 80}, {85, 80}, {2, 119}, {110, 119}, {110, 2}, {2, 2}}};
  std::vector<Sample> samples;
  auto add = [&](int x, int y) {
    const int index = PatternIndex(kind, blackCorners, x, y);
    samples.push_back({x, y, ColourOf(kind, index), index == 0});
  };
  if (kind == Kind::kSkin) {
    for (const auto& [x, y] : kSkinPoints) add(x, y);
  } else {
    for (const auto& [x, y] : kButtonPoints) add(x, y);
  }
  return samples;
}

void AddCases(Kind kind, std::vector<Case>& out) {
  const std::string prefix = std::string(KindName(kind)) + "-";
  const PictureSize size = SizeOf(kind);

  auto refused = [&](std::string name, std::string description, Bytes bytes, std::string reason) {
    Case c;
    c.name = prefix + name;
    c.kind = kind;
    c.expect = Expect::kRefused;
    c.description = std::move(description);
    c.bytes = std::move(bytes);
    c.error = rt::kErrInvalidPicture;
    c.reason = std::move(reason);
    out.push_back(std::move(c));
  };
  auto absent = [&](std::string name, Source source, std::string description, int error,
                    std::string reason) {
    Case c;
    c.name = prefix + name;
    c.kind = kind;
    c.expect = Expect::kRefused;
    c.source = source;
    c.description = std::move(description);
    c.error = error;
    c.reason = std::move(reason);
    out.push_back(std::move(c));
  };
  auto valid = [&](std::string name, std::string description, Bytes bytes,
                   bool blackCorners = true) {
    Case c;
    c.name = prefix + name;
    c.kind = kind;
    c.expect = Expect::kDisplayed;
    c.description = std::move(description);
    c.bytes = std::move(bytes);
    c.blackCorners = kind == Kind::kSkin && blackCorners;
    c.samples = SamplesOf(kind, blackCorners);
    out.push_back(std::move(c));
  };

  // Files that are not there or not bitmaps at all.
  absent("missing", Source::kMissing, "missing: no file at all", rt::kErrFileNotFound,
         "File not found");
  absent("folder", Source::kFolder, "folder: a folder with the file's name", rt::kErrPathFileAccess,
         "Path/File access error");
  refused("empty", "an empty file", {}, "the file is empty");
  refused("png", "a PNG file named .bmp", PngStart(kind), "not a Windows bitmap");
  refused("text", "a plain text file",
          Text("This is a plain text file, not a picture.\r\nIts name just ends in .bmp.\r\n"),
          "not a Windows bitmap");

  // Files cut short.
  const Bytes plain = Plain24(kind).Write();
  refused("truncated-header", "the first 30 bytes of a 24-bit picture",
          Bytes(plain.begin(), plain.begin() + 30), "header is truncated");
  refused("truncated-pixels", "a 24-bit picture with half of its pixel rows",
          Bytes(plain.begin(),
                plain.begin() + static_cast<std::ptrdiff_t>(54 + (plain.size() - 54) / 2)),
          "pixel data is shorter than the header says");

  // Sizes without pixels, or too many.
  {
    Bitmap layout = Plain24(kind);
    layout.width = 0;
    refused("zero-width", "width 0, with the pixels of the full picture", layout.Write(),
            "has no width");
    layout.width = -size.width;
    refused("negative-width", "a negative width, with the pixels of the full picture",
            layout.Write(), "has no width");
  }
  {
    Bitmap layout = Plain24(kind);
    layout.height = 0;
    refused("zero-height", "height 0, with the pixels of the full picture", layout.Write(),
            "has no height");
    layout.height = INT32_MIN;
    refused("height-min", "height -2147483648, with the pixels of the full picture", layout.Write(),
            "height is out of range");
  }
  {
    Bitmap layout = Basic(kind);
    layout.width = 100000;
    layout.height = 100000;
    refused("huge", "100000 x 100000 at 24 bits with no pixel data", layout.Write(),
            "too large (100000 x 100000 pixels)");
    layout.width = 40000;
    layout.height = 10;
    refused("wide", "40000 x 10 at 24 bits with no pixel data", layout.Write(),
            "pixel data is shorter than the header says");
  }
  {
    // 65536 x 65537 x 4 bytes is 2^34 + 2^18: in 32 bits, exactly the 262144 bytes given.
    Bitmap layout = Basic(kind);
    layout.width = 65536;
    layout.height = 65537;
    layout.bits = 32;
    layout.pixels.assign(262144, 0x40);
    refused("overflow-size", "65536 x 65537 at 32 bits, whose size wraps to the bytes given",
            layout.Write(), "too large (65536 x 65537 pixels)");
    // A row of 0x40000001 pixels is 4 bytes long in 32-bit arithmetic.
    layout.width = 0x40000001;
    layout.height = 1;
    layout.pixels.assign(4, 0x40);
    refused("overflow-row", "one row of 1073741825 pixels at 32 bits, whose length wraps to 4",
            layout.Write(), "too large");
  }

  // Header fields that lie.
  {
    Bitmap layout = Plain24(kind);
    layout.pixelOffset = Size32(plain.size() + 4096);
    refused("offset-past-end", "a pixel offset 4096 bytes past the end of the file", layout.Write(),
            "pixel offset lies past the end of the file");
  }
  {
    Bitmap layout = Plain24(kind);
    layout.bits = 7;
    refused("bits-7", "7 bits per pixel", layout.Write(), "bits per pixel 7");
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.coloursUsed = 257;
    layout.palette.push_back(Rgb{1, 2, 3});
    refused("palette-257", "8 bits per pixel with a palette of 257 colours, all written",
            layout.Write(), "palette claims 257 colours");
    layout.coloursUsed = 100000;
    layout.palette.pop_back();
    refused("palette-100000", "8 bits per pixel claiming a palette of 100000 colours",
            layout.Write(), "palette claims 100000 colours");
  }
  {
    // The picture's rows, then as many again: the stream goes on past the top row.
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.compression = kBiRle8;
    Bytes stream = EncodeRle8(Pattern(kind, true), Palette256(kind));
    stream.resize(stream.size() - 2);
    stream.insert(stream.end(), {0, 0});
    Bytes rows = stream;
    Append(stream, rows);
    stream.insert(stream.end(), {0, 1});
    layout.pixels = stream;
    layout.imageSize = Size32(stream.size());
    refused("rle8-past-top", "RLE8 whose rows go on past the top of the picture", layout.Write(),
            "RLE data runs past the picture");
  }
  {
    // The first row's last run one pixel longer.
    Bitmap layout = Paletted(kind, 4, Palette16(kind), true);
    layout.compression = kBiRle4;
    Bytes stream = EncodeRle4(Pattern(kind, true), Palette16(kind));
    std::size_t lastRun = 0;
    std::size_t at = 6;  // after the absolute run
    while (stream[at] != 0) {
      lastRun = at;
      at += 2;
    }
    stream[lastRun] = static_cast<std::uint8_t>(stream[lastRun] + 1);
    layout.pixels = stream;
    layout.imageSize = Size32(stream.size());
    refused("rle4-past-row", "RLE4 with a run one pixel past the end of a row", layout.Write(),
            "RLE data runs past the picture");
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.compression = kBiRle8;
    Bytes stream = EncodeRle8(Pattern(kind, true), Palette256(kind));
    stream.resize(stream.size() - 2);  // the end-of-bitmap marker
    layout.pixels = stream;
    layout.imageSize = Size32(stream.size());
    refused("rle8-no-end", "RLE8 without its end-of-bitmap marker", layout.Write(),
            "no end-of-bitmap marker");
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.compression = kBiRle8;
    if (kind == Kind::kSkin) {
      // A well-formed stream: one absolute run of 255 pixels, then the end-of-bitmap marker. Read
      // as commands, as Wine 8 reads the pixels of such a run, the last of them takes the marker
      // for pixels, and the decoder reads on to the header's image size. The file ends on a page
      // boundary, so that reading past it faults.
      const std::uint8_t index = Palette256(kind).slot[1];
      Bytes stream = {0, 255};
      for (int i = 0; i < 126; ++i) stream.insert(stream.end(), {1, index});
      stream.insert(stream.end(), {0, 3, index, 0, 0, 1});
      const std::uint32_t offset =
          Size32(kFileHeaderSize + kInfoHeaderSize + 4 * layout.palette.size());
      const std::uint32_t start = 4096 - Size32(stream.size());
      layout.pixels.assign(start - offset, 0);
      Append(layout.pixels, stream);
      layout.pixelOffset = start;
      layout.imageSize = Size32(stream.size()) + 100000;
      refused("rle8-size-past-end",
              "RLE8 with a 255-pixel absolute run, its image size 100000 bytes past the end",
              layout.Write(), "RLE data is shorter than the header says");
    } else {
      layout.pixels = EncodeRle8(Pattern(kind, true), Palette256(kind));
      layout.imageSize = Size32(layout.pixels.size()) + 100000;
      refused("rle8-size-past-end", "RLE8 whose image size lies 100000 bytes past the end",
              layout.Write(), "RLE data is shorter than the header says");
    }
  }
  {
    Bitmap layout = Basic(kind);
    layout.headerSize = kV5HeaderSize;
    layout.bits = 32;
    layout.compression = kBiBitfields;
    layout.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    layout.colourSpace = kProfileEmbedded;
    layout.profileOffset = 0x7FFFFF00u;
    layout.profileSize = 4096;
    refused("v5-profile-outside", "a V5 header whose embedded colour profile lies past the end",
            layout.Write(), "colour profile lies outside the file");
  }

  // Well-formed files of every format, all showing the pattern.
  valid("1bit", "1 bit per pixel, two colours (no black corners)",
        Paletted(kind, 1, TwoColours(kind), false).Write(), false);
  valid("4bit", "4 bits per pixel, 16-colour palette",
        Paletted(kind, 4, Palette16(kind), true).Write());
  valid("8bit", "8 bits per pixel, 256-colour palette",
        Paletted(kind, 8, Palette256(kind), true).Write());
  {
    Palette three;
    three.slot = {0, 1, 2};
    three.entries = {ColourOf(kind, 0), ColourOf(kind, 1), ColourOf(kind, 2)};
    valid("8bit-3colours", "8 bits per pixel, a palette of 3 colours",
          Paletted(kind, 8, three, true).Write());
  }
  {
    Bitmap layout = Paletted(kind, 4, Palette16(kind), true);
    layout.compression = kBiRle4;
    layout.pixels = EncodeRle4(Pattern(kind, true), Palette16(kind));
    layout.imageSize = Size32(layout.pixels.size());
    valid("rle4", "RLE4, absolute and encoded runs", layout.Write());
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.compression = kBiRle8;
    layout.pixels = EncodeRle8(Pattern(kind, true), Palette256(kind));
    layout.imageSize = Size32(layout.pixels.size());
    valid("rle8", "RLE8, absolute and encoded runs", layout.Write());
  }
  {
    Bitmap layout = Basic(kind);
    layout.bits = 16;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k555, false);
    valid("16bit-555", "16 bits per pixel, 5-5-5 without bit fields", layout.Write());
    layout.compression = kBiBitfields;
    layout.masks = {0xF800u, 0x07E0u, 0x001Fu};
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k565, false);
    valid("16bit-565", "16 bits per pixel, 5-6-5 bit fields", layout.Write());
  }
  valid("24bit", "24 bits per pixel", plain);
  {
    Bitmap layout = Basic(kind);
    layout.bits = 32;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    valid("32bit", "32 bits per pixel", layout.Write());
  }
  {
    Bitmap layout = Basic(kind);
    layout.headerSize = kV5HeaderSize;
    layout.bits = 32;
    layout.compression = kBiBitfields;
    layout.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    Bytes pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;  // opaque
    layout.pixels = pixels;
    valid("v5", "BITMAPV5HEADER, 32-bit bit fields with alpha, sRGB", layout.Write());
    layout.colourSpace = kProfileEmbedded;
    layout.profile = SmallProfile();
    valid("v5-profile", "BITMAPV5HEADER with an embedded colour profile after the pixels",
          layout.Write());
  }
  {
    Bitmap layout = Plain24(kind);
    layout.headerSize = kCoreHeaderSize;
    valid("core-24bit", "OS/2 core header, 24 bits per pixel", layout.Write());
    Bitmap paletted = Paletted(kind, 8, Palette256(kind), true);
    paletted.headerSize = kCoreHeaderSize;
    valid("core-8bit", "OS/2 core header, 8 bits per pixel, palette of triples", paletted.Write());
  }
  {
    Bitmap layout = Basic(kind);
    layout.height = -size.height;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k24, true);
    valid("topdown-24bit", "24 bits per pixel stored top-down (negative height)", layout.Write());
  }
}

}  // namespace

Bytes Bitmap::Write() const {
  const bool core = headerSize == kCoreHeaderSize;
  Bytes extra;
  if (headerSize == kInfoHeaderSize) {
    for (const std::uint32_t mask : masks) Put32(extra, mask);
  }
  for (const Rgb& c : palette) {
    extra.insert(extra.end(), {c.b, c.g, c.r});
    if (!core) extra.push_back(0);
  }
  Bytes info;
  Put32(info, headerSize);
  if (core) {
    Put16(info, static_cast<std::uint32_t>(width) & 0xFFFFu);
    Put16(info, static_cast<std::uint32_t>(height) & 0xFFFFu);
    Put16(info, planes);
    Put16(info, bits);
  } else {
    Put32(info, static_cast<std::uint32_t>(width));
    Put32(info, static_cast<std::uint32_t>(height));
    Put16(info, planes);
    Put16(info, bits);
    Put32(info, compression);
    Put32(info, imageSize);
    Put32(info, 2835);  // 72 dpi
    Put32(info, 2835);
    Put32(info, coloursUsed);
    Put32(info, 0);
    // The fields of the longest header, then cut to the header's own size.
    for (std::size_t i = 0; i < 4; ++i) {
      Put32(info, headerSize != kInfoHeaderSize && i < masks.size() ? masks[i] : 0u);
    }
    Put32(info, colourSpace);
    info.resize(info.size() + 36 + 12, 0);  // end points and gamma: unused for these spaces
    Put32(info, kIntentImages);
    const std::uint32_t profileAt = Size32(headerSize + extra.size() + pixels.size());
    const bool hasProfile = !profile.empty() || profileOffset.has_value();
    Put32(info, hasProfile ? profileOffset.value_or(profileAt) : 0u);
    Put32(info, hasProfile ? profileSize.value_or(Size32(profile.size())) : 0u);
    Put32(info, 0);
    info.resize(headerSize, 0);
  }
  const std::uint32_t offset = Size32(kFileHeaderSize + info.size() + extra.size());
  Bytes file = {'B', 'M'};
  Put32(file, Size32(offset + pixels.size() + profile.size()));
  Put32(file, 0);
  Put32(file, pixelOffset.value_or(offset));
  Append(file, info);
  Append(file, extra);
  Append(file, pixels);
  Append(file, profile);
  return file;
}

std::size_t RowStride(int width, int bits) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31u) / 32u * 4u;
}

Bytes Write24(int width, int height, const std::vector<Rgb>& colours, bool topDown) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = topDown ? -height : height;
  const std::size_t stride = RowStride(width, 24);
  bitmap.pixels.assign(stride * static_cast<std::size_t>(height), 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::uint8_t* at = bitmap.pixels.data() + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < width; ++x) {
      const Rgb& c = colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)];
      *at++ = c.b;
      *at++ = c.g;
      *at++ = c.r;
    }
  }
  return bitmap.Write();
}

PictureSize SizeOf(Kind kind) {
  return kind == Kind::kSkin ? PictureSize{800, 600} : PictureSize{113, 122};
}

std::string_view KindName(Kind kind) { return kind == Kind::kSkin ? "skin" : "button"; }

std::string_view ExpectName(Expect expect) {
  switch (expect) {
    case Expect::kRefused:
      return "refused";
    case Expect::kDisplayed:
      return "displayed";
  }
  return "";
}

Rgb PatternColour(Kind kind, bool blackCorners, int x, int y) {
  return ColourOf(kind, PatternIndex(kind, blackCorners, x, y));
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  AddCases(Kind::kSkin, cases);
  AddCases(Kind::kButton, cases);
  return cases;
}

}  // namespace corpus

// The corpus's pattern: its colours, its palettes, and its pixels in every encoding the cases use.
#include "pattern.h"

namespace corpus {

namespace {

constexpr int kCornerSquare = 24;  // the black squares in a skin's corners

// The two colours of each kind's pattern: unlike each other, the demo pictures, black and white,
// and exact in the 5-bit channels of 16-bit files.
std::pair<Rgb, Rgb> ColoursOf(Kind kind) {
  if (kind == Kind::kSkin) return {Rgb{66, 198, 99}, Rgb{231, 198, 33}};
  return {Rgb{231, 66, 33}, Rgb{33, 132, 231}};
}

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

Palette Scattered(Kind kind, std::size_t size, std::array<std::uint8_t, 3> slot) {
  Palette palette;
  palette.slot = slot;
  palette.entries.assign(size, Rgb{255, 0, 255});
  for (int i = 0; i < 3; ++i)
    palette.entries[slot[static_cast<std::size_t>(i)]] = ColourOf(kind, i);
  return palette;
}

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

// Encoded runs of RLE4 repeat one index in both nibbles.
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

}  // namespace

// Below the top quarter the left half has the first colour; in the top quarter the halves swap.
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

Rgb PatternColour(Kind kind, bool blackCorners, int x, int y) {
  return ColourOf(kind, PatternIndex(kind, blackCorners, x, y));
}

Palette Palette256(Kind kind) { return Scattered(kind, 256, {7, 200, 45}); }
Palette Palette16(Kind kind) { return Scattered(kind, 16, {3, 9, 14}); }

Palette TwoColours(Kind kind) {
  Palette palette;
  palette.slot = {0, 0, 1};
  palette.entries = {ColourOf(kind, 1), ColourOf(kind, 2)};
  return palette;
}

Bytes PackIndexed(const Indexed& image, int bits, const Palette& palette) {
  const std::size_t stride = bmpio::RowBytes(image.width, bits);
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

Bytes PackDirect(Kind kind, const Indexed& image, Direct format, bool topDown) {
  const int bits = BitsOf(format);
  const std::size_t stride = bmpio::RowBytes(image.width, bits);
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

Bitmap Basic(Kind kind) {
  const PictureSize size = SizeOf(kind);
  Bitmap layout;
  layout.width = size.width;
  layout.height = size.height;
  return layout;
}

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

Bytes PatternRle(Kind kind, int bits) {
  return bits == 8 ? EncodeRle8(Pattern(kind, true), Palette256(kind))
                   : EncodeRle4(Pattern(kind, true), Palette16(kind));
}

Bitmap RleFile(Kind kind, std::uint16_t bits, Bytes stream) {
  Bitmap layout = Paletted(kind, bits, bits == 8 ? Palette256(kind) : Palette16(kind), true);
  layout.compression = bits == 8 ? rt::bmp::kBiRle8 : rt::bmp::kBiRle4;
  layout.imageSize = Size32(stream.size());
  layout.pixels = std::move(stream);
  return layout;
}

}  // namespace corpus

// The program's icon file: 4-bit images with their transparency masks.
#include "ico.h"

#include <limits>
#include <stdexcept>

namespace makeassets {
namespace {

std::uint8_t nearest(const IconPalette& palette, Rgb c) {
  std::size_t best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = c.r - palette[i].r;
    const int dg = c.g - palette[i].g;
    const int db = c.b - palette[i].b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best_distance) {
      best_distance = d;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// BITMAPINFOHEADER with doubled height, palette, XOR bitmap and AND mask, rows bottom-up.
Bytes encode_entry(const IconImage& icon, const IconPalette& palette) {
  const int size = icon.pixels.width();
  const auto xor_row = bmpio::RowBytes(size, 4);
  const auto and_row = bmpio::RowBytes(size, 1);  // the transparency mask
  Bytes out;
  bmpio::Put32(out, 40);
  bmpio::Put32(out, static_cast<std::uint32_t>(size));
  bmpio::Put32(out, static_cast<std::uint32_t>(size * 2));
  bmpio::Put16(out, 1);
  bmpio::Put16(out, 4);
  bmpio::Put32(out, 0);
  bmpio::Put32(out,
               static_cast<std::uint32_t>((xor_row + and_row) * static_cast<std::size_t>(size)));
  bmpio::Put32(out, 0);
  bmpio::Put32(out, 0);
  bmpio::Put32(out, 0);
  bmpio::Put32(out, 0);
  for (const Rgb& c : palette) {
    bmpio::Put8(out, c.b);
    bmpio::Put8(out, c.g);
    bmpio::Put8(out, c.r);
    bmpio::Put8(out, 0);
  }
  auto opaque = [&](int x, int y) {
    return static_cast<bool>(icon.opaque[static_cast<std::size_t>(y * size + x)]);
  };
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(xor_row, 0);
    for (int x = 0; x < size; ++x) {
      const unsigned index = opaque(x, y) ? nearest(palette, icon.pixels.at(x, y)) : 0u;
      const unsigned shift = x % 2 == 0 ? 4u : 0u;
      row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << shift);
    }
    bmpio::Append(out, row);
  }
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(and_row, 0);
    for (int x = 0; x < size; ++x) {
      if (!opaque(x, y)) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      }
    }
    bmpio::Append(out, row);
  }
  return out;
}

}  // namespace

Bytes encode_ico4(const std::vector<IconImage>& images, const IconPalette& palette) {
  Bytes out;
  bmpio::Put16(out, 0);
  bmpio::Put16(out, 1);  // icon
  bmpio::Put16(out, static_cast<unsigned>(images.size()));
  std::vector<Bytes> entries;
  for (const IconImage& icon : images) {
    const int size = icon.pixels.width();
    if (size != icon.pixels.height() || size > 255 || size % 8 != 0 ||
        icon.opaque.size() != static_cast<std::size_t>(size * size)) {
      throw std::invalid_argument("icon images must be square multiples of 8 up to 248 px");
    }
    entries.push_back(encode_entry(icon, palette));
  }
  auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto size = static_cast<unsigned>(images[i].pixels.width());
    bmpio::Put8(out, size);
    bmpio::Put8(out, size);
    bmpio::Put8(out, 16);  // colours
    bmpio::Put8(out, 0);
    bmpio::Put16(out, 1);  // planes
    bmpio::Put16(out, 4);  // bits per pixel
    bmpio::Put32(out, static_cast<std::uint32_t>(entries[i].size()));
    bmpio::Put32(out, offset);
    offset += static_cast<std::uint32_t>(entries[i].size());
  }
  for (const Bytes& e : entries) bmpio::Append(out, e);
  return out;
}

}  // namespace makeassets

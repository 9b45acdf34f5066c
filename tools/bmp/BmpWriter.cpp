// The bitmap writer: the headers laid out from the fields, and the two usual kinds of picture.
#include "BmpWriter.h"

#include <stdexcept>

namespace bmpio {

namespace {

using namespace rt::bmp;

std::uint32_t Size32(std::size_t size) { return static_cast<std::uint32_t>(size); }

constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dpi

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
    Put32(info, kPixelsPerMetre);
    Put32(info, kPixelsPerMetre);
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

std::size_t RowBytes(int width, int bits) {
  return static_cast<std::size_t>(
      RowStride(static_cast<std::uint64_t>(width), static_cast<std::uint32_t>(bits)));
}

Bitmap Make24(int width, int height, std::span<const Rgb> colours, bool topDown) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = topDown ? -height : height;
  const std::size_t stride = RowBytes(width, 24);
  bitmap.pixels.assign(stride * static_cast<std::size_t>(height), 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    const Rgb* from =
        colours.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    std::uint8_t* at = bitmap.pixels.data() + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < width; ++x, ++from) {
      *at++ = from->b;
      *at++ = from->g;
      *at++ = from->r;
    }
  }
  return bitmap;
}

Bytes Write24(int width, int height, std::span<const Rgb> colours, bool topDown) {
  return Make24(width, height, colours, topDown).Write();
}

Bytes EncodeRle8(std::span<const std::uint8_t> indices, int width, int height) {
  constexpr int kMaxRun = 255;
  Bytes out;
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* row =
        indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    auto px = [&](int x) { return row[x]; };
    int x = 0;
    while (x < width) {
      int run = 1;
      while (x + run < width && run < kMaxRun && px(x + run) == px(x)) ++run;
      if (run >= 2) {
        out.insert(out.end(), {static_cast<std::uint8_t>(run), px(x)});
        x += run;
        continue;
      }
      // Differing pixels are collected until a run of three or more begins.
      int end = x;
      while (end < width && end - x < kMaxRun) {
        if (end + 2 < width && px(end) == px(end + 1) && px(end) == px(end + 2)) break;
        ++end;
      }
      const int count = end - x;
      if (count >= 3) {
        out.insert(out.end(), {0, static_cast<std::uint8_t>(count)});
        out.insert(out.end(), row + x, row + end);
        if (count % 2 != 0) out.push_back(0);
      } else {
        // An absolute run needs three pixels; shorter stretches are runs of one.
        for (int i = x; i < end; ++i) out.insert(out.end(), {1, px(i)});
      }
      x = end;
    }
    out.insert(out.end(), {0, 0});  // end of line
  }
  out.insert(out.end(), {0, 1});  // end of bitmap
  return out;
}

Bitmap MakeRle8(int width, int height, std::vector<Rgb> palette,
                std::span<const std::uint8_t> indices) {
  if (palette.size() > 256) throw std::invalid_argument("an RLE8 palette holds 256 colours");
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bits = 8;
  bitmap.compression = kBiRle8;
  bitmap.coloursUsed = Size32(palette.size());
  bitmap.palette = std::move(palette);
  bitmap.pixels = EncodeRle8(indices, width, height);
  bitmap.imageSize = Size32(bitmap.pixels.size());
  return bitmap;
}

}  // namespace bmpio

// The PNG writer: samples packed at their bit depth, rows filtered in turn with None, Sub, Up,
// Average and Paeth, and stored deflate blocks with their Adler-32.
#include "PngWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "PngFormat.h"

namespace pngio {

namespace {

using namespace rt::png;

void PutBig32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

int BitsPerPixel(const Image& image) { return image.bitDepth * Channels(image.colourType); }

// The bytes of one row of the pixels at columns x0, x0 + dx, ... of row y, packed.
Bytes PackRow(const Image& image, std::uint32_t y, std::uint32_t x0, std::uint32_t dx) {
  const auto channels = static_cast<std::size_t>(Channels(image.colourType));
  Bytes row;
  std::uint32_t bits = 0;
  int filled = 0;
  for (std::uint32_t x = x0; x < image.width; x += dx) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * channels;
    for (std::size_t c = 0; c < channels; ++c) {
      const std::uint16_t sample = image.samples[at + c];
      if (image.bitDepth == 16) {
        row.push_back(static_cast<std::uint8_t>(sample >> 8));
        row.push_back(static_cast<std::uint8_t>(sample));
      } else if (image.bitDepth == 8) {
        row.push_back(static_cast<std::uint8_t>(sample));
      } else {
        bits = (bits << image.bitDepth) | sample;
        filled += image.bitDepth;
        if (filled == 8) {
          row.push_back(static_cast<std::uint8_t>(bits));
          bits = 0;
          filled = 0;
        }
      }
    }
  }
  if (filled > 0) row.push_back(static_cast<std::uint8_t>(bits << (8 - filled)));
  return row;
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Appends the row behind filter `type`, against the row above it in the same pass.
void PutFiltered(Bytes& out, const Bytes& row, const Bytes& above, int type, std::size_t step) {
  out.push_back(static_cast<std::uint8_t>(type));
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int a = i >= step ? row[i - step] : 0;
    const int b = above.empty() ? 0 : above[i];
    const int c = i >= step && !above.empty() ? above[i - step] : 0;
    int predicted = 0;
    switch (type) {
      case 1:
        predicted = a;
        break;
      case 2:
        predicted = b;
        break;
      case 3:
        predicted = (a + b) / 2;
        break;
      case 4:
        predicted = Paeth(a, b, c);
        break;
      default:
        break;
    }
    out.push_back(static_cast<std::uint8_t>(row[i] - predicted));
  }
}

std::uint8_t Scaled(std::uint16_t sample, int depth) {
  if (depth == 16) return static_cast<std::uint8_t>(sample >> 8);
  // 1, 2 and 4 bits: the bits repeated, as 255 / 3 = 85 for 01 gives 01010101.
  return static_cast<std::uint8_t>(sample * (255 / ((1 << depth) - 1)));
}

}  // namespace

Bytes Chunk(std::string_view type, const Bytes& data) {
  Bytes out;
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type.begin(), type.end());
  bmpio::Append(body, data);
  bmpio::Append(out, body);
  PutBig32(out, Crc32(std::span<const std::uint8_t>(body)));
  return out;
}

Bytes HeaderData(const Image& image) {
  Bytes data;
  PutBig32(data, image.width);
  PutBig32(data, image.height);
  data.insert(data.end(), {image.bitDepth, image.colourType, 0, 0,
                           static_cast<std::uint8_t>(image.interlaced ? 1 : 0)});
  return data;
}

Bytes FilteredRows(const Image& image) {
  const std::size_t step = static_cast<std::size_t>((BitsPerPixel(image) + 7) / 8);
  const std::array<Pass, 1> whole = {{{0, 0, 1, 1}}};
  const std::span<const Pass> passes =
      image.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(whole);
  Bytes out;
  int type = 0;
  for (const Pass& pass : passes) {
    if (PassSide(image.width, pass.x, pass.dx) == 0) continue;
    Bytes above;
    for (std::uint32_t y = pass.y; y < image.height; y += pass.dy) {
      const Bytes row = PackRow(image, y, pass.x, pass.dx);
      PutFiltered(out, row, above, type, step);
      type = (type + 1) % 5;
      above = row;
    }
  }
  return out;
}

Bytes StoredZlib(const Bytes& raw, std::size_t block) {
  Bytes out = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t length = std::min(block, raw.size() - at);
    const bool last = at + length == raw.size();
    out.push_back(last ? 1 : 0);
    bmpio::Put16(out, static_cast<std::uint32_t>(length));
    bmpio::Put16(out, static_cast<std::uint32_t>(~length & 0xFFFFu));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
               raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(out, (b << 16) | a);
  return out;
}

Bytes Chunks::Write() const {
  Bytes out(kSignature.begin(), kSignature.end());
  for (const Entry& chunk : list) bmpio::Append(out, Chunk(chunk.type, chunk.data));
  return out;
}

Chunks::Entry& Chunks::Find(std::string_view type) {
  return *std::find_if(list.begin(), list.end(), [&](const Entry& e) { return e.type == type; });
}

Chunks Layout(const Image& image, std::size_t idatSize, const Bytes* zlib) {
  Chunks file;
  file.list.push_back({"IHDR", HeaderData(image)});
  if (!image.palette.empty()) {
    Bytes colours;
    Bytes alphas;
    bool anyAlpha = false;
    for (const Rgba& entry : image.palette) {
      colours.insert(colours.end(), {entry.r, entry.g, entry.b});
      alphas.push_back(entry.a);
      anyAlpha = anyAlpha || entry.a != 255;
    }
    file.list.push_back({"PLTE", colours});
    if (anyAlpha) file.list.push_back({"tRNS", alphas});
  }
  if (!image.transparent.empty()) {
    Bytes key;
    for (const std::uint16_t sample : image.transparent) {
      key.insert(key.end(),
                 {static_cast<std::uint8_t>(sample >> 8), static_cast<std::uint8_t>(sample)});
    }
    file.list.push_back({"tRNS", key});
  }
  const Bytes own = zlib == nullptr ? StoredZlib(FilteredRows(image)) : Bytes{};
  const Bytes& stream = zlib == nullptr ? own : *zlib;
  for (std::size_t at = 0; at < stream.size(); at += idatSize) {
    const std::size_t length = std::min(idatSize, stream.size() - at);
    file.list.push_back({"IDAT", Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                       stream.begin() + static_cast<std::ptrdiff_t>(at + length))});
  }
  file.list.push_back({"IEND", {}});
  return file;
}

Bytes Write(const Image& image, std::size_t idatSize) { return Layout(image, idatSize).Write(); }

std::vector<Rgba> ExpectedPixels(const Image& image) {
  const int channels = Channels(image.colourType);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  std::vector<Rgba> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint16_t* s = &image.samples[i * static_cast<std::size_t>(channels)];
    const int depth = image.bitDepth;
    Rgba& p = out[i];
    switch (image.colourType) {
      case kGrey:
        p.r = p.g = p.b = Scaled(s[0], depth);
        break;
      case kGreyAlpha:
        p.r = p.g = p.b = Scaled(s[0], depth);
        p.a = Scaled(s[1], depth);
        break;
      case kRgb:
        p = {Scaled(s[0], depth), Scaled(s[1], depth), Scaled(s[2], depth), 255};
        break;
      case kRgbAlpha:
        p = {Scaled(s[0], depth), Scaled(s[1], depth), Scaled(s[2], depth), Scaled(s[3], depth)};
        break;
      case kPalette:
        p = image.palette[s[0]];
        break;
      default:
        break;
    }
    if (!image.transparent.empty() &&
        std::equal(image.transparent.begin(), image.transparent.end(), s)) {
      p.a = 0;
    }
  }
  return out;
}

std::size_t PixelsDiffering(const rt::PictureData& picture, const std::vector<Rgba>& expected) {
  const rt::PixelRect all{0, 0, picture.Width(), picture.Height()};
  std::vector<std::uint32_t> colours(expected.size());
  std::vector<std::uint8_t> alpha(expected.size());
  picture.ReadPixels(all, colours.data());
  if (!picture.ReadAlpha(all, alpha.data())) return expected.size();
  std::size_t differing = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Rgba& e = expected[i];
    const std::uint32_t colour =
        e.r | (static_cast<std::uint32_t>(e.g) << 8) | (static_cast<std::uint32_t>(e.b) << 16);
    if (colours[i] != colour || alpha[i] != e.a) ++differing;
  }
  return differing;
}

}  // namespace pngio

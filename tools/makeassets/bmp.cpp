#include "bmp.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <stdexcept>

namespace makeassets {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;

void put_headers(Bytes& out, int width, int height, unsigned bits, std::uint32_t compression,
                 std::uint32_t palette_entries, std::uint32_t image_size) {
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * palette_entries;
  put_u8(out, 'B');
  put_u8(out, 'M');
  put_u32(out, offset + image_size);
  put_u16(out, 0);
  put_u16(out, 0);
  put_u32(out, offset);

  put_u32(out, kInfoHeaderSize);
  put_i32(out, width);
  put_i32(out, height);  // positive: bottom-up
  put_u16(out, 1);
  put_u16(out, bits);
  put_u32(out, compression);
  put_u32(out, image_size);
  put_i32(out, kPixelsPerMetre);
  put_i32(out, kPixelsPerMetre);
  put_u32(out, palette_entries);
  put_u32(out, 0);
}

std::uint32_t key(Rgb c) {
  return static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
}

int component(Rgb c, int channel) { return channel == 0 ? c.r : channel == 1 ? c.g : c.b; }

struct Entry {
  Rgb colour;
  std::uint64_t count;
};

// The channel with the widest spread in the box, and that spread.
std::pair<int, int> widest_channel(const std::vector<Entry>& box) {
  std::pair<int, int> best{0, -1};
  for (int ch = 0; ch < 3; ++ch) {
    int lo = 255;
    int hi = 0;
    for (const Entry& e : box) {
      lo = std::min(lo, component(e.colour, ch));
      hi = std::max(hi, component(e.colour, ch));
    }
    if (hi - lo > best.second) best = {ch, hi - lo};
  }
  return best;
}

Rgb average(const std::vector<Entry>& box) {
  std::array<std::uint64_t, 3> sum{};
  std::uint64_t total = 0;
  for (const Entry& e : box) {
    for (int ch = 0; ch < 3; ++ch) {
      sum[static_cast<std::size_t>(ch)] +=
          static_cast<std::uint64_t>(component(e.colour, ch)) * e.count;
    }
    total += e.count;
  }
  auto mean = [&](std::size_t ch) {
    return static_cast<std::uint8_t>((sum[ch] + total / 2) / total);
  };
  const Rgb c{mean(0), mean(1), mean(2)};
  return c == kBlack ? Rgb{1, 1, 1} : c;
}

void put_run(Bytes& out, unsigned count, std::uint8_t index) {
  put_u8(out, count);
  put_u8(out, index);
}

}  // namespace

Bytes encode_bmp24(const Image& image) {
  const auto row_size = static_cast<std::uint32_t>((image.width() * 3 + 3) & ~3);
  const std::uint32_t size = row_size * static_cast<std::uint32_t>(image.height());
  Bytes out;
  put_headers(out, image.width(), image.height(), 24, kBiRgb, 0, size);
  for (int y = image.height() - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.at(x, y);
      put_u8(out, c.b);
      put_u8(out, c.g);
      put_u8(out, c.r);
    }
    while (out.size() - start < row_size) put_u8(out, 0);
  }
  return out;
}

IndexedImage quantize(const Image& image, int max_colours) {
  if (max_colours < 2 || max_colours > 256) throw std::invalid_argument("palette size");
  std::map<std::uint32_t, Entry> histogram;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.at(x, y);
      if (c == kBlack) continue;
      auto [it, inserted] = histogram.try_emplace(key(c), Entry{c, 0});
      ++it->second.count;
    }
  }

  std::vector<std::vector<Entry>> boxes;
  if (!histogram.empty()) {
    boxes.emplace_back();
    for (const auto& [k, e] : histogram) boxes.front().push_back(e);
  }
  while (static_cast<int>(boxes.size()) < max_colours - 1) {
    // Split the box whose colours spread the most, at the pixel-weighted median.
    std::size_t pick = boxes.size();
    std::pair<int, int> pick_channel{0, 0};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].size() < 2) continue;
      const auto channel = widest_channel(boxes[i]);
      if (pick == boxes.size() || channel.second > pick_channel.second) {
        pick = i;
        pick_channel = channel;
      }
    }
    if (pick == boxes.size()) break;
    std::vector<Entry>& box = boxes[pick];
    const int ch = pick_channel.first;
    std::sort(box.begin(), box.end(), [ch](const Entry& a, const Entry& b) {
      const int ca = component(a.colour, ch);
      const int cb = component(b.colour, ch);
      return ca != cb ? ca < cb : key(a.colour) < key(b.colour);
    });
    std::uint64_t total = 0;
    for (const Entry& e : box) total += e.count;
    std::uint64_t seen = 0;
    std::size_t split = 1;
    for (std::size_t i = 0; i + 1 < box.size(); ++i) {
      seen += box[i].count;
      split = i + 1;
      if (seen * 2 >= total) break;
    }
    std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(split), box.end());
    box.resize(split);
    boxes.push_back(std::move(upper));
  }

  IndexedImage out;
  out.width = image.width();
  out.height = image.height();
  out.palette.push_back(kBlack);
  for (const auto& box : boxes) out.palette.push_back(average(box));

  std::map<std::uint32_t, std::uint8_t> nearest;
  for (const auto& [k, e] : histogram) {
    std::size_t best = 1;
    int best_distance = std::numeric_limits<int>::max();
    for (std::size_t i = 1; i < out.palette.size(); ++i) {
      int d = 0;
      for (int ch = 0; ch < 3; ++ch) {
        const int diff = component(e.colour, ch) - component(out.palette[i], ch);
        d += diff * diff;
      }
      if (d < best_distance) {
        best_distance = d;
        best = i;
      }
    }
    nearest[k] = static_cast<std::uint8_t>(best);
  }
  out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.at(x, y);
      out.pixels.push_back(c == kBlack ? std::uint8_t{0} : nearest.at(key(c)));
    }
  }
  return out;
}

Bytes encode_rle8(const IndexedImage& image) {
  constexpr int kMaxRun = 255;
  const int w = image.width;
  Bytes out;
  for (int y = image.height - 1; y >= 0; --y) {
    auto px = [&](int x) { return image.at(x, y); };
    int x = 0;
    while (x < w) {
      int run = 1;
      while (x + run < w && run < kMaxRun && px(x + run) == px(x)) ++run;
      if (run >= 2) {
        put_run(out, static_cast<unsigned>(run), px(x));
        x += run;
        continue;
      }
      // Collect differing pixels until a run of three or more begins.
      int end = x;
      while (end < w && end - x < kMaxRun) {
        if (end + 2 < w && px(end) == px(end + 1) && px(end) == px(end + 2)) break;
        ++end;
      }
      const int count = end - x;
      if (count >= 3) {
        put_u8(out, 0);  // absolute mode: 0, count, then count indices, padded to even length
        put_u8(out, static_cast<unsigned>(count));
        for (int i = x; i < end; ++i) put_u8(out, px(i));
        if (count % 2 != 0) put_u8(out, 0);
      } else {
        // Absolute mode needs three pixels; shorter stretches are runs of one.
        for (int i = x; i < end; ++i) put_run(out, 1, px(i));
      }
      x = end;
    }
    put_u8(out, 0);  // end of line
    put_u8(out, 0);
  }
  put_u8(out, 0);  // end of bitmap
  put_u8(out, 1);
  return out;
}

std::vector<std::uint8_t> decode_rle8(const Bytes& data, int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
  std::size_t pos = 0;
  int x = 0;
  int row = 0;  // counted from the bottom
  auto next = [&]() {
    if (pos >= data.size()) throw std::runtime_error("RLE8 data ends early");
    return data[pos++];
  };
  auto put = [&](std::uint8_t index) {
    if (x >= width || row >= height) throw std::runtime_error("RLE8 data overruns the bitmap");
    const int y = height - 1 - row;
    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x)] = index;
    ++x;
  };
  for (;;) {
    const std::uint8_t count = next();
    const std::uint8_t value = next();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(value);
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      x += next();
      row += next();
    } else {
      for (int i = 0; i < value; ++i) put(next());
      if (value % 2 != 0) next();
    }
  }
  if (pos != data.size()) throw std::runtime_error("bytes after RLE8 end of bitmap");
  return pixels;
}

Bytes encode_bmp_rle8(const IndexedImage& image) {
  const Bytes data = encode_rle8(image);
  Bytes out;
  put_headers(out, image.width, image.height, 8, kBiRle8,
              static_cast<std::uint32_t>(image.palette.size()),
              static_cast<std::uint32_t>(data.size()));
  for (const Rgb& c : image.palette) {
    put_u8(out, c.b);
    put_u8(out, c.g);
    put_u8(out, c.r);
    put_u8(out, 0);
  }
  append(out, data);
  return out;
}

}  // namespace makeassets

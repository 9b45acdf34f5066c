// Median-cut colour reduction of the design-time pictures, with pure black kept exact.
#include "quantize.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <stdexcept>

namespace makeassets {
namespace {

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

}  // namespace

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

}  // namespace makeassets

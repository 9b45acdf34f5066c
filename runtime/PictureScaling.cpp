// Nearest-neighbour scaling, with whole-number arithmetic so that every platform gets the same
// pixels.
#include "PictureScaling.h"

#include <algorithm>

namespace rt {

namespace {

int ScaledSize(int size, int numerator, int denominator) {
  const long long product = static_cast<long long>(size) * numerator;
  return static_cast<int>((product + denominator - 1) / denominator);
}

// Each new pixel of `to` the pixel of `from` that the rule picks.
template <typename T>
std::vector<T> Pick(const std::vector<T>& from, int width, const std::vector<std::size_t>& columns,
                    int rows, int numerator, int denominator) {
  std::vector<T> to(columns.size() * static_cast<std::size_t>(rows));
  for (int y = 0; y < rows; ++y) {
    const std::size_t row =
        static_cast<std::size_t>(static_cast<long long>(y) * denominator / numerator);
    const T* in = from.data() + row * static_cast<std::size_t>(width);
    T* out = to.data() + static_cast<std::size_t>(y) * columns.size();
    for (std::size_t x = 0; x < columns.size(); ++x) out[x] = in[columns[x]];
  }
  return to;
}

}  // namespace

ScaledPixels ScaleNearest(const PictureData& source, int numerator, int denominator) {
  ScaledPixels out;
  const int width = source.Width();
  const int height = source.Height();
  if (width <= 0 || height <= 0 || numerator <= 0 || denominator <= 0) return out;
  out.width = ScaledSize(width, numerator, denominator);
  out.height = ScaledSize(height, numerator, denominator);
  std::vector<std::uint32_t> original(static_cast<std::size_t>(width) *
                                      static_cast<std::size_t>(height));
  source.ReadPixels({0, 0, width, height}, original.data());
  // Which source column each new column shows, worked out once.
  std::vector<std::size_t> columns(static_cast<std::size_t>(out.width));
  for (int x = 0; x < out.width; ++x) {
    columns[static_cast<std::size_t>(x)] =
        static_cast<std::size_t>(static_cast<long long>(x) * denominator / numerator);
  }
  out.pixels = Pick(original, width, columns, out.height, numerator, denominator);
  // One pixel tells whether the source has alpha at all.
  std::vector<std::uint8_t> alpha(1);
  if (source.ReadAlpha({0, 0, 1, 1}, alpha.data())) {
    alpha.resize(original.size());
    source.ReadAlpha({0, 0, width, height}, alpha.data());
    out.alpha = Pick(alpha, width, columns, out.height, numerator, denominator);
  }
  return out;
}

bool HasAlpha(const PictureData& picture) {
  std::uint8_t alpha = 0;
  return picture.Width() > 0 && picture.Height() > 0 && picture.ReadAlpha({0, 0, 1, 1}, &alpha);
}

ScaledPixels BlendOver(const PictureData& top, const PictureData& under, int x, int y) {
  ScaledPixels out;
  out.width = top.Width();
  out.height = top.Height();
  if (out.width <= 0 || out.height <= 0) return {};
  const std::size_t count =
      static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
  out.pixels.resize(count);
  std::vector<std::uint8_t> alpha(count, 255);
  top.ReadPixels({0, 0, out.width, out.height}, out.pixels.data());
  top.ReadAlpha({0, 0, out.width, out.height}, alpha.data());
  if (std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a == 255; })) return {};
  std::vector<std::uint32_t> below(count, 0);
  under.ReadPixels({x, y, x + out.width, y + out.height}, below.data());
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t a = alpha[i];
    std::uint32_t blended = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t t = (out.pixels[i] >> shift) & 0xFFu;
      const std::uint32_t u = (below[i] >> shift) & 0xFFu;
      blended |= ((t * a + u * (255 - a) + 127) / 255) << shift;
    }
    out.pixels[i] = blended;
  }
  return out;
}

}  // namespace rt

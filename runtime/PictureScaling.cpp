// Nearest-neighbour scaling, with whole-number arithmetic so that every platform gets the same
// pixels.
#include "PictureScaling.h"

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

}  // namespace rt

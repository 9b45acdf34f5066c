// Nearest-neighbour scaling, with whole-number arithmetic so that every platform gets the same
// pixels.
#include "PictureScaling.h"

namespace rt {

namespace {

int ScaledSize(int size, int numerator, int denominator) {
  const long long product = static_cast<long long>(size) * numerator;
  return static_cast<int>((product + denominator - 1) / denominator);
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
  out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    const std::size_t row =
        static_cast<std::size_t>(static_cast<long long>(y) * denominator / numerator);
    const std::uint32_t* from = original.data() + row * static_cast<std::size_t>(width);
    std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * columns.size();
    for (std::size_t x = 0; x < columns.size(); ++x) to[x] = from[columns[x]];
  }
  return out;
}

}  // namespace rt

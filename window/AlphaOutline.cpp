// The outline from the skin's alpha, read in one go and scanned row by row.
#include "AlphaOutline.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace menu {

namespace {

bool IsSoft(std::uint8_t value) { return value != 0 && value != 255; }

// The rectangles of the pixels of alpha at least `least`: each row's runs of them, rows with the
// same runs merged into one band.
class Bands {
 public:
  explicit Bands(std::uint8_t least) : least_(least) {}

  void AddRow(int y, const std::uint8_t* alpha, int width) {
    runs_.clear();
    int x = 0;
    while (x < width) {
      while (x < width && alpha[x] < least_) ++x;
      const int from = x;
      while (x < width && alpha[x] >= least_) ++x;
      if (from < x) runs_.emplace_back(from, x);
    }
    if (y == 0 || runs_ != band_) {
      if (y != 0) Close(y);
      std::swap(band_, runs_);
      bandTop_ = y;
    }
  }

  std::vector<rt::PixelRect> Finish(int height) {
    Close(height);
    return std::move(rects_);
  }

 private:
  void Close(int bandBottom) {
    for (const auto& [from, to] : band_) rects_.push_back({from, bandTop_, to, bandBottom});
  }

  std::uint8_t least_;
  std::vector<rt::PixelRect> rects_;
  std::vector<std::pair<int, int>> runs_;
  std::vector<std::pair<int, int>> band_;  // the runs of the band of rows being collected
  int bandTop_ = 0;
};

}  // namespace

std::optional<std::vector<rt::PixelRect>> AlphaOutlineRects(const rt::PictureData& skin,
                                                            SoftAlpha* soft) {
  const int width = skin.Width();
  const int height = skin.Height();
  if (width <= 0 || height <= 0) return std::nullopt;
  const auto columns = static_cast<std::size_t>(width);
  std::vector<std::uint8_t> alpha(columns * static_cast<std::size_t>(height));
  if (!skin.ReadAlpha({0, 0, width, height}, alpha.data())) return std::nullopt;
  const bool anySoft = std::any_of(alpha.begin(), alpha.end(), IsSoft);
  Bands outline(1);
  Bands opaque(255);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = alpha.data() + static_cast<std::size_t>(y) * columns;
    outline.AddRow(y, row, width);
    if (anySoft && soft != nullptr) opaque.AddRow(y, row, width);
  }
  std::vector<rt::PixelRect> rects = outline.Finish(height);
  if (soft != nullptr) {
    *soft = {};
    if (anySoft) *soft = {std::move(alpha), rects, opaque.Finish(height)};
  }
  return rects;
}

bool HasSoftPixels(const std::vector<std::uint8_t>& alpha, int width, const rt::PixelRect& area) {
  if (width <= 0) return false;
  const int height = static_cast<int>(alpha.size() / static_cast<std::size_t>(width));
  const rt::PixelRect part = rt::Intersect(area, {0, 0, width, height});
  for (int y = part.top; y < part.bottom; ++y) {
    const auto row = alpha.begin() + static_cast<std::ptrdiff_t>(y) * width;
    if (std::any_of(row + part.left, row + part.right, IsSoft)) return true;
  }
  return false;
}

}  // namespace menu

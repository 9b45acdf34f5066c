// The outline from the skin's alpha, read one row at a time.
#include "AlphaOutline.h"

#include <cstdint>
#include <utility>

namespace menu {

std::optional<std::vector<rt::PixelRect>> AlphaOutlineRects(const rt::PictureData& skin,
                                                            std::vector<std::uint8_t>* softAlpha) {
  const int width = skin.Width();
  const int height = skin.Height();
  std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width > 0 ? width : 0));
  if (height <= 0 || alpha.empty() || !skin.ReadAlpha({0, 0, width, 1}, alpha.data())) {
    return std::nullopt;
  }
  std::vector<rt::PixelRect> rects;
  std::vector<std::pair<int, int>> runs;
  std::vector<std::pair<int, int>> band;  // the runs of the band of rows being collected
  int bandTop = 0;
  bool soft = false;
  if (softAlpha != nullptr) softAlpha->clear();
  auto close = [&](int bandBottom) {
    for (const auto& [from, to] : band) rects.push_back({from, bandTop, to, bandBottom});
  };
  for (int y = 0; y < height; ++y) {
    if (y > 0) skin.ReadAlpha({0, y, width, y + 1}, alpha.data());
    if (softAlpha != nullptr) {
      for (const std::uint8_t value : alpha) soft = soft || (value != 0 && value != 255);
      softAlpha->insert(softAlpha->end(), alpha.begin(), alpha.end());
    }
    runs.clear();
    int x = 0;
    while (x < width) {
      while (x < width && alpha[static_cast<std::size_t>(x)] == 0) ++x;
      const int from = x;
      while (x < width && alpha[static_cast<std::size_t>(x)] != 0) ++x;
      if (from < x) runs.emplace_back(from, x);
    }
    if (y == 0 || runs != band) {
      if (y != 0) close(y);
      band = runs;
      bandTop = y;
    }
  }
  close(height);
  if (softAlpha != nullptr && !soft) std::vector<std::uint8_t>().swap(*softAlpha);
  return rects;
}

}  // namespace menu

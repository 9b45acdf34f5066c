// Computing the skin's outline from the pixels of its corner areas.
#include "startup/SkinOutline.h"

#include <algorithm>

#include "runtime/RunTimeError.h"

namespace menu {

std::array<CornerArea, 4> CornerAreas(int skinWidth, int skinHeight) {
  const int right = skinWidth - 1;
  const int bottom = skinHeight - 1;
  return {{
      {0, kCornerNear, 0, kCornerNear},
      {0, kCornerNear, kCornerFarY, bottom},
      {kCornerFarX, right, 0, kCornerNear},
      {kCornerFarX, right, kCornerFarY, bottom},
  }};
}

bool IsHole(int x, int y, std::uint32_t colour, int skinWidth, int skinHeight) {
  if (colour != 0 || x < 0 || y < 0 || x >= skinWidth || y >= skinHeight) return false;
  for (const CornerArea& area : CornerAreas(skinWidth, skinHeight)) {
    if (x >= area.xFrom && x <= area.xTo && y >= area.yFrom && y <= area.yTo) return true;
  }
  return false;
}

void CheckSkinSize(int skinWidth, int skinHeight) {
  if (skinWidth >= kSkinSizeLimit || skinHeight >= kSkinSizeLimit) {
    throw rt::RunTimeError(
        rt::kErrOverflow, L"The skin is too large for the window's outline",
        std::to_wstring(skinWidth) + L" x " + std::to_wstring(skinHeight) + L" pixels",
        L"A skin must be less than 32768 pixels wide and high.");
  }
}

namespace {

using Runs = std::vector<std::pair<int, int>>;  // [from, to) along a row

// The parts of row `y` that stay in the window, given the row's pixels (or null outside the
// picture or the corner bands).
void RowRuns(const std::uint32_t* row, int rowWidth, int skinWidth, Runs& runs) {
  runs.clear();
  int start = 0;
  auto scan = [&](int from, int to) {
    from = std::max(from, 0);
    to = std::min({to, skinWidth - 1, rowWidth - 1});
    for (int x = from; x <= to; ++x) {
      if (row[x] != 0) continue;
      if (start < x) runs.emplace_back(start, x);
      start = x + 1;
    }
  };
  if (row != nullptr) {
    scan(0, kCornerNear);
    scan(std::max(kCornerFarX, kCornerNear + 1), skinWidth - 1);
  }
  if (start < skinWidth) runs.emplace_back(start, skinWidth);
}

}  // namespace

std::vector<rt::PixelRect> SkinOutlineRects(int skinWidth, int skinHeight,
                                            const rt::PictureData& skin) {
  std::vector<rt::PixelRect> rects;
  if (skinWidth <= 0 || skinHeight <= 0) return rects;

  const int pictureWidth = std::max(skin.Width(), 0);
  const int pictureHeight = skin.Height();
  const auto width = static_cast<std::size_t>(pictureWidth);

  // Only the rows of the corner bands are read, each band in one go.
  const int topEnd = std::min(kCornerNear + 1, skinHeight);
  const int bottomStart = std::max(kCornerFarY, topEnd);
  auto readBand = [&](int from, int to) {
    to = std::min(to, pictureHeight);
    std::vector<std::uint32_t> band;
    if (to > from && width > 0) {
      band.resize(width * static_cast<std::size_t>(to - from));
      skin.ReadRows(from, to - from, band.data());
    }
    return band;
  };
  const std::vector<std::uint32_t> top = readBand(0, topEnd);
  const std::vector<std::uint32_t> bottom = readBand(bottomStart, skinHeight);
  auto rowPixels = [&](int y) -> const std::uint32_t* {
    const std::vector<std::uint32_t>& band = y < topEnd ? top : bottom;
    const std::size_t offset = width * static_cast<std::size_t>(y < topEnd ? y : y - bottomStart);
    return offset < band.size() ? band.data() + offset : nullptr;
  };

  Runs runs;
  Runs band;  // the runs of the band of rows being collected
  int bandTop = 0;
  auto close = [&](int bandBottom) {
    for (const auto& [from, to] : band) rects.push_back({from, bandTop, to, bandBottom});
  };

  // Rows without corner pixels are full; a run of them is handled as one step.
  int y = 0;
  while (y < skinHeight) {
    const bool inBand = y < topEnd || y >= bottomStart;
    const std::uint32_t* pixels = inBand ? rowPixels(y) : nullptr;
    RowRuns(pixels, pixels != nullptr ? pictureWidth : 0, skinWidth, runs);
    if (y == 0 || runs != band) {
      if (y != 0) close(y);
      band = runs;
      bandTop = y;
    }
    y = inBand ? y + 1 : bottomStart;
  }
  close(skinHeight);
  return rects;
}

}  // namespace menu

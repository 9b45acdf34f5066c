// Computing the skin's outline from the pixels of its corner areas.
#include "SkinOutline.h"
#include "BitmapCheck.h"

#include <algorithm>

#include "Decimal.h"
#include "RunTimeError.h"

namespace menu {

namespace {

struct Bounds {
  int near;  // the last row or column of the near bands
  int farX;  // the first column of the right band
  int farY;  // the first row of the bottom band
};

Bounds BoundsAt(int dpi) {
  return {rt::Scaled(kCornerNear + 1, dpi) - 1, rt::Scaled(kCornerFarX, dpi),
          rt::Scaled(kCornerFarY, dpi)};
}

}  // namespace

std::array<CornerArea, 4> CornerAreas(int skinWidth, int skinHeight, int dpi) {
  const Bounds b = BoundsAt(dpi);
  const int right = skinWidth - 1;
  const int bottom = skinHeight - 1;
  return {{
      {0, b.near, 0, b.near},
      {0, b.near, b.farY, bottom},
      {b.farX, right, 0, b.near},
      {b.farX, right, b.farY, bottom},
  }};
}

bool IsHole(int x, int y, std::uint32_t colour, int skinWidth, int skinHeight, int dpi) {
  if (colour != 0 || x < 0 || y < 0 || x >= skinWidth || y >= skinHeight) return false;
  for (const CornerArea& area : CornerAreas(skinWidth, skinHeight, dpi)) {
    if (x >= area.xFrom && x <= area.xTo && y >= area.yFrom && y <= area.yTo) return true;
  }
  return false;
}

void CheckSkinSize(int skinWidth, int skinHeight) {
  if (skinWidth >= kSkinSizeLimit || skinHeight >= kSkinSizeLimit) {
    throw rt::RunTimeError(
        rt::kErrOverflow, rt::AsciiText("The skin is too large for the window's outline"),
        rt::DecimalText(skinWidth) + L" x " + rt::DecimalText(skinHeight) + L" pixels",
        rt::AsciiText("A skin must be less than 32768 pixels wide and high."));
  }
}

namespace {

using Runs = std::vector<std::pair<int, int>>;  // [from, to) along a row

// The corner pixels of a band of rows: the left area and the right area, read in one go each.
// Points outside the picture read as white, so they never count as black.
class CornerBand {
 public:
  CornerBand(const rt::PictureData& skin, int skinWidth, int top, int bottom, const Bounds& bounds)
      : top_(top),
        farX_(bounds.farX),
        leftWidth_(std::max(std::min(bounds.near + 1, skinWidth), 0)),
        rightWidth_(std::max(skinWidth - bounds.farX, 0)) {
    const auto rows = static_cast<std::size_t>(std::max(bottom - top, 0));
    left_.assign(rows * static_cast<std::size_t>(leftWidth_), kWhite);
    right_.assign(rows * static_cast<std::size_t>(rightWidth_), kWhite);
    if (rows == 0) return;
    if (leftWidth_ > 0) skin.ReadPixels({0, top, leftWidth_, bottom}, left_.data());
    if (rightWidth_ > 0) skin.ReadPixels({farX_, top, skinWidth, bottom}, right_.data());
  }

  // The parts of row `y` that stay in the window.
  void RowRuns(int y, int skinWidth, Runs& runs) const {
    runs.clear();
    int start = 0;
    auto scan = [&](const std::vector<std::uint32_t>& pixels, int width, int firstX) {
      const std::uint32_t* row =
          pixels.data() + static_cast<std::size_t>(y - top_) * static_cast<std::size_t>(width);
      for (int i = 0; i < width; ++i) {
        if (row[i] != 0) continue;
        const int x = firstX + i;
        if (start < x) runs.emplace_back(start, x);
        start = x + 1;
      }
    };
    scan(left_, leftWidth_, 0);
    scan(right_, rightWidth_, farX_);
    if (start < skinWidth) runs.emplace_back(start, skinWidth);
  }

 private:
  static constexpr std::uint32_t kWhite = 0x00FFFFFFu;
  int top_;
  int farX_;
  int leftWidth_;
  int rightWidth_;
  std::vector<std::uint32_t> left_;
  std::vector<std::uint32_t> right_;
};

}  // namespace

std::vector<rt::PixelRect> SkinOutlineRects(int skinWidth, int skinHeight,
                                            const rt::PictureData& skin, int dpi) {
  std::vector<rt::PixelRect> rects;
  if (skinWidth <= 0 || skinHeight <= 0) return rects;

  // Only the corner areas are read: the top band of rows and the bottom one.
  const Bounds bounds = BoundsAt(dpi);
  const int topEnd = std::min(bounds.near + 1, skinHeight);
  const int bottomStart = std::max(bounds.farY, topEnd);
  const CornerBand top(skin, skinWidth, 0, topEnd, bounds);
  const CornerBand bottom(skin, skinWidth, bottomStart, skinHeight, bounds);

  Runs runs;
  Runs band;  // the runs of the band of rows being collected
  int bandTop = 0;
  auto close = [&](int bandBottom) {
    for (const auto& [from, to] : band) rects.push_back({from, bandTop, to, bandBottom});
  };

  // Rows between the two bands are full; they are handled as one step.
  int y = 0;
  while (y < skinHeight) {
    const bool inTop = y < topEnd;
    const bool inBottom = y >= bottomStart;
    if (inTop) {
      top.RowRuns(y, skinWidth, runs);
    } else if (inBottom) {
      bottom.RowRuns(y, skinWidth, runs);
    } else {
      runs.assign(1, {0, skinWidth});
    }
    if (y == 0 || runs != band) {
      if (y != 0) close(y);
      band = runs;
      bandTop = y;
    }
    y = inTop || inBottom ? y + 1 : bottomStart;
  }
  close(skinHeight);
  return rects;
}

}  // namespace menu

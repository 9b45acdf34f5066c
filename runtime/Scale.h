// Display scales, as dots per inch: the design is drawn for 96. Figures of the design are scaled
// edge by edge, rounding up, so that edges that meet at 96 DPI still meet at any scale, and a
// design pixel p covers exactly the pixels from Scaled(p) to Scaled(p + 1) - 1.
#pragma once

#include "Geometry.h"

namespace rt {

inline constexpr int kDesignDpi = 96;

// A design coordinate (pixels at 96 DPI) at `dpi`.
constexpr int Scaled(int pixels, int dpi) {
  const long long product = static_cast<long long>(pixels) * dpi;
  const long long quotient = product / kDesignDpi;
  return static_cast<int>(product % kDesignDpi > 0 ? quotient + 1 : quotient);
}

constexpr PixelRect Scaled(const PixelRect& rect, int dpi) {
  return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.right, dpi),
          Scaled(rect.bottom, dpi)};
}

// The scale in percent, as Windows names scales (120 DPI: 125).
constexpr int ScalePercent(int dpi) { return (dpi * 100 + kDesignDpi / 2) / kDesignDpi; }

// The scale the window takes on a screen of `dpi` whose work area is `workWidth` x `workHeight`
// pixels, for a window of `width` x `height` design pixels: the screen's own where the window
// fits, else the largest of the scales Windows offers below it that fits, never below the design's.
int FittingDpi(int dpi, int width, int height, int workWidth, int workHeight);

}  // namespace rt

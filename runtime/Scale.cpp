// The largest display scale at which the window still fits the screen's work area.
#include "Scale.h"

#include <array>

namespace rt {

namespace {

// The scales Windows offers, in percent, smallest first.
constexpr std::array<int, 12> kWindowsScales = {100, 125, 150, 175, 200, 225,
                                                250, 300, 350, 400, 450, 500};

bool Fits(int dpi, int width, int height, int workWidth, int workHeight) {
  return Scaled(width, dpi) <= workWidth && Scaled(height, dpi) <= workHeight;
}

}  // namespace

int FittingDpi(int dpi, int width, int height, int workWidth, int workHeight) {
  if (dpi <= kDesignDpi) return kDesignDpi;
  if (Fits(dpi, width, height, workWidth, workHeight)) return dpi;
  // Smaller, by the scales a user could have chosen: their pictures are the ones a disc holds.
  for (auto scale = kWindowsScales.rbegin(); scale != kWindowsScales.rend(); ++scale) {
    const int smaller = kDesignDpi * *scale / 100;
    if (smaller < dpi && Fits(smaller, width, height, workWidth, workHeight)) return smaller;
  }
  return kDesignDpi;
}

}  // namespace rt

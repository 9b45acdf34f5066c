// The window's outline from its skin: the full rectangle less the pure black pixels found in the
// four corner areas, computed without the platform and handed over as rectangles.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Geometry.h"
#include "Picture.h"
#include "Scale.h"

namespace menu {

// The fixed bounds of the corner areas. The left and top bands run from 0 to 60 (61 pixels deep),
// the right band from 740 and the bottom band from 540 to the skin's far edge. At another display
// scale they are where those design pixels lie on the scaled skin: the near bands end where
// design pixel 61 begins, the far ones begin where design pixels 740 and 540 do.
inline constexpr int kCornerNear = 60;
inline constexpr int kCornerFarX = 740;
inline constexpr int kCornerFarY = 540;

// Skins this large in either direction overflow the 16-bit coordinates of the scan.
inline constexpr int kSkinSizeLimit = 32768;

// A corner area with inclusive bounds; empty when a last bound lies below its first.
struct CornerArea {
  int xFrom, xTo, yFrom, yTo;
  bool Empty() const { return xTo < xFrom || yTo < yFrom; }
};

// The four areas in scan order: top-left, bottom-left, top-right, bottom-right.
std::array<CornerArea, 4> CornerAreas(int skinWidth, int skinHeight, int dpi = rt::kDesignDpi);

// Whether (x, y) is a hole: pure black (colour value 0 exactly) inside a corner area.
bool IsHole(int x, int y, std::uint32_t colour, int skinWidth, int skinHeight,
            int dpi = rt::kDesignDpi);

// Raises the overflow error for a skin of kSkinSizeLimit pixels or more in either direction.
void CheckSkinSize(int skinWidth, int skinHeight);

// The outline as non-overlapping rectangles sorted top to bottom, then left to right, rows with the
// same runs merged into one band. Points outside the picture never count as black.
std::vector<rt::PixelRect> SkinOutlineRects(int skinWidth, int skinHeight,
                                            const rt::PictureData& skin, int dpi = rt::kDesignDpi);

}  // namespace menu

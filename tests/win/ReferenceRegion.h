// The straightforward way to shape a window from its skin: every black corner pixel becomes a
// 1 x 1 region united into the outline one at a time. Kept to check and measure the fast one.
#pragma once

#include <windows.h>

namespace menu::reference {

// The outline of a skin of the given size from the bitmap's pixels, read with GetPixel.
HRGN BuildRegionPerPixel(HBITMAP skin, int skinWidth, int skinHeight);

}  // namespace menu::reference

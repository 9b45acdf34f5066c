// The per-pixel outline: GetPixel on each point of the four corner areas, one CreateRectRgn and
// one CombineRgn for each black pixel, the result the full rectangle less what was collected.
#include "ReferenceRegion.h"

namespace menu::reference {

HRGN BuildRegionPerPixel(HBITMAP skin, int skinWidth, int skinHeight) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, skin);

  HRGN collected = CreateRectRgn(0, 0, skinWidth, skinHeight);
  HRGN full = CreateRectRgn(0, 0, skinWidth, skinHeight);
  CombineRgn(collected, collected, collected, RGN_XOR);

  struct Area {
    int xFrom, xTo, yFrom, yTo;
  };
  const Area areas[] = {{0, 60, 0, 60},
                        {0, 60, 540, skinHeight - 1},
                        {740, skinWidth - 1, 0, 60},
                        {740, skinWidth - 1, 540, skinHeight - 1}};
  for (const Area& area : areas) {
    for (int x = area.xFrom; x <= area.xTo; ++x) {
      for (int y = area.yFrom; y <= area.yTo; ++y) {
        if (GetPixel(memory, x, y) == 0) {
          HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
          CombineRgn(collected, collected, pixel, RGN_OR);
          DeleteObject(pixel);
        }
      }
    }
  }
  CombineRgn(collected, collected, full, RGN_XOR);

  DeleteObject(full);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return collected;
}

}  // namespace menu::reference

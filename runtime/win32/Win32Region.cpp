// A window region from non-overlapping rectangles, with one ExtCreateRegion call.
#include "Win32Region.h"

#include <cstdint>
#include <memory>

namespace rt::win32 {

Region CreateRegion(const std::vector<PixelRect>& rects) {
  HRGN region = nullptr;
  if (rects.empty()) {
    region = CreateRectRgn(0, 0, 0, 0);
  } else {
    const std::size_t size = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
    std::vector<std::uint32_t> buffer((size + 3) / 4);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    PixelRect bound{};
    for (const PixelRect& r : rects) {
      *out++ = RECT{r.left, r.top, r.right, r.bottom};
      bound = Union(bound, r);
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = RECT{bound.left, bound.top, bound.right, bound.bottom};
    region = ExtCreateRegion(nullptr, static_cast<DWORD>(size), data);
  }
  if (region == nullptr) return Region();
  return Region(std::make_unique<Win32Region>(region));
}

}  // namespace rt::win32

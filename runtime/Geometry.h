// Pixel rectangles shared by the forms layer, the outline builder and the platform.
#pragma once

#include <algorithm>

namespace rt {

// A rectangle in pixels; right and bottom are exclusive, as in every GDI rectangle.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  return r.Empty() ? PixelRect{} : r;
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The top-left corner of a `width` x `height` rectangle centred in `area`; one larger than the area
// overhangs it equally on both sides.
inline PixelPoint CentredIn(const PixelRect& area, int width, int height) {
  return {area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2};
}

}  // namespace rt

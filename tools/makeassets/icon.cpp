// The program's icon, at 32 and 16 pixels, and the palette it is stored with.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace makeassets {

IconPalette icon_palette() {
  return {{
      {0, 0, 0},
      {20, 36, 72},
      {36, 84, 170},
      {70, 140, 230},
      {140, 200, 250},
      {255, 255, 255},
      {228, 232, 240},
      {196, 202, 214},
      {150, 158, 176},
      {96, 104, 124},
      {56, 62, 80},
      {170, 225, 240},
      {210, 190, 235},
      {240, 220, 170},
      {180, 230, 200},
      {120, 80, 170},
  }};
}

IconImage paint_icon(int size) {
  const double s = size;
  const double cx = s / 2;
  const double cy = s / 2;
  const double r = s * 0.47;
  Image img(size, size);
  const Shape disc = subtract(circle(cx, cy, r), circle(cx, cy, std::max(s * 0.07, 1.6)));
  img.fill(disc, vertical(cy - r, cy + r, {240, 242, 248}, {150, 158, 176}));
  const Shape data = subtract(circle(cx, cy, r - s * 0.06), circle(cx, cy, s * 0.2));
  img.fill(
      intersect(data, convex_polygon({{cx, cy}, {cx - 2 * r, cy - 0.2 * r}, {cx - r, cy - 2 * r}})),
      solid({170, 225, 240}), 0.85);
  img.fill(
      intersect(data, convex_polygon({{cx, cy}, {cx + r, cy - 2 * r}, {cx + 2 * r, cy - 0.6 * r}})),
      solid({210, 190, 235}), 0.9);
  img.fill(intersect(outline(circle(cx, cy, r - 0.5), 1), circle(cx, cy, r)),
           solid({96, 104, 124}));
  img.fill(outline(circle(cx, cy, s * 0.2), 1), solid({150, 158, 176}));

  // A small menu window in front of the disc, on whole pixels so it stays crisp.
  const double mx = std::round(s * 0.5);
  const double my = std::round(s * 0.56);
  const double mw = s - 1 - mx;
  const double mh = s - 1 - my;
  const Shape window = rect(mx, my, mw, mh);
  img.fill(window, solid({36, 84, 170}));
  img.fill(rect(mx, my, mw, std::round(s * 0.09)), solid({70, 140, 230}));
  img.fill(outline(rect(mx + 0.5, my + 0.5, mw - 1, mh - 1), 1), solid({20, 36, 72}));
  const int lines = size >= 32 ? 3 : 1;
  for (int i = 0; i < lines; ++i) {
    const double ly = my + std::round(s * 0.16) + i * 3;
    const double inset = size >= 32 ? 3 : 2;
    img.fill(rect(mx + inset, ly, mw - 2 * inset, 1),
             solid(i == 0 ? Rgb{255, 255, 255} : Rgb{140, 200, 250}));
  }

  IconImage icon{img, {}};
  const Shape all = unite({disc, window});
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) icon.opaque.push_back(all.distance(x + 0.5, y + 0.5) < 0.3);
  }
  return icon;
}

}  // namespace makeassets

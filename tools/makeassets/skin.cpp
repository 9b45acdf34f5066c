// The window's skin, full and design-time, with its cut corners, and the check of its pure black.
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

#include "art.h"
#include "font.h"
#include "products.h"

namespace makeassets {
namespace {

constexpr std::string_view kTitle = "NORTHWIND STUDIO SUITE 2026";
constexpr int kTitleX = 118;
constexpr int kTitleY = 18;
constexpr std::string_view kHeading = "CHOOSE A PRODUCT TO INSTALL";
constexpr int kHeadingX = 72;
constexpr int kHeadingY = 80;
constexpr Rgb kAlmostBlack{1, 1, 1};
// Near black that carries the black rule on through the corner areas.
constexpr Rgb kRuleEnd{3, 6, 14};

}  // namespace

void paint_black_rule(Image& img) {
  img.fill_rect(4, kBlackRule.y, kSkinWidth - 8, kBlackRule.h, kRuleEnd);  // inside the rim
  img.fill_rect(kBlackRule.x, kBlackRule.y, kBlackRule.w, kBlackRule.h, kBlack);
}

namespace {

// Cuts the corners and places the black rule; every other pixel is kept off pure black.
void finish_frame(Image& img) {
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (img.at(x, y) == kBlack) img.set(x, y, kAlmostBlack);
    }
  }
  paint_black_rule(img);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (outside_outline(x, y)) img.set(x, y, kBlack);
    }
  }
}

Shape main_panel() { return rounded_rect(40, 144, 720, 380, 22); }

Shape disabled_slot(const Place& p) {
  return rounded_rect(p.x + 0.5, p.y + 0.5, p.w - 1, p.h - 1, 9);
}

// One wedge of coloured sheen on a disc's data band; `tilt` sets where its lower edge leaves.
struct Sheen {
  double tilt;
  Rgb colour;
  double alpha;
};

// Light catching the data side: a wedge up and to the left of the centre, one down and to the
// right.
void paint_sheen(Image& img, const Shape& band, double cx, double cy, double r, const Sheen& up,
                 const Sheen& down) {
  img.fill(intersect(band, convex_polygon(
                               {{cx, cy}, {cx - 2 * r, cy - up.tilt * r}, {cx - r, cy - 2 * r}})),
           solid(up.colour), up.alpha);
  img.fill(intersect(band, convex_polygon(
                               {{cx, cy}, {cx + 2 * r, cy + down.tilt * r}, {cx + r, cy + 2 * r}})),
           solid(down.colour), down.alpha);
}

void paint_logo_disc(Image& img, double cx, double cy, double r, Rgb hole) {
  img.fill(circle(cx, cy, r), vertical(cy - r, cy + r, {236, 240, 248}, {140, 156, 186}));
  paint_sheen(img, subtract(circle(cx, cy, r - 1), circle(cx, cy, r * 0.38)), cx, cy, r,
              {0.4, {120, 220, 250}, 0.45}, {0.5, {220, 160, 240}, 0.35});
  img.fill(outline(circle(cx, cy, r - 0.5), 1), solid({40, 66, 116}), 0.8);
  img.fill(circle(cx, cy, r * 0.36), solid({214, 222, 236}));
  img.fill(outline(circle(cx, cy, r * 0.36), 1), solid({120, 134, 160}), 0.7);
  img.fill(circle(cx, cy, r * 0.16), solid(hole));
}

void paint_title_strip(Image& img) {
  img.gradient_rect(0, 0, kSkinWidth, kTitleStripHeight, {60, 112, 194}, {22, 52, 110});
  img.fill(rect(0, 0, kSkinWidth, 27), solid(kWhite), 0.07);
  img.fill_rect(0, 1, kSkinWidth, 1, {130, 176, 236});
  img.fill_rect(0, kTitleStripHeight - 1, kSkinWidth, 1, {12, 28, 62});
  paint_logo_disc(img, 88, 28.5, 17, {36, 72, 138});
  draw_text_smooth(img, kTitleX + 2, kTitleY + 2, kTitle, 3, {6, 16, 40}, 1.1, 0.8);
  draw_text_smooth(img, kTitleX, kTitleY, kTitle, 3, {246, 250, 255}, 1.1);
  constexpr std::string_view kDisc = "INSTALLATION DISC";
  draw_text(img, 728 - static_cast<int>(text_width(kDisc, 1)), 25, kDisc, 1, {176, 206, 244});
}

void paint_texts(Image& img) {
  draw_text_smooth(img, kHeadingX + 1, kHeadingY + 1, kHeading, 2, {4, 10, 26}, 1.0, 0.6);
  draw_text_smooth(img, kHeadingX, kHeadingY, kHeading, 2, {228, 238, 252});
  draw_text(img, 72, 104, "CREATIVE TOOLS FOR 3D, SOUND, PHOTO AND VIDEO", 1, {134, 170, 220});
  for (std::size_t i = 0; i < kProducts.size(); ++i) {
    const Place& p = kInstallerPlaces[i];
    const Product& product = kProducts[i];
    draw_text_smooth(img, p.x + (p.w - text_width(product.caption, 2)) / 2, p.y + p.h + 8,
                     product.caption, 2, mix(product.hue, kWhite, 0.55));
    draw_text(img, p.x + static_cast<int>((p.w - text_width(product.version, 1)) / 2),
              p.y + p.h + 26, product.version, 1, {118, 146, 190});
  }
  draw_text(img, 72, 549, "(C) 2026 NORTHWIND STUDIO. ALL RIGHTS RESERVED.", 1, {126, 156, 204});
  draw_text(img, 72, 563, "INSERT THE DISC AGAIN AT ANY TIME TO REPAIR OR ADD PRODUCTS.", 1,
            {92, 120, 168});
}

void paint_places(Image& img) {
  // Faint slots where the menu can offer further entries.
  for (const Place& p : kDisabledPlaces) {
    const Shape slot = disabled_slot(p);
    img.fill(slot, solid({120, 170, 240}), 0.05);
    img.fill(outline(slot, 1), solid({120, 170, 240}), 0.16);
  }
  const Place& c = kClosePlace;
  img.fill(outline(rounded_rect(c.x + 2, c.y + 2, c.w - 4, c.h - 4, 12), 1), solid({120, 170, 240}),
           0.18);
}

void paint_panel(Image& img) {
  const Shape panel = main_panel();
  img.fill(panel, vertical(144, 524, {70, 124, 206}, {40, 80, 150}), 0.13);
  img.fill(outline(panel, 1), solid({140, 190, 255}), 0.3);
  img.fill(rect(48, 532, 704, 1), solid({140, 190, 255}), 0.2);
}

void paint_background(Image& img) {
  img.gradient_rect(0, 0, kSkinWidth, kSkinHeight, {22, 50, 100}, {6, 16, 40});
  img.glow(circle(170, 140, 0), {64, 126, 214}, 560, 0.32);
  img.glow(circle(760, 640, 0), {24, 150, 196}, 440, 0.2);
  // Soft diagonal beams of light.
  img.glow(capsule({-200, 640}, {1000, -60}, 1), {96, 168, 246}, 150, 0.09);
  img.glow(capsule({-200, 860}, {1000, 160}, 1), {96, 168, 246}, 80, 0.07);
  // Sweeping arcs across the lower half.
  const Shape arc1 = outline(circle(560, 1500, 1080), 1.5);
  img.glow(arc1, {90, 170, 255}, 24, 0.12);
  img.fill(arc1, solid({150, 206, 255}), 0.35);
  img.fill(outline(circle(300, 1600, 1160), 1), solid({150, 206, 255}), 0.2);

  // A large faint disc on the right.
  const double cx = 666;
  const double cy = 168;
  const double r = 100;
  img.fill(circle(cx, cy, r), solid({120, 176, 246}), 0.06);
  paint_sheen(img, subtract(circle(cx, cy, r), circle(cx, cy, 24)), cx, cy, r,
              {0.3, {120, 230, 250}, 0.07}, {0.4, {210, 150, 250}, 0.06});
  for (double ring : {r, r - 30, r - 56}) {
    img.fill(outline(circle(cx, cy, ring), 1.2), solid({150, 200, 255}), ring == r ? 0.28 : 0.1);
  }
  img.fill(circle(cx, cy, 24), solid({150, 200, 255}), 0.1);
  img.fill(circle(cx, cy, 9), solid({6, 16, 40}), 0.35);
}

void paint_button_halos(Image& img) {
  for (std::size_t i = 0; i < kInstallerPlaces.size(); ++i) {
    img.glow(button_tile(kInstallerPlaces[i], 0), mix(kProducts[i].hue, kWhite, 0.3), 34, 0.22);
  }
}

}  // namespace

void paint_rim(Image& img, const Place& edge, double radius) {
  img.fill(outline(rounded_rect(edge.x + 1, edge.y + 1, edge.w - 2, edge.h - 2, radius - 1), 2),
           solid({110, 160, 230}), 0.85);
  img.fill(outline(rounded_rect(edge.x + 3, edge.y + 3, edge.w - 6, edge.h - 6, radius - 3), 1),
           solid({6, 14, 34}), 0.55);
}

Image paint_skin_face() {
  Image img(kSkinWidth, kSkinHeight);
  paint_background(img);
  paint_panel(img);
  paint_button_halos(img);
  paint_places(img);
  paint_texts(img);
  paint_title_strip(img);
  return img;
}

Shape button_tile(const Place& p, double offset) {
  return rounded_rect(p.x + kTileInset + offset, p.y + kTileInset + offset, p.w - 2 * kTileInset,
                      p.h - 2 * kTileInset, kTileRadius);
}

bool in_corner_area(int x, int y) {
  const bool cx = x < kCornerArea || x >= kSkinWidth - kCornerArea + 1;
  const bool cy = y < kCornerArea || y >= kSkinHeight - kCornerArea + 1;
  return cx && cy;
}

bool outside_outline(int x, int y) {
  const double r = kCornerRadius;
  const double px = x + 0.5;
  const double py = y + 0.5;
  const double dx = px < r ? r - px : (px > kSkinWidth - r ? px - (kSkinWidth - r) : 0);
  const double dy = py < r ? r - py : (py > kSkinHeight - r ? py - (kSkinHeight - r) : 0);
  return dx > 0 && dy > 0 && std::hypot(dx, dy) > r;
}

void check_skin(const Image& skin) {
  if (skin.width() != kSkinWidth || skin.height() != kSkinHeight) {
    throw std::runtime_error("skin has the wrong size");
  }
  auto in_rule = [](int x, int y) {
    return x >= kBlackRule.x && x < kBlackRule.x + kBlackRule.w && y >= kBlackRule.y &&
           y < kBlackRule.y + kBlackRule.h;
  };
  for (int y = 0; y < skin.height(); ++y) {
    for (int x = 0; x < skin.width(); ++x) {
      const bool expected = outside_outline(x, y) || in_rule(x, y);
      if ((skin.at(x, y) == kBlack) != expected) {
        throw std::runtime_error("unexpected black state at " + std::to_string(x) + "," +
                                 std::to_string(y));
      }
      if (outside_outline(x, y) && !in_corner_area(x, y)) {
        throw std::runtime_error("corner cut leaves the corner areas");
      }
      if (in_rule(x, y) && in_corner_area(x, y)) {
        throw std::runtime_error("black rule reaches a corner area");
      }
    }
  }
}

Image paint_skin() {
  Image img = paint_skin_face();
  paint_rim(img, Place{0, 0, kSkinWidth, kSkinHeight}, kCornerRadius);
  finish_frame(img);
  return img;
}

Image paint_design_skin() {
  // Few flat colours and hard edges: most rows are a handful of long runs.
  Image img(kSkinWidth, kSkinHeight, {12, 30, 66});
  img.set_antialias(false);
  img.fill(main_panel(), solid({22, 48, 98}));
  for (const Place& p : kInstallerPlaces) img.fill(button_tile(p, 0), solid({44, 86, 160}));
  for (const Place& p : kDisabledPlaces) img.fill(disabled_slot(p), solid({26, 54, 106}));
  img.fill_rect(0, 0, kSkinWidth, kTitleStripHeight, {34, 76, 146});
  img.fill(circle(88, 28.5, 17), solid({214, 222, 236}));
  img.fill(circle(88, 28.5, 3), solid({34, 76, 146}));
  draw_text(img, kTitleX, kTitleY, kTitle, 3, {244, 248, 255});
  finish_frame(img);
  return img;
}

}  // namespace makeassets

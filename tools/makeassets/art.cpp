#include "art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

#include "font.h"

namespace makeassets {
namespace {

struct Product {
  std::string_view name;
  std::string_view caption;
  std::string_view version;
  Rgb hue;
};

constexpr std::array<Product, 4> kProducts{{
    {"TEV", "3D DESIGN", "VERSION 7.1", {38, 112, 214}},
    {"MOLAN", "AUDIO STUDIO", "VERSION 4.2", {22, 150, 138}},
    {"PIRUK", "PHOTO EDITOR", "VERSION 12.0", {222, 122, 38}},
    {"DASEF", "VIDEO SUITE", "VERSION 3.5", {132, 74, 200}},
}};

constexpr std::string_view kTitle = "NORTHWIND STUDIO SUITE 2026";
constexpr int kTitleX = 118;
constexpr int kTitleY = 18;
constexpr std::string_view kHeading = "CHOOSE A PRODUCT TO INSTALL";
constexpr int kHeadingX = 72;
constexpr int kHeadingY = 80;
constexpr Rgb kNavy{8, 16, 38};
constexpr Rgb kAlmostBlack{1, 1, 1};
// Near black that carries the black rule on through the corner areas.
constexpr Rgb kRuleEnd{3, 6, 14};

// Button tiles leave a margin for the hover glow.
constexpr double kTileInset = 6;
constexpr double kTileRadius = 14;

double centred(double width, std::string_view text, double scale) {
  return (width - text_width(text, scale)) / 2;
}

// Cuts the corners and places the black rule; every other pixel is kept off pure black.
void finish_frame(Image& img) {
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (img.at(x, y) == kBlack) img.set(x, y, kAlmostBlack);
    }
  }
  img.fill_rect(4, kBlackRule.y, kSkinWidth - 8, kBlackRule.h, kRuleEnd);  // inside the rim
  img.fill_rect(kBlackRule.x, kBlackRule.y, kBlackRule.w, kBlackRule.h, kBlack);
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

Shape button_tile(const Place& p, double offset) {
  return rounded_rect(p.x + kTileInset + offset, p.y + kTileInset + offset, p.w - 2 * kTileInset,
                      p.h - 2 * kTileInset, kTileRadius);
}

void paint_rim(Image& img) {
  img.fill(outline(rounded_rect(1, 1, kSkinWidth - 2, kSkinHeight - 2, kCornerRadius - 1), 2),
           solid({110, 160, 230}), 0.85);
  img.fill(outline(rounded_rect(3, 3, kSkinWidth - 6, kSkinHeight - 6, kCornerRadius - 3), 1),
           solid({6, 14, 34}), 0.55);
}

void paint_logo_disc(Image& img, double cx, double cy, double r, Rgb hole) {
  img.fill(circle(cx, cy, r), vertical(cy - r, cy + r, {236, 240, 248}, {140, 156, 186}));
  // Coloured sheen as light catches the data side.
  const Shape band = subtract(circle(cx, cy, r - 1), circle(cx, cy, r * 0.38));
  img.fill(
      intersect(band, convex_polygon({{cx, cy}, {cx - 2 * r, cy - 0.4 * r}, {cx - r, cy - 2 * r}})),
      solid({120, 220, 250}), 0.45);
  img.fill(
      intersect(band, convex_polygon({{cx, cy}, {cx + 2 * r, cy + 0.5 * r}, {cx + r, cy + 2 * r}})),
      solid({220, 160, 240}), 0.35);
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
  const Shape band = subtract(circle(cx, cy, r), circle(cx, cy, 24));
  img.fill(
      intersect(band, convex_polygon({{cx, cy}, {cx - 2 * r, cy - 0.3 * r}, {cx - r, cy - 2 * r}})),
      solid({120, 230, 250}), 0.07);
  img.fill(
      intersect(band, convex_polygon({{cx, cy}, {cx + 2 * r, cy + 0.4 * r}, {cx + r, cy + 2 * r}})),
      solid({210, 150, 250}), 0.06);
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

// Icons are drawn around (cx, cy) within about 44 pixels.
void paint_icon_glyph(Image& img, int product, double cx, double cy, Rgb light, Rgb mid, Rgb dark) {
  switch (product) {
    case 0: {  // cube
      const double w = 20;
      const double h = 22;
      const Point top{cx, cy - h};
      const Point left{cx - w, cy - h / 2};
      const Point right{cx + w, cy - h / 2};
      const Point centre{cx, cy};
      const Point bottom{cx, cy + h};
      const Point left_low{cx - w, cy + h / 2};
      const Point right_low{cx + w, cy + h / 2};
      img.fill(convex_polygon({top, right, right_low, bottom, left_low, left}), solid(dark));
      img.fill(convex_polygon({top, right, centre, left}), solid(light));
      img.fill(convex_polygon({left, centre, bottom, left_low}), solid(mid));
      img.fill(outline(convex_polygon({top, right, right_low, bottom, left_low, left}), 1.2),
               solid(light), 0.6);
      break;
    }
    case 1: {  // level meter bars
      constexpr std::array<double, 7> kHeights{14, 26, 40, 30, 20, 36, 16};
      for (std::size_t i = 0; i < kHeights.size(); ++i) {
        const double x = cx + (static_cast<double>(i) - 3.0) * 6.5;
        const double h = kHeights[i] / 2;
        img.fill(capsule({x, cy - h}, {x, cy + h}, 2.4), vertical(cy - 20, cy + 20, light, mid));
      }
      break;
    }
    case 2: {  // camera
      img.fill(rounded_rect(cx - 10, cy - 19, 20, 10, 3), solid(mid));
      img.fill(rounded_rect(cx - 22, cy - 13, 44, 30, 6), vertical(cy - 13, cy + 17, light, mid));
      img.fill(circle(cx, cy + 2, 12), solid(dark));
      img.fill(outline(circle(cx, cy + 2, 12), 1.5), solid(light), 0.9);
      img.fill(circle(cx, cy + 2, 7), solid(mix(dark, light, 0.35)));
      img.fill(circle(cx - 3, cy - 1, 2.5), solid(kWhite), 0.9);
      img.fill(rounded_rect(cx + 12, cy - 10, 6, 4, 1.5), solid(dark), 0.8);
      break;
    }
    default: {  // video screen with play symbol
      img.fill(rounded_rect(cx - 22, cy - 17, 44, 32, 5), vertical(cy - 17, cy + 15, light, mid));
      img.fill(rounded_rect(cx - 18, cy - 13, 36, 24, 3), solid(dark));
      img.fill(convex_polygon({{cx - 6, cy - 9}, {cx + 9, cy - 1}, {cx - 6, cy + 7}}),
               solid(light));
      img.fill(rect(cx - 8, cy + 18, 16, 2), solid(mid));
      img.fill(rect(cx - 2, cy + 15, 4, 4), solid(mid));
      break;
    }
  }
}

}  // namespace

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
  Image img(kSkinWidth, kSkinHeight);
  paint_background(img);
  paint_panel(img);
  paint_button_halos(img);
  paint_places(img);
  paint_texts(img);
  paint_title_strip(img);
  paint_rim(img);
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

Image paint_installer_button(const Image& skin, int product, Look look) {
  if (product < 0 || product >= static_cast<int>(kProducts.size())) {
    throw std::out_of_range("no such product");
  }
  const auto index = static_cast<std::size_t>(product);
  const Place& place = kInstallerPlaces[index];
  const Product& info = kProducts[index];
  Image img = skin.crop(place.x, place.y, place.w, place.h);
  const Rgb hue = info.hue;

  // Pressed moves the face down and right, as if pushed into the panel.
  const double off = look == Look::Pressed ? 1.5 : 0.0;
  const double th = place.h - 2 * kTileInset;
  const Shape tile = button_tile(Place{0, 0, place.w, place.h}, off);

  Rgb top;
  Rgb bottom;
  Rgb border;
  Rgb light;
  Rgb mid;
  Rgb dark;
  Rgb text;
  switch (look) {
    case Look::Normal:
      top = mix(hue, kWhite, 0.22);
      bottom = mix(hue, kNavy, 0.45);
      border = mix(hue, kWhite, 0.55);
      light = mix(hue, kWhite, 0.88);
      mid = mix(hue, kWhite, 0.5);
      dark = mix(hue, kNavy, 0.55);
      text = {240, 246, 255};
      break;
    case Look::Hover:
      top = mix(hue, kWhite, 0.45);
      bottom = mix(hue, kWhite, 0.08);
      border = kWhite;
      light = kWhite;
      mid = mix(hue, kWhite, 0.75);
      dark = mix(hue, kNavy, 0.25);
      text = kWhite;
      break;
    case Look::Pressed:
      top = mix(hue, kNavy, 0.8);
      bottom = mix(hue, kNavy, 0.62);
      border = mix(hue, kNavy, 0.35);
      light = mix(hue, kWhite, 0.45);
      mid = mix(hue, kNavy, 0.2);
      dark = mix(hue, kNavy, 0.85);
      text = mix(hue, kWhite, 0.6);
      break;
  }

  if (look == Look::Hover) {
    img.glow(tile, mix(hue, kWhite, 0.7), 7, 0.9);
  } else if (look == Look::Normal) {
    img.fill(translate(tile, 1, 2.5), solid({2, 6, 18}), 0.45);
  }
  img.fill(tile, vertical(kTileInset + off, kTileInset + off + th, top, bottom));
  if (look == Look::Pressed) {
    img.fill(subtract(tile, translate(tile, 1, 4)), solid({2, 6, 18}), 0.6);
  } else {
    img.fill(intersect(tile, rect(0, 0, place.w, kTileInset + off + th * 0.42)), solid(kWhite),
             look == Look::Hover ? 0.16 : 0.1);
  }
  img.fill(outline(tile, 1.2), solid(border), look == Look::Pressed ? 0.6 : 0.75);

  paint_icon_glyph(img, product, place.w / 2.0 + off, 38 + off, light, mid, dark);

  const double name_x = centred(place.w, info.name, 2) + off;
  draw_text_smooth(img, name_x + 1, 71 + off, info.name, 2, {2, 8, 24}, 1.15,
                   look == Look::Hover ? 0.7 : 0.45);
  draw_text_smooth(img, name_x, 70 + off, info.name, 2, text, 1.15);

  const Shape pill = rounded_rect(place.w / 2.0 - 28 + off, 93 + off, 56, 15, 7.5);
  img.fill(pill, solid(look == Look::Hover ? kWhite : mix(hue, kNavy, 0.7)),
           look == Look::Hover ? 0.9 : 0.6);
  constexpr std::string_view kInstall = "INSTALL";
  draw_text(img, static_cast<int>(std::lround(centred(place.w, kInstall, 1) + off)),
            static_cast<int>(97 + off), kInstall, 1,
            look == Look::Hover ? mix(hue, kNavy, 0.4) : text);
  return img;
}

Image paint_close_button(const Image& skin, Look look) {
  const Place& place = kClosePlace;
  Image img = skin.crop(place.x, place.y, place.w, place.h);
  const double off = look == Look::Pressed ? 1.0 : 0.0;
  const Shape pill = rounded_rect(2 + off, 2 + off, place.w - 4, place.h - 4, 12);
  Rgb top;
  Rgb bottom;
  Rgb text;
  switch (look) {
    case Look::Normal:
      top = {92, 110, 150};
      bottom = {50, 64, 100};
      text = {228, 236, 250};
      break;
    case Look::Hover:
      top = {244, 110, 110};
      bottom = {196, 44, 54};
      text = kWhite;
      break;
    case Look::Pressed:
      top = {84, 18, 26};
      bottom = {120, 30, 40};
      text = {236, 180, 184};
      break;
  }
  if (look == Look::Normal) img.fill(translate(pill, 0, 1.5), solid({2, 6, 18}), 0.5);
  img.fill(pill, vertical(2 + off, place.h - 2 + off, top, bottom));
  if (look != Look::Pressed) {
    img.fill(intersect(pill, rect(0, 0, place.w, place.h / 2.0)), solid(kWhite), 0.12);
  }
  img.fill(outline(pill, 1), solid(look == Look::Pressed ? Rgb{60, 14, 20} : Rgb{190, 210, 240}),
           0.6);
  constexpr std::string_view kLabel = "CLOSE";
  constexpr double kScale = 1.6;
  draw_text_smooth(img, centred(place.w, kLabel, kScale) + off,
                   (place.h - kGlyphHeight * kScale) / 2 + off, kLabel, kScale, text, 1.1);
  return img;
}

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

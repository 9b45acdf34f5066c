// The button pictures in their three looks, each drawn over the part of the skin it covers.
#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "art.h"
#include "font.h"
#include "products.h"

namespace makeassets {
namespace {

constexpr Rgb kNavy{8, 16, 38};

// A colour between the product's hue and `toward`; an amount of 1 gives `toward` itself.
struct Tint {
  Rgb toward;
  double amount;
};

// The installer tile's colours in each look, in the order of Look's values: pressed, normal,
// hover.
struct TileColours {
  Tint top, bottom, border, light, mid, dark, text;
};
constexpr std::array<TileColours, 3> kTileColours{{
    {{kNavy, 0.8},
     {kNavy, 0.62},
     {kNavy, 0.35},
     {kWhite, 0.45},
     {kNavy, 0.2},
     {kNavy, 0.85},
     {kWhite, 0.6}},
    {{kWhite, 0.22},
     {kNavy, 0.45},
     {kWhite, 0.55},
     {kWhite, 0.88},
     {kWhite, 0.5},
     {kNavy, 0.55},
     {{240, 246, 255}, 1.0}},
    {{kWhite, 0.45},
     {kWhite, 0.08},
     {kWhite, 1.0},
     {kWhite, 1.0},
     {kWhite, 0.75},
     {kNavy, 0.25},
     {kWhite, 1.0}},
}};

// The close button's pill: top and bottom of its gradient and its label, in the same order.
constexpr std::array<std::array<Rgb, 3>, 3> kCloseColours{{
    {{{84, 18, 26}, {120, 30, 40}, {236, 180, 184}}},
    {{{92, 110, 150}, {50, 64, 100}, {228, 236, 250}}},
    {{{244, 110, 110}, {196, 44, 54}, kWhite}},
}};

double centred(double width, std::string_view text, double scale) {
  return (width - text_width(text, scale)) / 2;
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

  const TileColours& tint = kTileColours[static_cast<std::size_t>(look) - 1];
  auto tinted = [&](const Tint& t) { return mix(hue, t.toward, t.amount); };
  const Rgb top = tinted(tint.top);
  const Rgb bottom = tinted(tint.bottom);
  const Rgb border = tinted(tint.border);
  const Rgb light = tinted(tint.light);
  const Rgb mid = tinted(tint.mid);
  const Rgb dark = tinted(tint.dark);
  const Rgb text = tinted(tint.text);

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
  const auto& [top, bottom, text] = kCloseColours[static_cast<std::size_t>(look) - 1];
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

}  // namespace makeassets

// The launcher's artwork: the window skin, the button pictures in their three looks, the small
// design-time copies and the program icon. Geometry here matches where the menu places things.
#pragma once

#include <array>

#include "ico.h"
#include "image.h"

namespace makeassets {

struct Place {
  int x;
  int y;
  int w;
  int h;
};

inline constexpr int kSkinWidth = 800;
inline constexpr int kSkinHeight = 600;
inline constexpr int kCornerRadius = 36;
// Rows 0..56 are the strip that drags the window.
inline constexpr int kTitleStripHeight = 57;
// Corner squares in which the menu looks for pure black to cut out of the window outline.
inline constexpr int kCornerArea = 61;

inline constexpr std::array<Place, 4> kInstallerPlaces{{
    {96, 200, 113, 122},
    {256, 288, 113, 122},
    {440, 312, 113, 122},
    {600, 280, 113, 122},
}};
inline constexpr Place kClosePlace{632, 544, 80, 28};
inline constexpr std::array<Place, 4> kDisabledPlaces{{
    {192, 472, 112, 35},
    {320, 472, 112, 35},
    {448, 472, 112, 35},
    {576, 472, 112, 35},
}};
// Pure black rule under the title strip. It stays clear of the corner areas, so it is part of
// the window like any other pixel.
inline constexpr Place kBlackRule{kCornerArea, kTitleStripHeight, kSkinWidth - 2 * kCornerArea, 2};

// The number is the digit at the end of the picture's file name.
enum class Look { Pressed = 1, Normal = 2, Hover = 3 };

// True for skin pixels outside the rounded window outline.
bool outside_outline(int x, int y);
bool in_corner_area(int x, int y);
// Throws unless the skin's pure black pixels are exactly those outside the outline plus the
// black rule.
void check_skin(const Image& skin);

Image paint_skin();
// The skin's picture with neither its rim nor its black rule and cut corners.
Image paint_skin_face();
// The rim just inside the window's edge: a rounded rectangle of `radius`.
void paint_rim(Image& img, const Place& edge, double radius);
// The pure black rule under the title strip, with near black carrying it on to the rim.
void paint_black_rule(Image& img);
// product is 0..3; the background comes from the skin so the picture sits seamlessly on it.
Image paint_installer_button(const Image& skin, int product, Look look);
Image paint_close_button(const Image& skin, Look look);

// Flat-colour skin shown briefly while the full pictures load.
Image paint_design_skin();

IconImage paint_icon(int size);
IconPalette icon_palette();

}  // namespace makeassets

// The four products the installer buttons offer, and the tile each button is drawn on: shared by
// the skin, which lights the tiles' places, and the button pictures.
#pragma once

#include <array>
#include <string_view>

#include "art.h"

namespace makeassets {

struct Product {
  std::string_view name;
  std::string_view caption;
  std::string_view version;
  Rgb hue;
};

inline constexpr std::array<Product, 4> kProducts{{
    {"TEV", "3D DESIGN", "VERSION 7.1", {38, 112, 214}},
    {"MOLAN", "AUDIO STUDIO", "VERSION 4.2", {22, 150, 138}},
    {"PIRUK", "PHOTO EDITOR", "VERSION 12.0", {222, 122, 38}},
    {"DASEF", "VIDEO SUITE", "VERSION 3.5", {132, 74, 200}},
}};

// Button tiles leave a margin for the hover glow.
inline constexpr double kTileInset = 6;
inline constexpr double kTileRadius = 14;

// The tile inside place `p`, moved by `offset` down and right.
Shape button_tile(const Place& p, double offset);

}  // namespace makeassets

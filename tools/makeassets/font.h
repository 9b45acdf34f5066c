// A 5x7 capital-letter font drawn either as crisp square dots or as smooth round strokes.
#pragma once

#include <string_view>

#include "image.h"

namespace makeassets {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Width in pixels of a line of text; one empty column separates glyphs.
double text_width(std::string_view text, double scale);

// Each set dot of the glyph becomes a scale x scale block. Throws on characters the font lacks.
void draw_text(Image& image, int x, int y, std::string_view text, int scale, Rgb colour,
               double alpha = 1.0);

// Neighbouring dots are joined by round strokes (diagonals too), which reads like a vector
// typeface at larger sizes. `weight` scales the stroke thickness around one dot's width.
void draw_text_smooth(Image& image, double x, double y, std::string_view text, double scale,
                      Rgb colour, double weight = 1.0, double alpha = 1.0);

}  // namespace makeassets

// The 5x7 capital-letter font and the two ways it is drawn.
#include "font.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace makeassets {
namespace {

struct Glyph {
  char ch;
  std::array<const char*, kGlyphHeight> rows;
};

// clang-format off
constexpr Glyph kGlyphs[] = {
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", " # # ", " # # ", " # # ", "  #  ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {',', {"     ", "     ", "     ", "     ", " ##  ", "  #  ", " #   "}},
    {'-', {"     ", "     ", "     ", " ### ", "     ", "     ", "     "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
    {'(', {"   # ", "  #  ", " #   ", " #   ", " #   ", "  #  ", "   # "}},
    {')', {" #   ", "  #  ", "   # ", "   # ", "   # ", "  #  ", " #   "}},
    {'/', {"    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "}},
    {'\'', {"  #  ", "  #  ", "     ", "     ", "     ", "     ", "     "}},
    {'&', {" ##  ", "#  # ", "# #  ", " #   ", "# # #", "#  # ", " ## #"}},
    {'+', {"     ", "  #  ", "  #  ", "#####", "  #  ", "  #  ", "     "}},
};
// clang-format on

const Glyph& glyph(char ch) {
  for (const Glyph& g : kGlyphs) {
    if (g.ch == ch) return g;
  }
  throw std::invalid_argument(std::string("the font has no glyph for '") + ch + "'");
}

bool dot(const Glyph& g, int col, int row) {
  if (col < 0 || row < 0 || col >= kGlyphWidth || row >= kGlyphHeight) return false;
  return g.rows[static_cast<std::size_t>(row)][col] == '#';
}

constexpr int kAdvance = kGlyphWidth + 1;

}  // namespace

double text_width(std::string_view text, double scale) {
  if (text.empty()) return 0;
  return (static_cast<double>(text.size()) * kAdvance - 1) * scale;
}

void draw_text(Image& image, int x, int y, std::string_view text, int scale, Rgb colour,
               double alpha) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& g = glyph(text[i]);
    const int gx = x + static_cast<int>(i) * kAdvance * scale;
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if (!dot(g, col, row)) continue;
        for (int py = 0; py < scale; ++py) {
          for (int px = 0; px < scale; ++px) {
            image.blend(gx + col * scale + px, y + row * scale + py, colour, alpha);
          }
        }
      }
    }
  }
}

void draw_text_smooth(Image& image, double x, double y, std::string_view text, double scale,
                      Rgb colour, double weight, double alpha) {
  const double radius = scale * 0.5 * weight;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& g = glyph(text[i]);
    const double gx = x + static_cast<double>(i) * kAdvance * scale;
    auto centre = [&](int col, int row) {
      return Point{gx + (col + 0.5) * scale, y + (row + 0.5) * scale};
    };
    std::vector<Shape> strokes;
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if (!dot(g, col, row)) continue;
        const Point p = centre(col, row);
        strokes.push_back(circle(p.first, p.second, radius));
        if (dot(g, col + 1, row)) strokes.push_back(capsule(p, centre(col + 1, row), radius));
        if (dot(g, col, row + 1)) strokes.push_back(capsule(p, centre(col, row + 1), radius));
        // Diagonal steps are joined only where no square corner already connects them.
        if (dot(g, col + 1, row + 1) && !dot(g, col + 1, row) && !dot(g, col, row + 1)) {
          strokes.push_back(capsule(p, centre(col + 1, row + 1), radius));
        }
        if (dot(g, col - 1, row + 1) && !dot(g, col - 1, row) && !dot(g, col, row + 1)) {
          strokes.push_back(capsule(p, centre(col - 1, row + 1), radius));
        }
      }
    }
    if (!strokes.empty()) image.fill(unite(std::move(strokes)), solid(colour), alpha);
  }
}

}  // namespace makeassets

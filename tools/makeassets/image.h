// RGB pixel buffer with the drawing operations the menu artwork is made of.
//
// Shapes are signed distance functions (negative inside, positive outside, in pixels), which
// gives anti-aliased edges, outlines and soft glows from one description of the geometry.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "BmpWriter.h"

namespace makeassets {

using bmpio::Rgb;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// Interpolates from a (t = 0) to b (t = 1); t is clamped to [0, 1].
Rgb mix(Rgb a, Rgb b, double t);

// Half-open pixel rectangle [x0, x1) x [y0, y1).
struct Box {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
};

struct Shape {
  std::function<double(double x, double y)> distance;
  Box bounds;
};

using Point = std::pair<double, double>;

Shape rect(double x, double y, double w, double h);
Shape rounded_rect(double x, double y, double w, double h, double radius);
Shape circle(double cx, double cy, double radius);
Shape capsule(Point a, Point b, double radius);
// Vertices in either winding order; the polygon must be convex.
Shape convex_polygon(std::vector<Point> points);
// A band of the given width centred on the shape's edge.
Shape outline(Shape shape, double width);
Shape unite(std::vector<Shape> shapes);
Shape intersect(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape translate(Shape shape, double dx, double dy);

// Colour of a shape at a pixel.
using Shader = std::function<Rgb(int x, int y)>;
Shader solid(Rgb c);
// Vertical gradient from `top` at row y0 to `bottom` at row y1.
Shader vertical(double y0, double y1, Rgb top, Rgb bottom);

class Image {
 public:
  Image(int width, int height, Rgb fill = kBlack);

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
  // Top row first, `width()` a row.
  const std::vector<Rgb>& pixels() const { return pixels_; }
  void set(int x, int y, Rgb c);
  // Mixes c over the pixel with opacity alpha in [0, 1]; pixels outside the image are ignored.
  void blend(int x, int y, Rgb c, double alpha);

  // With anti-aliasing off, shapes get hard edges: a pixel is inside or not. Flat pictures
  // stay in few colours and compress into long runs.
  void set_antialias(bool on) { antialias_ = on; }

  void fill_rect(int x, int y, int w, int h, Rgb c);
  void gradient_rect(int x, int y, int w, int h, Rgb top, Rgb bottom);
  // Paints the inside of the shape with anti-aliased edges; alpha scales the coverage.
  void fill(const Shape& shape, const Shader& colour, double alpha = 1.0);
  // Soft halo around (and inside) the shape, fading out `radius` pixels from its edge.
  void glow(const Shape& shape, Rgb colour, double radius, double strength);

  Image crop(int x, int y, int w, int h) const;
  void paste(const Image& src, int x, int y);

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  Box clip(Box b) const;

  int width_;
  int height_;
  bool antialias_ = true;
  std::vector<Rgb> pixels_;
};

}  // namespace makeassets

// Drawing on RGB pixel buffers: shapes as distance functions, fills, gradients and glows.
#include "image.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace makeassets {
namespace {

std::uint8_t channel(double v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

Box bounds_of(double x0, double y0, double x1, double y1, double margin) {
  return Box{static_cast<int>(std::floor(x0 - margin)), static_cast<int>(std::floor(y0 - margin)),
             static_cast<int>(std::ceil(x1 + margin)), static_cast<int>(std::ceil(y1 + margin))};
}

Box grow(Box b, double margin) {
  const int m = static_cast<int>(std::ceil(margin));
  return Box{b.x0 - m, b.y0 - m, b.x1 + m, b.y1 + m};
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgb{channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t),
             channel(a.b + (b.b - a.b) * t)};
}

Shape rect(double x, double y, double w, double h) { return rounded_rect(x, y, w, h, 0.0); }

Shape rounded_rect(double x, double y, double w, double h, double radius) {
  const double cx = x + w / 2;
  const double cy = y + h / 2;
  const double hx = w / 2 - radius;
  const double hy = h / 2 - radius;
  return Shape{[=](double px, double py) {
                 const double qx = std::abs(px - cx) - hx;
                 const double qy = std::abs(py - cy) - hy;
                 return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) +
                        std::min(std::max(qx, qy), 0.0) - radius;
               },
               bounds_of(x, y, x + w, y + h, 1.0)};
}

Shape circle(double cx, double cy, double radius) {
  return Shape{[=](double px, double py) { return std::hypot(px - cx, py - cy) - radius; },
               bounds_of(cx - radius, cy - radius, cx + radius, cy + radius, 1.0)};
}

Shape capsule(Point a, Point b, double radius) {
  const double ex = b.first - a.first;
  const double ey = b.second - a.second;
  const double len2 = ex * ex + ey * ey;
  return Shape{
      [=](double px, double py) {
        const double wx = px - a.first;
        const double wy = py - a.second;
        const double t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0, 1.0) : 0;
        return std::hypot(wx - ex * t, wy - ey * t) - radius;
      },
      bounds_of(std::min(a.first, b.first) - radius, std::min(a.second, b.second) - radius,
                std::max(a.first, b.first) + radius, std::max(a.second, b.second) + radius, 1.0)};
}

Shape convex_polygon(std::vector<Point> points) {
  if (points.size() < 3) throw std::invalid_argument("polygon needs three vertices");
  double area = 0;
  double x0 = std::numeric_limits<double>::max();
  double y0 = x0;
  double x1 = std::numeric_limits<double>::lowest();
  double y1 = x1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % points.size()];
    area += p.first * q.second - q.first * p.second;
    x0 = std::min(x0, p.first);
    y0 = std::min(y0, p.second);
    x1 = std::max(x1, p.first);
    y1 = std::max(y1, p.second);
  }
  // One outward unit normal and a point per edge; the distance is the largest edge distance.
  struct Edge {
    double px, py, nx, ny;
  };
  std::vector<Edge> edges;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % points.size()];
    const double ex = q.first - p.first;
    const double ey = q.second - p.second;
    const double len = std::hypot(ex, ey);
    const double sign = area > 0 ? 1.0 : -1.0;
    edges.push_back(Edge{p.first, p.second, sign * ey / len, -sign * ex / len});
  }
  return Shape{[edges](double px, double py) {
                 double d = std::numeric_limits<double>::lowest();
                 for (const Edge& e : edges) {
                   d = std::max(d, (px - e.px) * e.nx + (py - e.py) * e.ny);
                 }
                 return d;
               },
               bounds_of(x0, y0, x1, y1, 1.0)};
}

Shape outline(Shape shape, double width) {
  auto inner = std::move(shape.distance);
  return Shape{[inner, width](double x, double y) { return std::abs(inner(x, y)) - width / 2; },
               grow(shape.bounds, width)};
}

Shape unite(std::vector<Shape> shapes) {
  if (shapes.empty()) throw std::invalid_argument("empty union");
  Box b = shapes.front().bounds;
  for (const Shape& s : shapes) {
    b = Box{std::min(b.x0, s.bounds.x0), std::min(b.y0, s.bounds.y0), std::max(b.x1, s.bounds.x1),
            std::max(b.y1, s.bounds.y1)};
  }
  return Shape{[all = std::move(shapes)](double x, double y) {
                 double d = std::numeric_limits<double>::max();
                 for (const Shape& s : all) d = std::min(d, s.distance(x, y));
                 return d;
               },
               b};
}

Shape intersect(Shape a, Shape b) {
  const Box box{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
                std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
  return Shape{[da = std::move(a.distance), db = std::move(b.distance)](double x, double y) {
                 return std::max(da(x, y), db(x, y));
               },
               box};
}

Shape subtract(Shape a, Shape b) {
  return Shape{[da = std::move(a.distance), db = std::move(b.distance)](double x, double y) {
                 return std::max(da(x, y), -db(x, y));
               },
               a.bounds};
}

Shape translate(Shape shape, double dx, double dy) {
  const Box b = bounds_of(shape.bounds.x0 + dx, shape.bounds.y0 + dy, shape.bounds.x1 + dx,
                          shape.bounds.y1 + dy, 1.0);
  return Shape{
      [d = std::move(shape.distance), dx, dy](double x, double y) { return d(x - dx, y - dy); }, b};
}

Shader solid(Rgb c) {
  return [c](int, int) { return c; };
}

Shader vertical(double y0, double y1, Rgb top, Rgb bottom) {
  return [=](int, int y) { return mix(top, bottom, (y + 0.5 - y0) / (y1 - y0)); };
}

Image::Image(int width, int height, Rgb fill) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("empty image");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Image::set(int x, int y, Rgb c) {
  if (contains(x, y)) pixels_[index(x, y)] = c;
}

void Image::blend(int x, int y, Rgb c, double alpha) {
  if (!contains(x, y) || alpha <= 0) return;
  Rgb& p = pixels_[index(x, y)];
  p = mix(p, c, alpha);
}

Box Image::clip(Box b) const {
  return Box{std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, width_), std::min(b.y1, height_)};
}

void Image::fill_rect(int x, int y, int w, int h, Rgb c) {
  const Box b = clip(Box{x, y, x + w, y + h});
  for (int py = b.y0; py < b.y1; ++py) {
    for (int px = b.x0; px < b.x1; ++px) pixels_[index(px, py)] = c;
  }
}

void Image::gradient_rect(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  const Box b = clip(Box{x, y, x + w, y + h});
  for (int py = b.y0; py < b.y1; ++py) {
    const Rgb c = mix(top, bottom, h > 1 ? static_cast<double>(py - y) / (h - 1) : 0.0);
    for (int px = b.x0; px < b.x1; ++px) pixels_[index(px, py)] = c;
  }
}

void Image::fill(const Shape& shape, const Shader& colour, double alpha) {
  const Box b = clip(shape.bounds);
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) {
      const double d = shape.distance(x + 0.5, y + 0.5);
      const double coverage = antialias_ ? std::clamp(0.5 - d, 0.0, 1.0) : (d < 0 ? 1.0 : 0.0);
      if (coverage > 0) blend(x, y, colour(x, y), alpha * coverage);
    }
  }
}

void Image::glow(const Shape& shape, Rgb colour, double radius, double strength) {
  const Box b = clip(grow(shape.bounds, radius));
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) {
      const double d = shape.distance(x + 0.5, y + 0.5);
      if (d >= radius) continue;
      const double t = d <= 0 ? 1.0 : 1.0 - d / radius;
      blend(x, y, colour, strength * t * t);
    }
  }
}

Image Image::crop(int x, int y, int w, int h) const {
  Image out(w, h);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (contains(x + px, y + py)) out.set(px, py, at(x + px, y + py));
    }
  }
  return out;
}

void Image::paste(const Image& src, int x, int y) {
  for (int py = 0; py < src.height(); ++py) {
    for (int px = 0; px < src.width(); ++px) set(x + px, y + py, src.at(px, py));
  }
}

}  // namespace makeassets

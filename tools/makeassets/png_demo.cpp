// The PNG demo disc's skin and buttons, and their encoding with libspng.
#include "png_demo.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "PngEncode.h"

namespace makeassets {
namespace {

// The shadow falls a little below the panel and fades out over the margin.
constexpr double kShadowDrop = 2;
constexpr double kShadowReach = 8.5;
constexpr double kShadowAlpha = 0.5;
constexpr Rgb kShadow{2, 6, 18};

std::uint8_t byte(double v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

// The colour (r, g, b) at opacity `alpha` in [0, 1]; fully transparent pixels are all zero, which
// compresses best and is what every decoder gives back.
pngio::Rgba with_alpha(double r, double g, double b, double alpha) {
  const std::uint8_t a = byte(alpha * 255);
  if (a == 0) return {0, 0, 0, 0};
  return {byte(r), byte(g), byte(b), a};
}

// The nearest even value of each channel: a step of 1 in 255 that no eye sees, while the skin's
// smooth gradients, whose rounding otherwise leaves noise in every row, shrink by a quarter
// in zlib.
Rgb even(Rgb c) {
  auto half_steps = [](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::min(254, (v + 1) / 2 * 2));
  };
  return Rgb{half_steps(c.r), half_steps(c.g), half_steps(c.b)};
}

// A picture painted twice, once over black and once over white: where the two agree it is
// opaque; how far they differ gives its alpha, and the one over black its colour times alpha.
RgbaImage separate_alpha(const Image& on_black, const Image& on_white) {
  RgbaImage out{on_black.width(), on_black.height(), {}};
  out.pixels.reserve(on_black.pixels().size());
  for (std::size_t i = 0; i < on_black.pixels().size(); ++i) {
    const Rgb b = on_black.pixels()[i];
    const Rgb w = on_white.pixels()[i];
    const double spread = (w.r - b.r) + (w.g - b.g) + (w.b - b.b);
    const double alpha = std::clamp(1.0 - spread / (3 * 255.0), 0.0, 1.0);
    out.pixels.push_back(alpha <= 0 ? pngio::Rgba{0, 0, 0, 0}
                                    : with_alpha(b.r / alpha, b.g / alpha, b.b / alpha, alpha));
  }
  return out;
}

}  // namespace

RgbaImage paint_png_skin() {
  Image face = paint_skin_face();
  paint_black_rule(face);
  paint_rim(face, kPngPanel, kPngPanelRadius);
  const Shape panel =
      rounded_rect(kPngPanel.x, kPngPanel.y, kPngPanel.w, kPngPanel.h, kPngPanelRadius);
  const Shape shadow = translate(panel, 0, kShadowDrop);
  RgbaImage out{kSkinWidth, kSkinHeight, {}};
  for (int y = 0; y < kSkinHeight; ++y) {
    for (int x = 0; x < kSkinWidth; ++x) {
      // The panel over its shadow.
      const double cover = std::clamp(0.5 - panel.distance(x + 0.5, y + 0.5), 0.0, 1.0);
      const double t = std::clamp(shadow.distance(x + 0.5, y + 0.5) / kShadowReach, 0.0, 1.0);
      const double shade = kShadowAlpha * (1 - t) * (1 - t) * (1 - cover);
      const double alpha = cover + shade;
      const Rgb c = even(face.at(x, y));
      auto channel = [&](std::uint8_t panel_colour, std::uint8_t shadow_colour) {
        return alpha > 0 ? (panel_colour * cover + shadow_colour * shade) / alpha : 0.0;
      };
      out.pixels.push_back(with_alpha(channel(c.r, kShadow.r), channel(c.g, kShadow.g),
                                      channel(c.b, kShadow.b), alpha));
    }
  }
  return out;
}

RgbaImage paint_png_installer_button(int product, Look look) {
  return separate_alpha(
      paint_installer_button(Image(kSkinWidth, kSkinHeight, kBlack), product, look),
      paint_installer_button(Image(kSkinWidth, kSkinHeight, kWhite), product, look));
}

RgbaImage paint_png_close_button(Look look) {
  return separate_alpha(paint_close_button(Image(kSkinWidth, kSkinHeight, kBlack), look),
                        paint_close_button(Image(kSkinWidth, kSkinHeight, kWhite), look));
}

bmpio::Bytes encode_png(const RgbaImage& image) {
  static_assert(sizeof(pngio::Rgba) == 4, "the pixels go to the encoder as they are");
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.pixels.data());
  const auto png = pngio::EncodeWithSystem(
      image.width, image.height, 4, {bytes, image.pixels.size() * 4}, pngio::Effort::Smallest);
  if (!png) throw std::runtime_error("libspng refused a picture");
  return *png;
}

}  // namespace makeassets

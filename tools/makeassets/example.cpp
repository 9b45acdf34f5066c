// The example disc's pictures: flat, bright buttons whose three looks differ in colour at every
// point, on a rounded dark skin whose corners are pure black, cut out of the window.
#include "example.h"

#include "font.h"

namespace makeassets {

namespace {

constexpr Rgb kNight{14, 22, 44};
constexpr int kExampleRadius = 28;

// A look's colour for a hue: pressed dark, normal as it is, hover light.
Rgb lit(Rgb hue, Look look) {
  switch (look) {
    case Look::Pressed:
      return mix(hue, kBlack, 0.45);
    case Look::Hover:
      return mix(hue, kWhite, 0.45);
    case Look::Normal:
      break;
  }
  return hue;
}

Image paint_pill(int width, int height, Rgb colour, std::string_view text, bool german) {
  Image img(width, height, kNight);
  img.set_antialias(false);
  img.fill(rounded_rect(0, 0, width, height, height / 2.0 - 2), solid(colour));
  if (german) img.fill_rect(8, height / 4, 6, height / 2, kGermanMark);
  const int x = static_cast<int>((width - text_width(text, 1)) / 2);
  draw_text(img, x, (height - kGlyphHeight) / 2, text, 1, kWhite);
  return img;
}

}  // namespace

Image paint_example_skin(bool german) {
  Image img(kExampleWidth, kExampleHeight, kBlack);
  img.set_antialias(false);
  img.fill(rounded_rect(0, 0, kExampleWidth, kExampleHeight, kExampleRadius),
           vertical(0, kExampleHeight, {30, 48, 92}, kNight));
  img.fill_rect(kExampleRadius, kTitleStripHeight, kExampleWidth - 2 * kExampleRadius, 2,
                {90, 120, 190});
  const std::string_view title = german ? "BEISPIEL CD" : "EXAMPLE DISC";
  draw_text(img, static_cast<int>((kExampleWidth - text_width(title, 3)) / 2), 18, title, 3,
            kWhite);
  return img;
}

Image paint_example_button(const ExampleButton& button, Look look, bool german) {
  return paint_pill(kExampleButtonWidth, kExampleButtonHeight, lit(button.hue, look),
                    german ? button.german : button.english, german);
}

Image paint_example_close(Look look, bool german) {
  return paint_pill(kExampleCloseWidth, kExampleCloseHeight, lit({150, 60, 60}, look),
                    german ? "SCHLIESSEN" : "CLOSE", german);
}

}  // namespace makeassets

// The preview: the window's face as the menu paints it after start-up at a display scale, composed
// by the forms layer itself over skincheck's pictures, with the holes of the outline in magenta.
#pragma once

#include <cstdint>
#include <map>

#include "Forms.h"
#include "Scale.h"
#include "SkinCheck.h"

namespace skincheck {

// The face of the window `window` defines. `normals` holds the normal look of each button that
// has one, by its index in cmd; `skin` and `normals` are the pictures the menu shows at `dpi`,
// where the controls lie at their scaled places.
Image ComposePreview(const rt::FormDefinition& window, const Image& skin,
                     const std::map<std::int16_t, Image>& normals, int dpi = rt::kDesignDpi);

// `image` scaled by numerator / denominator with the menu's own nearest-neighbour rule.
Image ScaledImage(const Image& image, int numerator, int denominator);

}  // namespace skincheck

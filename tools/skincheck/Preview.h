// The preview: the window's face as the menu paints it after start-up at a display scale, composed
// by the forms layer itself over skincheck's pictures, with the holes of the outline in magenta.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// The scale in percent of the file the menu takes at `dpi` among the files drawn for the scales
// `present` (qualifiers in percent); 100 for the plain file, always at the design's scale.
int ServedQualifier(const std::vector<int>& present, int dpi);
// `source`, drawn for `served` percent, as the menu shows it at `dpi`.
Image AtScale(Image source, int served, int dpi);

// The form `window` defines, as the start-up leaves it at `dpi`: as large as `skin` and showing
// it, the strip along the top showing it from its own corner, the measuring image hidden, each
// button in `normals` with its normal look.
void ArrangeForm(rt::Form& form, const Image& skin, const std::map<std::int16_t, Image>& normals,
                 int dpi);
// Control `name` (of index `index` in a control array) of frmMain's form.
rt::Control& Member(rt::Form& form, std::wstring_view name, int index = -1);
// The rectangles of `skin`, shown at `dpi`, that the window's outline keeps: the rest are holes.
std::vector<rt::PixelRect> OutlineRects(const Image& skin, int dpi);
// The same pixel by pixel.
std::vector<bool> KeptPixels(const Image& skin, int dpi);

}  // namespace skincheck

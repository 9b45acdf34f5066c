// The preview: the window's face as the menu paints it after start-up at a display scale, composed
// by the forms layer itself over skincheck's pictures, with the holes of the outline in magenta.
#pragma once

#include <cstdint>
#include <filesystem>
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

// The files the menu chooses among for the picture whose plain file is `name` ("img\main.bmp")
// on the disc in `folder`: for the plain file and each scale qualifier, the PNG file of that name
// where the disc holds one ("img\main.scale-200.png"), else the bitmap.
struct PictureFiles {
  struct File {
    int percent = 100;          // the scale it is drawn for; 100 for the plain file
    std::wstring path;          // the file the menu reads
    bool png = false;           // `path` is the PNG file
    bool bitmapBeside = false;  // a PNG file whose bitmap lies beside it, unread
  };
  File plain;                // whether or not the disc holds it
  std::vector<File> scaled;  // the qualifiers whose files the disc holds, smallest first
  int served = 100;          // the qualifier of the file the menu takes at the scale asked for

  const File& Served() const;
};
PictureFiles ChoosePictureFiles(const std::filesystem::path& folder, const std::wstring& name,
                                int dpi);

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

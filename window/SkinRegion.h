// BuildSkinRegion: sizes the window to its skin and computes the outline the window takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AlphaOutline.h"
#include "Forms.h"
#include "Picture.h"
#include "ScaledPictures.h"

namespace menu {

// The size of the skin in pixels, as the outline build measured it.
struct SkinSize {
  int width = 0;
  int height = 0;
  // The skin's half-transparent pixels, where it has some.
  SoftAlpha soft;
};

// Loads the skin at `path` (at the window's display scale, through `pictures`) into the image
// control `img` to learn its size, makes `window` that large, hides `img`, gives the window the
// skin as its picture, switches it to pixels and returns the outline: the full rectangle less the
// black pixels of the corner areas, or less the transparent pixels of a skin with alpha. `measured`
// receives the skin's size before the outline is computed, then its half-transparent pixels.
rt::Region BuildSkinRegion(rt::Form& window, rt::Control& img, ScaledPictures& pictures,
                           const std::wstring& path, SkinSize& measured);

}  // namespace menu

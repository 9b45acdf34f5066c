// The window's size and outline from its skin, in the order the start-up is designed with.
#include "SkinRegion.h"

#include <cmath>

#include "AlphaOutline.h"
#include "SkinOutline.h"

namespace menu {

rt::Region BuildSkinRegion(rt::Form& window, rt::Control& img, ScaledPictures& pictures,
                           const std::wstring& path, SkinSize& measured) {
  // The measuring image takes the skin's size; the window copies it, both still in twips.
  img.SetPicture(pictures.Load(path));
  window.SetWidth(img.Width());
  window.SetHeight(img.Height());
  img.SetVisible(false);
  window.SetPicture(pictures.Load(path));
  window.SetScaleMode(rt::kScalePixels);
  measured.width = static_cast<int>(std::lround(window.ScaleWidth()));
  measured.height = static_cast<int>(std::lround(window.ScaleHeight()));

  // The skin is read once more for its pixels; the picture goes as soon as the outline is known.
  const rt::Picture skin = pictures.Load(path);
  CheckSkinSize(measured.width, measured.height);
  // A skin with alpha has its holes where it is transparent; one without, its black corners.
  std::optional<std::vector<rt::PixelRect>> rects = AlphaOutlineRects(*skin.Data(), &measured.soft);
  if (!rects) rects = SkinOutlineRects(measured.width, measured.height, *skin.Data(), window.Dpi());
  return window.CreateOutline(*rects);
}

}  // namespace menu

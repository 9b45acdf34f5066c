// Start-up: Main and the window's outline from the skin.
#include "startup/Module1.h"

#include <cmath>

#include "startup/SkinOutline.h"
#include "window/frmMain.h"

namespace menu::Module1 {

int SkinWidth = 0;
int SkinHeight = 0;

void Main(rt::Platform& platform, std::unique_ptr<frmMain>& instance) {
  if (!instance) instance = std::make_unique<frmMain>(platform);
  instance->Show();
}

rt::Region BuildSkinRegion(frmMain& form, const std::wstring& path) {
  rt::Platform& platform = form.GetPlatform();
  rt::Form& window = form.Form();

  // The measuring image takes the skin's size; the window copies it, both still in twips.
  form.img().SetPicture(platform.LoadPicture(path));
  window.SetWidth(form.img().Width());
  window.SetHeight(form.img().Height());
  form.img().SetVisible(false);
  window.SetPicture(platform.LoadPicture(path));
  window.SetScaleMode(rt::kScalePixels);
  SkinWidth = static_cast<int>(std::lround(window.ScaleWidth()));
  SkinHeight = static_cast<int>(std::lround(window.ScaleHeight()));

  // The skin is read once more for its pixels; the picture goes as soon as the outline is known.
  const rt::Picture skin = platform.LoadPicture(path);
  CheckSkinSize(SkinWidth, SkinHeight);
  return platform.CreateRegion(SkinOutlineRects(SkinWidth, SkinHeight, *skin.Data()));
}

}  // namespace menu::Module1

// The preview is painted by the menu's own painting code: a form made from frmMain's definition,
// given the state the menu's start-up leaves, paints itself through a software painter into an
// image, so that the stacking, clipping and sizing of its controls are the menu's own.
#include "Preview.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "AlphaOutline.h"
#include "ButtonTable.h"
#include "FolderNames.h"
#include "Forms.h"
#include "PathRule.h"
#include "PictureScaling.h"
#include "ScaledPictures.h"
#include "SkinOutline.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

std::size_t At(int x, int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
         static_cast<std::size_t>(x);
}

Rgb RgbOf(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFFu), static_cast<std::uint8_t>(value >> 8 & 0xFFu),
          static_cast<std::uint8_t>(value >> 16 & 0xFFu)};
}

// One of skincheck's pictures, read as the platform's pictures are read: 0x00BBGGRR values.
class ImagePicture final : public rt::PictureData {
 public:
  explicit ImagePicture(const Image& image) : image_(&image) {}
  int Width() const override { return image_->width; }
  int Height() const override { return image_->height; }
  void ReadPixels(const rt::PixelRect& area, std::uint32_t* out) const override {
    const rt::PixelRect inside = rt::Intersect(area, {0, 0, image_->width, image_->height});
    for (int y = inside.top; y < inside.bottom; ++y) {
      for (int x = inside.left; x < inside.right; ++x) {
        const Rgb& c = image_->At(x, y);
        out[At(x - area.left, y - area.top, area.Width())] = static_cast<std::uint32_t>(c.r) |
                                                             static_cast<std::uint32_t>(c.g) << 8u |
                                                             static_cast<std::uint32_t>(c.b) << 16u;
      }
    }
  }
  bool ReadAlpha(const rt::PixelRect& area, std::uint8_t* out) const override {
    if (image_->alpha.empty()) return false;
    const rt::PixelRect inside = rt::Intersect(area, {0, 0, image_->width, image_->height});
    for (int y = inside.top; y < inside.bottom; ++y) {
      for (int x = inside.left; x < inside.right; ++x) {
        out[At(x - area.left, y - area.top, area.Width())] = image_->alpha[At(x, y, image_->width)];
      }
    }
    return true;
  }

 private:
  const Image* image_;
};

rt::Picture PictureOf(const Image& image) {
  return rt::Picture(std::make_unique<ImagePicture>(image));
}

// The colours a fresh Windows installation gives the system colours the forms layer paints with.
Rgb SystemColour(int index) {
  constexpr int kActiveBorder = 10;
  constexpr int kButtonFace = 15;
  switch (index) {
    case kActiveBorder:
      return {180, 180, 180};
    case kButtonFace:
      return {240, 240, 240};
    default:
      return {128, 128, 128};
  }
}

// Paints into an image as the platform paints into the window's off-screen image.
class ImagePainter final : public rt::Painter {
 public:
  explicit ImagePainter(Image& canvas) : canvas_(&canvas) {}

  void FillSystemColor(const rt::PixelRect& area, int systemColorIndex) override {
    const rt::PixelRect part = Clip(area);
    for (int y = part.top; y < part.bottom; ++y) {
      for (int x = part.left; x < part.right; ++x) Set(x, y, SystemColour(systemColorIndex));
    }
  }

  void DrawPicture(const rt::Picture& picture, int x, int y, const rt::PixelRect& area) override {
    const rt::PixelRect part =
        Clip(rt::Intersect(area, {x, y, x + picture.Width(), y + picture.Height()}));
    if (!picture || part.Empty()) return;
    std::vector<std::uint32_t> values(static_cast<std::size_t>(part.Width()) *
                                      static_cast<std::size_t>(part.Height()));
    picture.Data()->ReadPixels({part.left - x, part.top - y, part.right - x, part.bottom - y},
                               values.data());
    for (int row = part.top; row < part.bottom; ++row) {
      for (int column = part.left; column < part.right; ++column) {
        Set(column, row, RgbOf(values[At(column - part.left, row - part.top, part.Width())]));
      }
    }
  }

  // As the system draws it: every other pixel of the frame inverted.
  void DrawFocusRect(const rt::PixelRect& bounds) override {
    const rt::PixelRect part = Clip(bounds);
    for (int y = part.top; y < part.bottom; ++y) {
      for (int x = part.left; x < part.right; ++x) {
        const bool frame =
            y == bounds.top || y == bounds.bottom - 1 || x == bounds.left || x == bounds.right - 1;
        if (!frame || (x + y) % 2 != 0) continue;
        Rgb& c = canvas_->pixels[At(x, y, canvas_->width)];
        c = {static_cast<std::uint8_t>(255 - c.r), static_cast<std::uint8_t>(255 - c.g),
             static_cast<std::uint8_t>(255 - c.b)};
      }
    }
  }

 private:
  rt::PixelRect Clip(const rt::PixelRect& area) const {
    return rt::Intersect(area, {0, 0, canvas_->width, canvas_->height});
  }
  void Set(int x, int y, Rgb colour) { canvas_->pixels[At(x, y, canvas_->width)] = colour; }

  Image* canvas_;
};

}  // namespace

rt::Control& Member(rt::Form& form, std::wstring_view name, int index) {
  rt::Control* control = form.Find(name, index);
  if (control == nullptr) throw std::logic_error("frmMain has no control the preview shows");
  return *control;
}

int ServedQualifier(const std::vector<int>& present, int dpi) {
  if (dpi == rt::kDesignDpi) return 100;
  for (const int q : menu::QualifierOrder(dpi)) {
    if (std::find(present.begin(), present.end(), q) != present.end()) return q;
  }
  return 100;
}

Image AtScale(Image source, int served, int dpi) {
  const menu::ScaleFactor factor = menu::ScaleFactorFor(served, dpi);
  if (factor.numerator == factor.denominator) return source;
  return ScaledImage(source, factor.numerator, factor.denominator);
}

const PictureFiles::File& PictureFiles::Served() const {
  for (const File& file : scaled) {
    if (file.percent == served) return file;
  }
  return plain;
}

PictureFiles ChoosePictureFiles(const fs::path& folder, const std::wstring& name, int dpi) {
  // At each scale the PNG file of the same name comes before the bitmap.
  auto choose = [&](const std::wstring& bitmap, int percent) {
    PictureFiles::File file{percent, bitmap};
    const std::wstring png = menu::PngAlternative(bitmap);
    if (!png.empty() && Locate(folder, png).found) {
      file.path = png;
      file.png = true;
      file.bitmapBeside = Locate(folder, bitmap).found;
    }
    return file;
  };
  PictureFiles files;
  std::vector<int> present;
  for (const int q : menu::kScaleQualifiers) {
    PictureFiles::File file = choose(menu::QualifiedPicturePath(name, q), q);
    if (!Locate(folder, file.path).found) continue;
    present.push_back(q);
    files.scaled.push_back(std::move(file));
  }
  files.plain = choose(name, 100);
  files.served = ServedQualifier(present, dpi);
  return files;
}

void ArrangeForm(rt::Form& form, const Image& skin, const std::map<std::int16_t, Image>& normals,
                 int dpi) {
  form.SetDpi(dpi);
  form.SetWidth(static_cast<float>(skin.width * rt::kTwipsPerPixel));
  form.SetHeight(static_cast<float>(skin.height * rt::kTwipsPerPixel));
  form.SetPicture(PictureOf(skin));
  Member(form, L"Picture1").SetPicture(PictureOf(skin));
  Member(form, L"img").SetVisible(false);
  for (const auto& [index, picture] : normals)
    Member(form, menu::kButtonArray, index).SetPicture(PictureOf(picture));
}

std::vector<rt::PixelRect> OutlineRects(const Image& skin, int dpi) {
  // A skin with alpha has its holes where it is transparent, one without in its black corners.
  const ImagePicture picture(skin);
  return menu::AlphaOutlineRects(picture).value_or(
      menu::SkinOutlineRects(skin.width, skin.height, picture, dpi));
}

std::vector<bool> KeptPixels(const Image& skin, int dpi) {
  std::vector<bool> kept(skin.pixels.size(), false);
  for (const rt::PixelRect& rect : OutlineRects(skin, dpi)) {
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) kept[At(x, y, skin.width)] = true;
    }
  }
  return kept;
}

Image ScaledImage(const Image& image, int numerator, int denominator) {
  const rt::ScaledPixels scaled = rt::ScaleNearest(ImagePicture(image), numerator, denominator);
  Image out{scaled.width, scaled.height, std::vector<Rgb>(scaled.pixels.size()), scaled.alpha};
  Rgb* pixel = out.pixels.data();
  for (const std::uint32_t value : scaled.pixels) *pixel++ = RgbOf(value);
  return out;
}

Image ComposePreview(const rt::FormDefinition& window, const Image& skin,
                     const std::map<std::int16_t, Image>& normals, int dpi) {
  // As the start-up leaves the window; the buttons disabled by design never get a picture.
  rt::Form form(window);
  ArrangeForm(form, skin, normals, dpi);

  Image canvas{skin.width,
               skin.height,
               std::vector<Rgb>(static_cast<std::size_t>(skin.width) *
                                static_cast<std::size_t>(skin.height)),
               {}};
  ImagePainter painter(canvas);
  form.OnPaint(painter, form.ClientRect());

  // What the outline leaves out shows the desktop, whatever was painted there.
  const std::vector<bool> kept = KeptPixels(skin, dpi);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (!kept[i]) canvas.pixels[i] = kHoleColour;
  }
  return canvas;
}

}  // namespace skincheck

// Choosing among the pictures drawn for each scale, and scaling the rest once.
#include "ScaledPictures.h"

#include <memory>

#include "PathRule.h"
#include "PictureScaling.h"

namespace menu {

std::vector<int> QualifierOrder(int dpi) {
  const int percent = rt::ScalePercent(dpi);
  std::vector<int> order;
  for (const int q : kScaleQualifiers) {
    if (q >= percent) order.push_back(q);
  }
  for (auto q = kScaleQualifiers.rbegin(); q != kScaleQualifiers.rend(); ++q) {
    if (*q < percent) order.push_back(*q);
  }
  return order;
}

ScaleFactor ScaleFactorFor(int drawnPercent, int dpi) {
  const int percent = rt::ScalePercent(dpi);
  if (drawnPercent == percent) return {};
  // A plain file scales by the screen's own figures, a qualified one from its scale to this one.
  if (drawnPercent == 100) return {dpi, rt::kDesignDpi};
  return {percent, drawnPercent};
}

void ScaledPictures::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  sources_.clear();
}

bool ScaledPictures::Holds(const std::wstring& path) { return !platform_->IsMissing(path); }

const ScaledPictures::Source& ScaledPictures::SourceOf(const std::wstring& path) {
  const auto known = sources_.find(path);
  if (known != sources_.end()) return known->second;
  Source source{path, 100};
  // At each scale the PNG file of the same name comes before the bitmap.
  auto take = [&](const std::wstring& candidate, int percent) {
    const std::wstring png = PngAlternative(candidate);
    if (!png.empty() && Holds(png)) {
      source = {png, percent};
      return true;
    }
    if (percent == 100 || !Holds(candidate)) return false;
    source = {candidate, percent};
    return true;
  };
  bool found = false;
  if (dpi_ != rt::kDesignDpi) {
    for (const int q : QualifierOrder(dpi_)) {
      found = take(QualifiedPicturePath(path, q), q);
      if (found) break;
    }
  }
  if (!found) take(path, 100);
  return sources_.emplace(path, std::move(source)).first->second;
}

rt::Picture ScaledPictures::Load(const std::wstring& path) {
  const Source& source = SourceOf(path);
  rt::Picture picture = platform_->LoadPicture(source.path);
  const auto [numerator, denominator] = ScaleFactorFor(source.percent, dpi_);
  if (numerator == denominator) return picture;
  Made& made = made_[source.path];
  if (made.from.Data() != picture.Data() || made.numerator != numerator ||
      made.denominator != denominator) {
    const rt::ScaledPixels pixels = rt::ScaleNearest(*picture.Data(), numerator, denominator);
    made = {picture, numerator, denominator,
            platform_->MakePicture(pixels.width, pixels.height, pixels.pixels, pixels.alpha)};
  }
  return made.scaled;
}

rt::Picture ScaledPictures::LoadOver(const std::wstring& path, const rt::Picture& under, int x,
                                     int y) {
  rt::Picture picture = Load(path);
  if (!picture || !under || !rt::HasAlpha(*picture.Data())) return picture;
  Blended& made = blended_[path];
  if (made.from.Data() != picture.Data() || made.under.Data() != under.Data() || made.x != x ||
      made.y != y) {
    const rt::ScaledPixels pixels = rt::BlendOver(*picture.Data(), *under.Data(), x, y);
    // An opaque picture hides what lies under it: it is shown as it is.
    made = {picture, under, x, y,
            pixels.pixels.empty()
                ? picture
                : platform_->MakePicture(pixels.width, pixels.height, pixels.pixels)};
  }
  return made.blended;
}

}  // namespace menu

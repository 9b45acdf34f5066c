// Choosing among the pictures drawn for each scale, and scaling the rest once.
#include "ScaledPictures.h"

#include <array>
#include <memory>

#include "PathRule.h"
#include "PictureScaling.h"

namespace menu {

namespace {

constexpr std::array<int, 6> kQualifiers = {125, 150, 200, 250, 300, 400};

}  // namespace

void ScaledPictures::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  sources_.clear();
}

const ScaledPictures::Source& ScaledPictures::SourceOf(const std::wstring& path) {
  const auto known = sources_.find(path);
  if (known != sources_.end()) return known->second;
  // The nearest qualifier at or above the scale, then those below it, largest first.
  const int percent = rt::ScalePercent(dpi_);
  std::array<int, kQualifiers.size()> order{};
  std::size_t count = 0;
  for (const int q : kQualifiers) {
    if (q >= percent) order[count++] = q;
  }
  for (auto q = kQualifiers.rbegin(); q != kQualifiers.rend(); ++q) {
    if (*q < percent) order[count++] = *q;
  }
  Source source{path, 100};
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring qualified = QualifiedPicturePath(path, order[i]);
    rt::OpenFailure failure;
    // A file that is there but cannot be read is still the one the disc means: its load reports
    // it. Only a missing one lets the next qualifier serve.
    if (platform_->OpenFile(qualified, failure) || !failure.missing) {
      source = {qualified, order[i]};
      break;
    }
  }
  return sources_.emplace(path, std::move(source)).first->second;
}

rt::Picture ScaledPictures::Load(const std::wstring& path) {
  if (dpi_ == rt::kDesignDpi) return platform_->LoadPicture(path);
  const Source& source = SourceOf(path);
  rt::Picture picture = platform_->LoadPicture(source.path);
  const int percent = rt::ScalePercent(dpi_);
  if (source.percent == percent) return picture;
  // A plain file scales by the screen's own figures, a qualified one from its scale to this one.
  const int numerator = source.percent == 100 ? dpi_ : percent;
  const int denominator = source.percent == 100 ? rt::kDesignDpi : source.percent;
  Made& made = made_[source.path];
  if (made.from.Data() != picture.Data() || made.numerator != numerator ||
      made.denominator != denominator) {
    const rt::ScaledPixels pixels = rt::ScaleNearest(*picture.Data(), numerator, denominator);
    made = {picture, numerator, denominator,
            platform_->MakePicture(pixels.width, pixels.height, pixels.pixels)};
  }
  return made.scaled;
}

}  // namespace menu

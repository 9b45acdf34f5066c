// A loaded picture, shared by whatever shows it, and a window region, owned until the window
// takes it.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "Geometry.h"

namespace rt {

// What a platform keeps for one decoded picture.
class PictureData {
 public:
  virtual ~PictureData() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Copies the pixels of `area` into `out`, row by row, `area.Width()` values a row, each pixel as
  // a colour value 0x00BBGGRR (0 is pure black). Values for points outside the picture are left
  // as they were.
  virtual void ReadPixels(const PixelRect& area, std::uint32_t* out) const = 0;
  // For a picture with an alpha channel, copies the alpha of `area` into `out` as ReadPixels
  // copies colours (0 transparent, 255 opaque) and returns true; false for a picture without one.
  virtual bool ReadAlpha(const PixelRect& area, std::uint8_t* out) const {
    static_cast<void>(area);
    static_cast<void>(out);
    return false;
  }
};

// The `Picture` of a window or control. A decoded picture never changes, so copies share it;
// assigning a new one lets go of the old one, which goes when nothing shows it any more.
class Picture {
 public:
  Picture() = default;
  explicit Picture(std::shared_ptr<const PictureData> data) : data_(std::move(data)) {}

  explicit operator bool() const { return data_ != nullptr; }
  int Width() const { return data_ ? data_->Width() : 0; }
  int Height() const { return data_ ? data_->Height() : 0; }
  const PictureData* Data() const { return data_.get(); }

 private:
  std::shared_ptr<const PictureData> data_;
};

// What a platform keeps for one region.
class RegionData {
 public:
  virtual ~RegionData() = default;
};

// A window region not yet given to a window.
class Region {
 public:
  Region() = default;
  explicit Region(std::unique_ptr<RegionData> data) : data_(std::move(data)) {}

  explicit operator bool() const { return data_ != nullptr; }
  RegionData* Data() const { return data_.get(); }

 private:
  std::unique_ptr<RegionData> data_;
};

}  // namespace rt

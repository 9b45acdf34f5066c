// Pictures over Win32: files opened for reading, the direct copy of uncompressed pixels into a DIB
// section, the system's decoder, the pictures built into the program, and pixel reads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "BitmapCheck.h"
#include "Handles.h"
#include "Picture.h"
#include "Platform.h"

namespace rt::win32 {

// A decoded picture: a GDI bitmap, usually a DIB section.
class Win32Picture : public PictureData {
 public:
  // `alpha`: a 32-bit DIB section whose fourth bytes are the pixels' alpha.
  Win32Picture(unique_hbitmap bitmap, int width, int height, bool alpha = false)
      : bitmap_(std::move(bitmap)), width_(width), height_(height), alpha_(alpha) {}
  // A bitmap resource of `instance` of the given size, decoded when first drawn or read.
  Win32Picture(HINSTANCE instance, int resourceId, int width, int height)
      : instance_(instance), resourceId_(resourceId), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Null where a resource picture cannot be decoded; it then draws nothing and reads as white.
  HBITMAP Bitmap() const;
  void ReadPixels(const PixelRect& area, std::uint32_t* out) const override;
  bool ReadAlpha(const PixelRect& area, std::uint8_t* out) const override;

 private:
  bool ReadDirect(const PixelRect& part, std::uint32_t* out, std::size_t outStride) const;
  void ReadConverted(const PixelRect& part, std::uint32_t* out, std::size_t outStride) const;

  mutable unique_hbitmap bitmap_;
  HINSTANCE instance_ = nullptr;
  mutable int resourceId_ = 0;
  int width_;
  int height_;
  bool alpha_ = false;
};

// A 32-bit DIB section, its rows top row first or last, and its pixels in `bits`; empty, with
// `bits` null, where the system has no memory for it.
unique_hbitmap CreateDib32(int width, int height, bool topDown, std::uint32_t*& bits);

// Takes charge of a bitmap the system made; an empty picture where there is none.
Picture MakePicture(HBITMAP bitmap);

std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path, OpenFailure& failure);
bool IsMissing(const std::wstring& path);
Picture CopyPicture(std::span<const std::uint8_t> file, const BitmapCheckResult& layout,
                    SystemError& error);
Picture DecodeWithSystem(const std::wstring& path, SystemError& error);
// A 32-bit picture of the given pixels (0x00BBGGRR, top row first); empty where the system has no
// memory for it.
Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                    std::span<const std::uint8_t> alpha);
// A bitmap resource of `instance`, its pixels decoded when first used; empty, with what the
// system said, where it is not there.
Picture FindResourcePicture(HINSTANCE instance, int resourceId, SystemError& error);

}  // namespace rt::win32

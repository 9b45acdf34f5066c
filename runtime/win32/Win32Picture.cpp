// Reading the pixels of a decoded picture, straight from a DIB section's memory where it can.
#include <algorithm>
#include <vector>

#include "Win32Pictures.h"

namespace rt::win32 {

namespace {

std::uint32_t ColourValue(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
         (static_cast<std::uint32_t>(blue) << 16);
}

}  // namespace

Picture MakePicture(HBITMAP handle) {
  unique_hbitmap bitmap(handle);
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap.get(), sizeof(info), &info) == 0) return Picture();
  return Picture(std::make_shared<Win32Picture>(std::move(bitmap), static_cast<int>(info.bmWidth),
                                                static_cast<int>(info.bmHeight)));
}

HBITMAP Win32Picture::Bitmap() const {
  if (!bitmap_ && resourceId_ != 0) {
    bitmap_.reset(static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(resourceId_),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    resourceId_ = 0;  // one try: a resource that cannot be decoded now never will be
  }
  return bitmap_.get();
}

unique_hbitmap CreateDib32(int width, int height, bool topDown, std::uint32_t*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = topDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* made = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &made, nullptr, 0));
  bits = static_cast<std::uint32_t*>(made);
  if (bits == nullptr) bitmap.reset();
  return bitmap;
}

Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                    std::span<const std::uint8_t> alpha) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (width <= 0 || height <= 0 || pixels.size() != count ||
      (!alpha.empty() && alpha.size() != count)) {
    return Picture();
  }
  // Bottom-up, as every system reads a DIB section's rows the same way round then.
  std::uint32_t* bits = nullptr;
  unique_hbitmap bitmap = CreateDib32(width, height, false, bits);
  if (!bitmap) return Picture();
  // A DIB's 32-bit pixel holds blue in its lowest byte, a colour value red.
  std::uint32_t* out = bits;
  const std::size_t columns = static_cast<std::size_t>(width);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* from = pixels.data() + static_cast<std::size_t>(y) * columns;
    std::uint32_t* to = out + static_cast<std::size_t>(height - 1 - y) * columns;
    for (std::size_t x = 0; x < columns; ++x) {
      const std::uint32_t colour = from[x];
      to[x] = (colour & 0x0000FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
      // The fourth byte holds the alpha, as the imaging component's pictures hold it.
      if (!alpha.empty())
        to[x] |= std::uint32_t{alpha[static_cast<std::size_t>(y) * columns + x]} << 24;
    }
  }
  return Picture(std::make_shared<Win32Picture>(std::move(bitmap), width, height, !alpha.empty()));
}

void Win32Picture::ReadPixels(const PixelRect& area, std::uint32_t* out) const {
  const PixelRect part = Intersect(area, {0, 0, width_, height_});
  if (part.Empty()) return;
  const std::size_t stride = static_cast<std::size_t>(area.Width());
  std::uint32_t* first = out + static_cast<std::size_t>(part.top - area.top) * stride +
                         static_cast<std::size_t>(part.left - area.left);
  if (!ReadDirect(part, first, stride)) ReadConverted(part, first, stride);
}

// A 24- or 32-bit picture is read straight from the memory the decoder filled.
bool Win32Picture::ReadDirect(const PixelRect& part, std::uint32_t* out,
                              std::size_t outStride) const {
  DIBSECTION section{};
  if (GetObjectW(Bitmap(), sizeof(section), &section) != sizeof(section)) return false;
  const BITMAP& bm = section.dsBm;
  const int bits = bm.bmBitsPixel;
  if (bm.bmBits == nullptr || (bits != 24 && bits != 32) || bm.bmWidth != width_ ||
      section.dsBmih.biCompression != BI_RGB) {
    return false;
  }
  GdiFlush();  // drawing into the section must be finished before its bytes are read
  const auto* base = static_cast<const std::uint8_t*>(bm.bmBits);
  const bool bottomUp = section.dsBmih.biHeight > 0;
  const std::size_t stride = static_cast<std::size_t>(bm.bmWidthBytes);
  const std::size_t step = static_cast<std::size_t>(bits / 8);
  for (int y = part.top; y < part.bottom; ++y) {
    const std::size_t row = static_cast<std::size_t>(bottomUp ? height_ - 1 - y : y);
    const std::uint8_t* source = base + row * stride + static_cast<std::size_t>(part.left) * step;
    std::uint32_t* target = out + static_cast<std::size_t>(y - part.top) * outStride;
    for (int x = part.left; x < part.right; ++x, source += step) {
      *target++ = ColourValue(source[0], source[1], source[2]);
    }
  }
  return true;
}

// Any other picture is converted to 32 bits by the system first, a band of rows at a time.
void Win32Picture::ReadConverted(const PixelRect& part, std::uint32_t* out,
                                 std::size_t outStride) const {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = height_;  // bottom-up: scan line 0 is the picture's last row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const std::size_t width = static_cast<std::size_t>(width_);
  const int rowCount = part.Height();
  std::vector<std::uint32_t> rows(width * static_cast<std::size_t>(rowCount));
  unique_hdc_window screen(nullptr);
  const int lines = GetDIBits(screen.get(), bitmap_.get(), static_cast<UINT>(height_ - part.bottom),
                              static_cast<UINT>(rowCount), rows.data(), &info, DIB_RGB_COLORS);
  // Unreadable pixels count as not black, as points outside the bitmap do.
  if (lines != rowCount) std::fill(rows.begin(), rows.end(), 0x00FFFFFFu);
  for (int y = part.top; y < part.bottom; ++y) {
    const std::uint32_t* source =
        rows.data() + width * static_cast<std::size_t>(part.bottom - 1 - y);
    std::uint32_t* target = out + static_cast<std::size_t>(y - part.top) * outStride;
    for (int x = part.left; x < part.right; ++x) {
      const std::uint32_t v = source[x];  // DIB bytes blue, green, red
      *target++ = ColourValue(static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                              static_cast<std::uint8_t>(v >> 16));
    }
  }
}

}  // namespace rt::win32

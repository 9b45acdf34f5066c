// Under Windows: the outline built from runs in one region equals the per-pixel construction, on
// skins of several shapes and sizes, and pictures load through the real decoder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "BitmapFormat.h"
#include "ReferenceRegion.h"
#include "SkinOutline.h"
#include "Win32Platform.h"

namespace menu {
namespace {

using Pixel = std::function<std::uint32_t(int x, int y)>;  // 0x00BBGGRR

// A 24-bit bottom-up DIB section painted by `pixel`.
HBITMAP MakeSkin(int width, int height, const Pixel& pixel) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const auto stride =
      static_cast<std::ptrdiff_t>(rt::bmp::RowStride(static_cast<std::uint64_t>(width), 24));
  auto* bytes = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bytes + static_cast<std::ptrdiff_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = pixel(x, y);
      row[x * 3 + 0] = static_cast<std::uint8_t>(c >> 16);  // blue
      row[x * 3 + 1] = static_cast<std::uint8_t>(c >> 8);   // green
      row[x * 3 + 2] = static_cast<std::uint8_t>(c);        // red
    }
  }
  return bitmap;
}

// Reads the bitmap point by point with GetPixel, apart from the menu's own way of reading.
class DibPixels : public rt::PictureData {
 public:
  DibPixels(HBITMAP bitmap, int width, int height)
      : bitmap_(bitmap), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void ReadPixels(const rt::PixelRect& area, std::uint32_t* out) const override {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap_);
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (x >= width_ || y >= height_) continue;
        out[(y - area.top) * area.Width() + (x - area.left)] = GetPixel(memory, x, y);
      }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

 private:
  HBITMAP bitmap_;
  int width_;
  int height_;
};

// A window that nothing happens to.
class NoEvents : public rt::WindowEvents {
 public:
  void OnPaint(rt::Painter&, const rt::PixelRect&) override {}
  void OnPointer(const rt::PointerEvent&) override {}
  void OnCaptureLost() override {}
  void OnKey(const rt::KeyEvent&) override {}
  void OnFocusLost() override {}
  void OnFocusCues(bool) override {}
  rt::AccessibleWindow* Accessible() override { return nullptr; }
  void OnDpiChanged(int) override {}
};

void ExpectSameRegion(int width, int height, const Pixel& pixel) {
  HBITMAP skin = MakeSkin(width, height, pixel);
  ASSERT_NE(skin, nullptr);
  rt::win32::Win32Platform platform(GetModuleHandleW(nullptr));
  const DibPixels pixels(skin, width, height);
  rt::Region fast = platform.CreateRegion(SkinOutlineRects(width, height, pixels));
  HRGN reference = reference::BuildRegionPerPixel(skin, width, height);

  // The fast region is handed over to the platform's window the way the menu does it, then
  // compared there.
  NoEvents events;
  rt::SystemError refused;
  ASSERT_TRUE(
      platform.CreateMainWindow({.width = width, .height = height, .title = L""}, events, refused))
      << refused.code;
  platform.SetWindowRgn(std::move(fast));
  HRGN applied = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(reinterpret_cast<HWND>(platform.WindowHandle()), applied), ERROR);
  EXPECT_TRUE(EqualRgn(applied, reference)) << width << " x " << height;

  DeleteObject(applied);
  DeleteObject(reference);
  platform.DestroyMainWindow();
  DeleteObject(skin);
}

TEST(RegionFromRuns, EqualsThePerPixelOutline) {
  ExpectSameRegion(800, 600, [](int, int) { return 0x00336699u; });
  ExpectSameRegion(800, 600, [](int, int) { return 0u; });  // whole skin black: only corners go
  ExpectSameRegion(800, 600, [](int x, int y) {
    // Rounded corners of radius 36, and black text in the middle that stays.
    auto outside = [](int dx, int dy) { return dx * dx + dy * dy > 36 * 36; };
    const bool corner = (x < 36 && y < 36 && outside(36 - x, 36 - y)) ||
                        (x > 763 && y < 36 && outside(x - 763, 36 - y)) ||
                        (x < 36 && y > 563 && outside(36 - x, y - 563)) ||
                        (x > 763 && y > 563 && outside(x - 763, y - 563));
    const bool text = x > 300 && x < 500 && y > 280 && y < 300;
    return corner || text ? 0u : 0x00204060u;
  });
  // Wine hands a window's region to X in one request, which holds some 30,000 rectangles at most:
  // patterns here stay below that.
  ExpectSameRegion(1000, 800,
                   [](int x, int y) { return (x / 7 + y / 5) % 2 == 0 ? 0u : 0x00FFFFFFu; });
  ExpectSameRegion(800, 600, [](int x, int y) { return (x + y) % 3 == 0 ? 0u : 0x00FFFFFFu; });
  ExpectSameRegion(50, 30, [](int, int) { return 0u; });
  ExpectSameRegion(745, 545, [](int x, int) { return x % 2 == 0 ? 0u : 0x00010000u; });
}

TEST(RegionFromRuns, EqualsThePerPixelOutlineOnRandomSkins) {
  std::mt19937 random(20261209);
  for (const auto& [width, height] :
       {std::pair{800, 600}, std::pair{741, 541}, std::pair{61, 61}}) {
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(width * height));
    for (auto& colour : colours) colour = random() % 3 == 0 ? 0u : 0x00010101u;
    ExpectSameRegion(width, height, [&colours, width = width](int x, int y) {
      return colours[static_cast<std::size_t>(y * width + x)];
    });
  }
}

}  // namespace
}  // namespace menu

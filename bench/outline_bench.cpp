// Times building the window's outline from a skin: from rectangle runs in one region, and the
// per-pixel way (GetPixel, one region and one union per black pixel). Prints medians and ratios.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ReferenceRegion.h"
#include "SkinOutline.h"
#include "Timing.h"
#include "Win32Platform.h"

namespace {

// An 800 x 600 24-bit skin whose four corner areas are entirely black, written to a file.
std::wstring WriteBlackCornerSkin(const std::wstring& folder) {
  const int width = 800, height = 600, stride = width * 3;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool corner = (x <= 60 || x >= 740) && (y <= 60 || y >= 540);
      std::uint8_t* p = &pixels[static_cast<std::size_t>((height - 1 - y) * stride + x * 3)];
      p[0] = corner ? 0 : 0x80;
      p[1] = corner ? 0 : 0x60;
      p[2] = corner ? 0 : 0x40;
    }
  }
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  const std::wstring path = folder + L"\\black-corners.bmp";
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &info, sizeof(info), &written, nullptr);
  WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(out);
  return path;
}

void Measure(const char* name, const std::wstring& path, int runs) {
  rt::win32::Win32Platform platform(GetModuleHandleW(nullptr));
  const rt::Picture skin = platform.LoadPicture(path);
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  const int width = skin.Width(), height = skin.Height();

  std::vector<double> fast, reference;
  std::size_t rects = 0;
  for (int run = 0; run < runs; ++run) {
    double start = bench::Now();
    {
      const auto outline = menu::SkinOutlineRects(width, height, *skin.Data());
      rt::Region region = platform.CreateRegion(outline);
      rects = outline.size();
    }
    fast.push_back(bench::Now() - start);

    start = bench::Now();
    DeleteObject(menu::reference::BuildRegionPerPixel(bitmap, width, height));
    reference.push_back(bench::Now() - start);
  }
  DeleteObject(bitmap);
  const double f = bench::Quantile(fast, 0.5) * 1000, r = bench::Quantile(reference, 0.5) * 1000;
  std::printf(
      "%-28s runs %2d  rectangles %5zu  runs-based %8.3f ms (worst %8.3f)  per-pixel %9.3f ms"
      "  ratio %7.1fx\n",
      name, runs, rects, f, *std::max_element(fast.begin(), fast.end()) * 1000, r, r / f);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: outline_bench TEMP_FOLDER [DEMO_SKIN]\n");
    return 2;
  }
  Measure("800x600, corners all black", WriteBlackCornerSkin(argv[1]), 15);
  if (argc > 2) Measure("demo skin", argv[2], 15);
  return 0;
}

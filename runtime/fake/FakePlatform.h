// A recording stand-in for the platform: pictures come from an in-memory file table and every
// call is written to a log that tests compare against the expected order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Platform.h"

namespace rt {

// A picture file as the fake knows it: a size and the colour of each pixel (0x00BBGGRR).
struct FakeImage {
  int width = 0;
  int height = 0;
  std::function<std::uint32_t(int x, int y)> pixel;  // null: every pixel white
  std::wstring name;  // what the log shows for pictures made from it; empty: the path
};

class FakePicture : public PictureData {
 public:
  FakePicture(std::wstring source, FakeImage image)
      : source_(std::move(source)), image_(std::move(image)) {}
  int Width() const override { return image_.width; }
  int Height() const override { return image_.height; }
  void ReadPixels(const PixelRect& area, std::uint32_t* out) const override;
  const std::wstring& Source() const { return source_; }

 private:
  std::wstring source_;
  FakeImage image_;
};

class FakeRegion : public RegionData {
 public:
  explicit FakeRegion(std::vector<PixelRect> regionRects, int* live)
      : rects(std::move(regionRects)), live_(live) {
    ++*live_;
  }
  ~FakeRegion() override { --*live_; }
  FakeRegion(const FakeRegion&) = delete;
  FakeRegion& operator=(const FakeRegion&) = delete;
  std::vector<PixelRect> rects;

 private:
  int* live_;
};

class FakePlatform : public Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  // Set-up
  std::wstring programFolder = L"C:\\Menu";
  std::map<std::wstring, FakeImage> files;
  std::map<int, FakeImage> resources;
  // Loads of these paths fail as a file that is not a bitmap.
  std::vector<std::wstring> brokenFiles;
  // Programs that StartProgram refuses, as a missing file.
  std::vector<std::wstring> missingPrograms;
  std::vector<StartRequest> started;

  // What happened, in order: "LoadPicture <path>", "Show", "Hide", "DoEvents", "Resize WxH", ...
  std::vector<std::wstring> log;
  // The source of every picture painted by the last paint, in painting order, with its place.
  std::vector<std::wstring> painted;

  // State as the window would show it.
  bool windowExists = false;
  bool windowVisible = false;
  int windowWidth = 0;
  int windowHeight = 0;
  bool captured = false;
  int regionsAlive = 0;
  std::vector<PixelRect> windowRegion;  // the rectangles of the region the window owns
  bool windowShaped = false;
  std::vector<PixelRect> invalidated;
  WindowEvents* events = nullptr;

  // Drives a paint of `area` (the whole window by default) through the recording painter.
  void Paint(const PixelRect& area);
  void Paint();
  // The log lines that start with `prefix`.
  std::vector<std::wstring> Lines(const std::wstring& prefix) const;

  // Platform
  std::wstring ProgramFolder() override;
  Picture LoadPicture(const std::wstring& path) override;
  Picture LoadResourcePicture(int resourceId) override;
  void DoEvents() override;
  void CreateMainWindow(const WindowLayout& layout, WindowEvents& events) override;
  void ShowMainWindow(bool visible) override;
  void ResizeMainWindow(int width, int height) override;
  void Invalidate(const PixelRect& area) override;
  void DestroyMainWindow() override;
  NativeHandle WindowHandle() const override;
  NativeHandle WindowDC() const override;
  void SetMouseCapture(bool captured) override;
  void DragMainWindow() override;
  void StartProgram(const StartRequest& request) override;
  Region CreateRegion(const std::vector<PixelRect>& rects) override;
  void SetWindowRgn(NativeHandle window, Region region, bool redraw) override;

 private:
  Region ownedRegion_;
};

// A white image of the given size, or one whose pixels come from `pixel`.
FakeImage MakeImage(int width, int height,
                    std::function<std::uint32_t(int x, int y)> pixel = nullptr);

}  // namespace rt

// A recording stand-in for the platform: files are real bytes held in memory, pictures are
// decoded by the reference decoder, and every call is written to a log that tests compare against
// the expected order.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FakeSystemQuery.h"
#include "Platform.h"

namespace rt {

using FileBytes = std::vector<std::uint8_t>;

// A picture made from a file's bytes; its pixels are decoded when first read. A picture without
// bytes (a resource) is white.
class FakePicture : public PictureData {
 public:
  FakePicture(std::wstring source, std::shared_ptr<const FileBytes> bytes, int width, int height);
  // A picture of given pixels (0x00BBGGRR, top row first): made by the program, or decoded with
  // the alpha of each pixel.
  FakePicture(std::wstring source, int width, int height, std::vector<std::uint32_t> pixels,
              std::vector<std::uint8_t> alpha = {});
  ~FakePicture() override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void ReadPixels(const PixelRect& area, std::uint32_t* out) const override;
  bool ReadAlpha(const PixelRect& area, std::uint8_t* out) const override;
  const std::wstring& Source() const { return source_; }

 private:
  std::wstring source_;
  std::shared_ptr<const FileBytes> bytes_;
  int width_;
  int height_;
  mutable std::vector<std::uint32_t> pixels_;  // top row first, once decoded
  std::vector<std::uint8_t> alpha_;            // empty for a picture without alpha
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
  std::map<std::wstring, FileBytes> files;
  // Paths that are folders: opening them is refused, as the system refuses to read a folder.
  std::set<std::wstring> folders;
  // The program's string table; a missing id reads as empty.
  std::map<int, std::wstring> strings;
  // The screen: its scale and the part of it left to windows.
  int screenDpi = 96;
  PixelRect workArea{0, 0, 1024, 768};
  // The user's interface languages, and the system's kind.
  std::vector<std::wstring> languages = {L"en-US"};
  bool is64Bit = false;
  // The tooltips shown: id, area and text.
  std::map<int, std::pair<PixelRect, std::wstring>> tooltips;
  std::wstring windowTitle;
  // Programs that StartProgram refuses, as a missing file, and others refused as given.
  std::vector<std::wstring> missingPrograms;
  std::map<std::wstring, StartFailure> refusedPrograms;
  // What the system says when it refuses to make the window; code 0: it makes it.
  SystemError windowRefusal;
  // Whether the system is out of the memory a region needs.
  bool regionsRefused = false;
  // Resource pictures the program does not have.
  std::set<int> missingResources;
  std::vector<StartRequest> started;
  // What the system says about installed programs and itself.
  FakeSystemQuery system;

  // What happened, in order: "LoadPicture <path>", "Show", "Hide", "DoEvents", "Resize WxH",
  // "ShowFocusCues", "AnnounceFocus <child>", ...
  std::vector<std::wstring> log;
  // Every path opened, in order.
  std::vector<std::wstring> opened;
  // Every file that reached a decoder, as "copy <path>", "system <path>" or "png <path>".
  std::vector<std::wstring> decoded;
  // The source of every picture painted by the last paint, in painting order, with its place.
  std::vector<std::wstring> painted;

  // State as the window would show it.
  bool windowExists = false;
  bool windowVisible = false;
  int windowWidth = 0;
  int windowHeight = 0;
  PixelPoint windowCorner;  // where the window was placed, in screen pixels
  bool captured = false;
  int regionsAlive = 0;
  std::vector<PixelRect> windowRegion;  // the rectangles of the region the window owns
  bool windowShaped = false;
  std::vector<std::uint8_t> windowAlpha;  // the per-pixel alpha the window is drawn with
  AlphaDrawing windowAlphaDrawing = AlphaDrawing::kWhole;
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
  Picture FindResourcePicture(int resourceId, SystemError& error) override;
  std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path, OpenFailure& failure) override;
  Picture CopyPicture(std::span<const std::uint8_t> file, const BitmapCheckResult& layout,
                      SystemError& error) override;
  Picture DecodeWithSystem(const std::wstring& path, SystemError& error) override;
  Picture DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                    SystemError& error) override;
  Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                      std::span<const std::uint8_t> alpha) override;
  int ScreenDpi() override { return screenDpi; }
  PixelRect WorkArea() override { return workArea; }
  void DoEvents() override;
  bool CreateMainWindow(const WindowLayout& layout, WindowEvents& events,
                        SystemError& error) override;
  void ShowMainWindow(bool visible) override;
  void ResizeMainWindow(int width, int height) override;
  void Invalidate(const PixelRect& area) override;
  void DestroyMainWindow() override;
  NativeHandle WindowHandle() const override;
  void SetMouseCapture(bool captured) override;
  void DragMainWindow() override;
  void ShowFocusCues() override;
  void AnnounceFocus(int child) override;
  std::wstring LoadResourceString(int id) override;
  void SetTooltip(int id, const PixelRect& area, const std::wstring& text) override;
  std::vector<std::wstring> PreferredLanguages() override { return languages; }
  bool Is64BitSystem() override { return is64Bit; }
  SystemQuery& Query() override { return system; }
  bool LaunchProgram(const StartRequest& request, StartFailure& failure) override;
  // Logs "ShowRunTimeError <number> <title>".
  void ShowRunTimeError(const RunTimeError& error, const std::wstring& title) override;
  Region CreateRegion(const std::vector<PixelRect>& rects) override;
  void SetWindowRgn(Region region) override;
  void SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                      AlphaDrawing drawing) override;

 private:
  Region ownedRegion_;
  std::wstring lastOpened_;  // the path of the file opened last, which CopyPicture copies
};

}  // namespace rt

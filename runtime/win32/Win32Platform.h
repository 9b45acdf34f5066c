// The platform over plain Win32: the message loop and the error report here, the window, the
// pictures and the start of programs each in a file of its own.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "Platform.h"
#include "RunTimeError.h"
#include "Win32SystemQuery.h"
#include "Win32Window.h"

namespace rt::win32 {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HINSTANCE instance) : instance_(instance), window_(instance) {}
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Runs until the main window is gone; a run-time error raised by a handler comes out here.
  void RunMessageLoop();
  // Shows the error that ends the program in a message box titled `title`, or with the
  // program's name; no event reaches a handler any more.
  void ReportRunTimeError(const RunTimeError& error, const std::wstring& title = {});
  void ShowRunTimeError(const RunTimeError& error, const std::wstring& title) override;

  std::wstring ProgramFolder() override;
  Picture FindResourcePicture(int resourceId, SystemError& error) override;
  std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path, OpenFailure& failure) override;
  bool IsMissing(const std::wstring& path) override;
  Picture CopyPicture(std::span<const std::uint8_t> file, const BitmapCheckResult& layout,
                      SystemError& error) override;
  Picture DecodeWithSystem(const std::wstring& path, SystemError& error) override;
  Picture DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                    SystemError& error) override;
  Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                      std::span<const std::uint8_t> alpha) override;
  int ScreenDpi() override;
  PixelRect WorkArea() override;
  void DoEvents() override;
  bool CreateMainWindow(const WindowLayout& layout, WindowEvents& events,
                        SystemError& error) override;
  void ShowMainWindow(bool visible) override { window_.Show(visible); }
  void ResizeMainWindow(int width, int height) override { window_.Resize(width, height); }
  void Invalidate(const PixelRect& area) override { window_.Invalidate(area); }
  void DestroyMainWindow() override { window_.Destroy(); }
  NativeHandle WindowHandle() const override;
  void SetMouseCapture(bool captured) override { window_.SetCapture(captured); }
  void DragMainWindow() override { window_.Drag(); }
  void ShowFocusCues() override { window_.ShowFocusCues(); }
  void AnnounceFocus(int child) override { window_.AnnounceFocus(child); }
  std::wstring LoadResourceString(int id) override;
  void SetTooltip(int id, const PixelRect& area, const std::wstring& text) override {
    window_.SetTooltip(id, area, text);
  }
  std::vector<std::wstring> PreferredLanguages() override;
  bool Is64BitSystem() override;
  SystemQuery& Query() override { return query_; }
  bool LaunchProgram(const StartRequest& request, StartFailure& failure) override;
  Region CreateRegion(const std::vector<PixelRect>& rects) override;
  void SetWindowRgn(Region region) override;
  void SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                      AlphaDrawing drawing) override;

 private:
  HINSTANCE instance_;
  MainWindow window_;
  Win32SystemQuery query_;
  std::map<int, Picture> resources_;
  bool quit_ = false;
};

}  // namespace rt::win32

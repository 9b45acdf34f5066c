// The platform over plain Win32: one borderless window owned by an invisible window (so it has no
// taskbar button but still appears in Alt+Tab), pictures through the system's bitmap decoder.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "Gdi.h"
#include "Platform.h"
#include "RunTimeError.h"

namespace rt::win32 {

// The system's text for an error code, without its line break.
std::wstring SystemErrorText(DWORD code);

// The full path of the running program, of any length.
std::wstring ModulePath();

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HINSTANCE instance);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Runs until the main window is gone; a run-time error raised by a handler comes out here.
  void RunMessageLoop();
  // Shows the error in a message box titled with the program's name.
  void ReportRunTimeError(const RunTimeError& error);

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
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnPointer(PointerAction action, MouseButton button, WPARAM wParam, LPARAM lParam);
  // Runs an event handler; what it throws is kept for the message loop and ends event delivery.
  template <typename F>
  void Deliver(F&& handler);
  void RethrowPending();

  HINSTANCE instance_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HDC windowDC_ = nullptr;
  WindowEvents* events_ = nullptr;
  unique_hicon bigIcon_;
  unique_hicon smallIcon_;
  std::exception_ptr pending_;
  bool quit_ = false;
  bool failed_ = false;  // an error is being reported: no more events
};

}  // namespace rt::win32

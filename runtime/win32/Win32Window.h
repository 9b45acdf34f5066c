// The menu's one window over Win32: its class, its creation beside an invisible owner (so it has no
// taskbar button but still appears in Alt+Tab), and the window procedure, which only translates
// messages into the forms layer's events and keeps whatever a handler throws; the window's object
// for screen readers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <vector>

#include "Handles.h"
#include "Picture.h"
#include "Platform.h"
#include "Win32Accessible.h"
#include "Win32Tooltips.h"

namespace rt::win32 {

// Asks a layered window to paint what was invalidated since it was posted.
constexpr UINT kLayeredPaintMessage = WM_APP + 2;
// Asks the window to draw its half-transparent pixels into the window kept behind it.
constexpr UINT kSoftPaintMessage = WM_APP + 3;
// The class of that window.
constexpr wchar_t kSoftPixelsClass[] = L"MenuSoftPixels";

class MainWindow : private AccessibleHost {
 public:
  explicit MainWindow(HINSTANCE instance) : instance_(instance) {}
  ~MainWindow() { Destroy(); }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Created hidden where `layout` places it; false, with what the system said, where it refuses.
  bool Create(const WindowLayout& layout, WindowEvents& events, SystemError& error);
  void Destroy();
  HWND Handle() const { return window_.get(); }

  void Show(bool visible);
  void Resize(int width, int height);
  void Invalidate(const PixelRect& area);
  // Whether the window itself is drawn as a layered window.
  bool Layered() const { return !alpha_.empty() && !apart_; }
  void SetCapture(bool captured);
  void Drag();
  // Gives the window its outline, redrawn at once; once the system has the region it is the
  // system's.
  void SetRegion(Region region);
  // Draws the window from now on with the given per-pixel alpha: as a layered window, or opaque
  // with its half-transparent pixels in a layered window behind it; without it where none.
  void SetAlpha(int width, int height, std::vector<std::uint8_t> alpha, AlphaDrawing drawing);
  void ShowFocusCues();
  void AnnounceFocus(int child);
  void SetTooltip(int id, const PixelRect& area, const std::wstring& text) {
    tooltips_.Set(Handle(), instance_, id, area, text);
  }

  // An exception a handler threw comes out here, in the message loop that dispatched its event.
  void RethrowPending();
  // From now on no event reaches a handler: an error is being reported.
  void StopEvents() {
    pending_ = nullptr;
    reportingError_ = true;
  }
  // Events reach the handlers again: the error has been reported and the program goes on.
  void ResumeEvents() { reportingError_ = false; }

 public:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // AccessibleHost
  HWND AccessibleHandle() const override { return Handle(); }
  AccessibleWindow* AccessibleModel() const override;
  bool FocusAccessibleChild(int child) override;

  void OnPaint(HWND window);
  // Paints `area` of the client into `target`, whose origin is the client's.
  void PaintInto(HDC target, const RECT& area);
  // Paints `area` weighed by the alpha and hands it to the layered window, or the whole of it to
  // the window of half-transparent pixels.
  void PaintLayered(HWND window, const RECT& area);
  // Keeps the window of half-transparent pixels just behind the window, where it is, shown with it.
  void PlaceSoft();
  BOOL OnEraseBkgnd(HWND window, HDC dc);
  void OnMouseMove(HWND window, int x, int y, UINT keys);
  void OnLButtonDown(HWND window, BOOL doubleClick, int x, int y, UINT keys);
  void OnLButtonUp(HWND window, int x, int y, UINT keys);
  void OnRButtonDown(HWND window, BOOL doubleClick, int x, int y, UINT keys);
  void OnRButtonUp(HWND window, int x, int y, UINT keys);
  void OnMButtonDown(HWND window, BOOL doubleClick, int x, int y, UINT keys);
  void OnMButtonUp(HWND window, int x, int y, UINT keys);
  void OnXButton(PointerAction action, WPARAM wParam, LPARAM lParam);
  void OnCaptureChanged(HWND gaining);
  void OnDestroy(HWND window);
  void OnKey(HWND window, UINT key, BOOL down, int repeats, UINT flags);
  void OnKillFocus(HWND window, HWND gaining);
  void OnDpiChanged(HWND window, int dpi, const RECT* suggested);
  LRESULT OnGetObject(HWND window, WPARAM flags, LPARAM objectId);
  void OnAccessiblePress(int child);
  bool FocusCuesOn() const;
  void Pointer(PointerAction action, MouseButton button, int x, int y, UINT keys);

  // Runs an event handler; what it throws is kept for the message loop and ends event delivery.
  template <typename F>
  void Deliver(F&& handler);

  HINSTANCE instance_;
  unique_hwnd owner_;
  unique_hwnd window_;
  Tooltips tooltips_;
  WindowEvents* events_ = nullptr;
  std::exception_ptr pending_;
  bool reportingError_ = false;
  // A layered window's pixels: its alpha, and the image painted into and handed to the system;
  // with `apart_`, those of the window of half-transparent pixels behind the opaque window.
  std::vector<std::uint8_t> alpha_;
  int alphaWidth_ = 0;
  bool apart_ = false;
  unique_hbitmap layer_;
  std::uint32_t* layerBits_ = nullptr;
  SIZE layerSize_{};
  // What a layered window has still to paint, and whether it has asked itself to.
  RECT layerPending_{};
  bool layerPaintPosted_ = false;
  // The window of half-transparent pixels, once it holds them.
  unique_hwnd soft_;
  bool softPaintPosted_ = false;
  // Made on the first request of a screen reader; disconnected when the window is destroyed.
  unique_accessible accessible_;
};

}  // namespace rt::win32

// The menu's window: creation, the window procedure with each message cracked into typed values,
// off-screen painting and the pointer's events.
#include "Win32Window.h"

#include <windowsx.h>

#include <utility>

#include "RunTimeError.h"
#include "Win32Pictures.h"
#include "Win32Region.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"MenuOwnerWindow";
constexpr wchar_t kWindowClass[] = L"MenuWindow";

RunTimeError CreationError(const SystemError& system) {
  RunTimeError error(kErrOutOfMemory, L"Could not create the window", L"frmMain");
  if (system.code != 0) error.WithSystemError(system.code, system.text);
  return error;
}

// Paints into the off-screen bitmap of one WM_PAINT, in client coordinates.
class Win32Painter : public Painter {
 public:
  explicit Win32Painter(HDC target) : target_(target), source_(CreateCompatibleDC(target)) {}

  void FillSystemColor(const PixelRect& area, int index) override {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    FillRect(target_, &rect, GetSysColorBrush(index));
  }

  void DrawPicture(const Picture& picture, int x, int y, const PixelRect& area) override {
    const auto* data = static_cast<const Win32Picture*>(picture.Data());
    if (data == nullptr || area.Empty()) return;
    unique_select_object selected(source_.get(), data->Bitmap());
    BitBlt(target_, area.left, area.top, area.Width(), area.Height(), source_.get(), area.left - x,
           area.top - y, SRCCOPY);
  }

 private:
  HDC target_;
  unique_hdc source_;
};

struct WindowIcons {
  unique_hicon big;
  unique_hicon small;
};

// The two classes are registered once per process and keep their icons as long as the process.
const WindowIcons& RegisterClassesOnce(HINSTANCE instance, int iconResource) {
  static WindowIcons icons;
  static bool registered = false;
  if (registered) return icons;
  auto icon = [&](int width, int height) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(iconResource), IMAGE_ICON, width, height, 0));
  };
  icons.big.reset(icon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
  icons.small.reset(icon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
  WNDCLASSEXW owner{};
  owner.cbSize = sizeof(owner);
  owner.lpfnWndProc = DefWindowProcW;
  owner.hInstance = instance;
  owner.hIcon = icons.big.get();
  owner.hIconSm = icons.small.get();
  owner.lpszClassName = kOwnerClass;
  WNDCLASSEXW main = owner;
  main.lpfnWndProc = MainWindow::WindowProc;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.lpszClassName = kWindowClass;
  if (RegisterClassExW(&owner) == 0 || RegisterClassExW(&main) == 0) {
    throw CreationError(LastSystemError());
  }
  registered = true;
  return icons;
}

}  // namespace

void MainWindow::Create(const WindowLayout& layout, WindowEvents& events) {
  const WindowIcons& icons = RegisterClassesOnce(instance_, layout.iconResource);
  events_ = &events;
  // The invisible owner keeps the window off the taskbar; Alt+Tab still reaches the window.
  owner_.reset(CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance_, nullptr));
  const int x = (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
  if (owner_) {
    window_.reset(CreateWindowExW(0, kWindowClass, L"", WS_POPUP, x, y, layout.width, layout.height,
                                  owner_.get(), nullptr, instance_, this));
  }
  if (!window_) {
    const SystemError system = LastSystemError();
    events_ = nullptr;
    owner_.reset();
    throw CreationError(system);
  }
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big.get()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.get()));
}

void MainWindow::Destroy() {
  events_ = nullptr;
  window_.reset();  // its WM_DESTROY ends the message loop
  owner_.reset();
}

void MainWindow::Show(bool visible) {
  if (!window_) return;
  ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
  if (visible) UpdateWindow(Handle());
}

void MainWindow::Resize(int width, int height) {
  if (!window_) return;
  SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Invalidate(const PixelRect& area) {
  if (!window_) return;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  InvalidateRect(Handle(), &rect, FALSE);
}

void MainWindow::SetCapture(bool captured) {
  if (captured && window_) {
    ::SetCapture(Handle());
  } else if (!captured && GetCapture() == Handle()) {
    ReleaseCapture();
  }
}

void MainWindow::Drag() {
  if (!window_) return;
  // The position of the press that started this, in screen coordinates.
  const DWORD position = GetMessagePos();
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(position));
}

void MainWindow::SetRegion(Region region, bool redraw) {
  auto* data = static_cast<Win32Region*>(region.Data());
  if (data == nullptr || !window_) return;
  // Once the system has the region it is the system's; if it refused, ours is deleted here.
  if (SetWindowRgn(Handle(), data->Handle().get(), redraw ? TRUE : FALSE)) {
    data->Handle().release();
  }
}

void MainWindow::RethrowPending() {
  if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

template <typename F>
void MainWindow::Deliver(F&& handler) {
  if (pending_ || reportingError_ || events_ == nullptr) return;
  try {
    handler();
  } catch (...) {
    pending_ = std::current_exception();
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    // Destroyed by the system (Alt+F4) or by Destroy(): either way the handle is gone now.
    if (window == self->window_.get()) self->window_.release();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(window, WM_PAINT, OnPaint);
    HANDLE_MSG(window, WM_ERASEBKGND, OnEraseBkgnd);
    HANDLE_MSG(window, WM_MOUSEMOVE, OnMouseMove);
    HANDLE_MSG(window, WM_LBUTTONDOWN, OnLButtonDown);
    HANDLE_MSG(window, WM_LBUTTONDBLCLK, OnLButtonDown);
    HANDLE_MSG(window, WM_LBUTTONUP, OnLButtonUp);
    HANDLE_MSG(window, WM_RBUTTONDOWN, OnRButtonDown);
    HANDLE_MSG(window, WM_RBUTTONDBLCLK, OnRButtonDown);
    HANDLE_MSG(window, WM_RBUTTONUP, OnRButtonUp);
    HANDLE_MSG(window, WM_MBUTTONDOWN, OnMButtonDown);
    HANDLE_MSG(window, WM_MBUTTONDBLCLK, OnMButtonDown);
    HANDLE_MSG(window, WM_MBUTTONUP, OnMButtonUp);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      OnXButton(PointerAction::kDown, wParam, lParam);
      return TRUE;
    case WM_XBUTTONUP:
      OnXButton(PointerAction::kUp, wParam, lParam);
      return TRUE;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void MainWindow::OnPaint(HWND window) {
  unique_hdc_paint paint(window);
  const RECT& area = paint.area();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || events_ == nullptr) return;
  // Everything is drawn off-screen and copied in one go, so nothing flickers.
  unique_hdc buffer(CreateCompatibleDC(paint.get()));
  unique_hbitmap image(CreateCompatibleBitmap(paint.get(), width, height));
  if (!buffer || !image) return;
  unique_select_object selected(buffer.get(), image.get());
  SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
  {
    Win32Painter painter(buffer.get());
    // The window is painted as the user last saw it even while an error is reported.
    try {
      events_->OnPaint(painter, {area.left, area.top, area.right, area.bottom});
    } catch (...) {
      if (!pending_) pending_ = std::current_exception();
    }
  }
  SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
  BitBlt(paint.get(), area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

// Painting covers everything; erasing first would flicker.
BOOL MainWindow::OnEraseBkgnd(HWND, HDC) { return TRUE; }

void MainWindow::OnMouseMove(HWND, int x, int y, UINT keys) {
  Pointer(PointerAction::kMove, MouseButton::kNone, x, y, keys);
}
void MainWindow::OnLButtonDown(HWND, BOOL, int x, int y, UINT keys) {
  Pointer(PointerAction::kDown, MouseButton::kLeft, x, y, keys);
}
void MainWindow::OnLButtonUp(HWND, int x, int y, UINT keys) {
  Pointer(PointerAction::kUp, MouseButton::kLeft, x, y, keys);
}
void MainWindow::OnRButtonDown(HWND, BOOL, int x, int y, UINT keys) {
  Pointer(PointerAction::kDown, MouseButton::kRight, x, y, keys);
}
void MainWindow::OnRButtonUp(HWND, int x, int y, UINT keys) {
  Pointer(PointerAction::kUp, MouseButton::kRight, x, y, keys);
}
void MainWindow::OnMButtonDown(HWND, BOOL, int x, int y, UINT keys) {
  Pointer(PointerAction::kDown, MouseButton::kMiddle, x, y, keys);
}
void MainWindow::OnMButtonUp(HWND, int x, int y, UINT keys) {
  Pointer(PointerAction::kUp, MouseButton::kMiddle, x, y, keys);
}

void MainWindow::OnXButton(PointerAction action, WPARAM wParam, LPARAM lParam) {
  const MouseButton button =
      GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? MouseButton::kX1 : MouseButton::kX2;
  Pointer(action, button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), GET_KEYSTATE_WPARAM(wParam));
}

void MainWindow::OnCaptureChanged(HWND gaining) {
  if (gaining != Handle()) Deliver([&] { events_->OnCaptureLost(); });
}

void MainWindow::OnDestroy(HWND window) {
  if (window == Handle()) events_ = nullptr;
  PostQuitMessage(0);
}

void MainWindow::Pointer(PointerAction action, MouseButton button, int x, int y, UINT keys) {
  PointerEvent event;
  event.action = action;
  event.button = button;
  event.x = x;
  event.y = y;
  auto held = [&](UINT flag, MouseButton which) {
    return (keys & flag) != 0 ? static_cast<int>(which) : 0;
  };
  event.buttons = held(MK_LBUTTON, MouseButton::kLeft) | held(MK_RBUTTON, MouseButton::kRight) |
                  held(MK_MBUTTON, MouseButton::kMiddle) | held(MK_XBUTTON1, MouseButton::kX1) |
                  held(MK_XBUTTON2, MouseButton::kX2);
  event.shift = ((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) |
                (GetKeyState(VK_MENU) < 0 ? 4 : 0);
  Deliver([&] { events_->OnPointer(event); });
}

}  // namespace rt::win32

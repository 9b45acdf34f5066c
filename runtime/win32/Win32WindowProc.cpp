// The menu's window procedure: each message cracked into typed values and handed to the forms
// layer as a neutral event, with what a handler throws kept for the message loop; off-screen
// painting; the window's object for screen readers handed out on request.
#include <windowsx.h>

#include <cstdint>
#include <new>
#include <utility>

#include "Win32Pictures.h"
#include "Win32Window.h"

namespace rt::win32 {

namespace {

// Paints into the off-screen bitmap of one WM_PAINT, in client coordinates.
class Win32Painter : public Painter {
 public:
  explicit Win32Painter(HDC target) : target_(target), source_(CreateCompatibleDC(target)) {}

  void DrawFocusRect(const PixelRect& bounds) override {
    const RECT rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
    ::DrawFocusRect(target_, &rect);
  }

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

// A DIB pixel (blue in its lowest byte) weighed by `alpha`, each channel rounded to nearest, with
// the alpha in its top byte, as layered windows take their pixels.
std::uint32_t Premultiplied(std::uint32_t pixel, std::uint32_t alpha) {
  // Red and blue are weighed side by side, 16 bits each, then green.
  const std::uint32_t redBlue = (pixel & 0xFF00FFu) * alpha + 0x800080u;
  const std::uint32_t green = (pixel & 0x00FF00u) * alpha + 0x008000u;
  return (alpha << 24) | (((redBlue + ((redBlue >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu) |
         (((green + ((green >> 8) & 0x00FF00u)) >> 8) & 0x00FF00u);
}

}  // namespace

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
    HANDLE_MSG(window, WM_LBUTTONUP, OnLButtonUp);
    HANDLE_MSG(window, WM_RBUTTONDOWN, OnRButtonDown);
    HANDLE_MSG(window, WM_RBUTTONUP, OnRButtonUp);
    HANDLE_MSG(window, WM_MBUTTONDOWN, OnMButtonDown);
    HANDLE_MSG(window, WM_MBUTTONUP, OnMButtonUp);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    HANDLE_MSG(window, WM_KEYDOWN, OnKey);
    HANDLE_MSG(window, WM_KEYUP, OnKey);
    HANDLE_MSG(window, WM_KILLFOCUS, OnKillFocus);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Translated like any key, then left to the system: Alt+F4 still closes the window.
      OnKey(window, static_cast<UINT>(wParam), message == WM_SYSKEYDOWN, 0, HIWORD(lParam));
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
      OnDpiChanged(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE: {
      // The system's own handling gives the window the keyboard focus; then the form is told.
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      Deliver([&] { events_->OnActivated(LOWORD(wParam) != WA_INACTIVE); });
      return result;
    }
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      Deliver([&] { events_->OnFocusCues(FocusCuesOn()); });
      return result;
    }
    case WM_XBUTTONDOWN:
      OnXButton(PointerAction::kDown, wParam, lParam);
      return TRUE;
    case WM_XBUTTONUP:
      OnXButton(PointerAction::kUp, wParam, lParam);
      return TRUE;
    case WM_GETOBJECT:
      return OnGetObject(window, wParam, lParam);
    case kLayeredPaintMessage: {
      layerPaintPosted_ = false;
      const RECT area = std::exchange(layerPending_, RECT{});
      if (!IsRectEmpty(&area) && events_ != nullptr) PaintLayered(window, area);
      return 0;
    }
    case kSoftPaintMessage:
      softPaintPosted_ = false;
      // The window first shows itself, then what lies behind it.
      UpdateWindow(window);
      if (apart_ && !alpha_.empty() && events_ != nullptr) {
        RECT client{};
        GetClientRect(window, &client);
        PaintLayered(window, client);
        // The window behind keeps what it was handed; it is painted afresh only for a new alpha.
        layer_.reset();
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      PlaceSoft();
      return result;
    }
    case kAccessiblePressMessage:
      OnAccessiblePress(static_cast<int>(wParam));
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void MainWindow::PaintInto(HDC target, const RECT& area) {
  Win32Painter painter(target);
  // The window is painted as the user last saw it even while an error is reported.
  try {
    events_->OnPaint(painter, {area.left, area.top, area.right, area.bottom});
  } catch (...) {
    if (!pending_) pending_ = std::current_exception();
  }
}

void MainWindow::OnPaint(HWND window) {
  unique_hdc_paint paint(window);
  const RECT& area = paint.area();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || events_ == nullptr) return;
  if (Layered()) return PaintLayered(window, area);
  // Everything is drawn off-screen and copied in one go, so nothing flickers.
  unique_hdc buffer(CreateCompatibleDC(paint.get()));
  unique_hbitmap image(CreateCompatibleBitmap(paint.get(), width, height));
  if (!buffer || !image) return;
  unique_select_object selected(buffer.get(), image.get());
  SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
  PaintInto(buffer.get(), area);
  SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
  BitBlt(paint.get(), area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

// A layered window keeps its whole image: the part asked for is painted into it, weighed by its
// alpha (the system takes colours premultiplied) and handed over with that part marked as changed.
void MainWindow::PaintLayered(HWND window, const RECT& asked) {
  RECT client{};
  GetClientRect(window, &client);
  // What was asked for may reach past a window made smaller since; the image is the client's size.
  RECT area{};
  IntersectRect(&area, &asked, &client);
  if (!layer_ || layerSize_.cx != client.right || layerSize_.cy != client.bottom) {
    layer_ = CreateDib32(client.right, client.bottom, true, layerBits_);  // as the alpha runs
    layerSize_ = {client.right, client.bottom};
    area = client;
  }
  if (!layer_ || layerBits_ == nullptr || IsRectEmpty(&area)) return;
  unique_hdc buffer(CreateCompatibleDC(nullptr));
  if (!buffer) return;
  unique_select_object selected(buffer.get(), layer_.get());
  PaintInto(buffer.get(), area);
  GdiFlush();  // the painting must be in the bits before they are weighed
  const std::size_t columns = static_cast<std::size_t>(alphaWidth_);
  const std::size_t rows = alpha_.size() / columns;
  for (LONG y = area.top; y < area.bottom; ++y) {
    const std::size_t row = static_cast<std::size_t>(y);
    std::uint32_t* pixel = layerBits_ + row * static_cast<std::size_t>(client.right);
    for (LONG x = area.left; x < area.right; ++x) {
      const std::size_t column = static_cast<std::size_t>(x);
      // Pixels beyond the alpha given (a size it does not follow yet) are opaque.
      const std::uint8_t alpha =
          row < rows && column < columns ? alpha_[row * columns + column] : 255;
      // Apart, the opaque pixels are the window's own, not the one behind it.
      pixel[x] = Premultiplied(pixel[x], apart_ && alpha == 255 ? 0 : alpha);
    }
  }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  POINT origin{0, 0};
  if (apart_) {
    // Made on its first paint, as the window is first shown; placed and shown just behind it.
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT place{rect.left, rect.top};
    if (!soft_) {
      soft_.reset(
          CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                          kSoftPixelsClass, L"", WS_POPUP, place.x, place.y, layerSize_.cx,
                          layerSize_.cy, owner_.get(), nullptr, instance_, nullptr));
    }
    UpdateLayeredWindow(soft_.get(), nullptr, &place, &layerSize_, buffer.get(), &origin, 0, &blend,
                        ULW_ALPHA);
    PlaceSoft();
    return;
  }
  UPDATELAYEREDWINDOWINFO update{sizeof(update), nullptr, nullptr, &layerSize_, buffer.get(),
                                 &origin,        0,       &blend,  ULW_ALPHA,   &area};
  if (!UpdateLayeredWindowIndirect(window, &update)) {
    UpdateLayeredWindow(window, nullptr, nullptr, &layerSize_, buffer.get(), &origin, 0, &blend,
                        ULW_ALPHA);
  }
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
  // Readers may hold the object for longer: from now on it answers that the window is gone.
  accessible_.reset();
  PostQuitMessage(0);
}

void MainWindow::OnKey(HWND, UINT key, BOOL down, int, UINT flags) {
  KeyEvent event;
  event.action = down ? KeyAction::kDown : KeyAction::kUp;
  switch (key) {
    case VK_TAB:
      event.key = Key::kTab;
      break;
    case VK_RETURN:
      event.key = Key::kEnter;
      break;
    case VK_SPACE:
      event.key = Key::kSpace;
      break;
    case VK_ESCAPE:
      event.key = Key::kEscape;
      break;
    case VK_LEFT:
      event.key = Key::kLeft;
      break;
    case VK_RIGHT:
      event.key = Key::kRight;
      break;
    case VK_UP:
      event.key = Key::kUp;
      break;
    case VK_DOWN:
      event.key = Key::kDown;
      break;
    default:
      event.key = Key::kOther;
      break;
  }
  event.shift = GetKeyState(VK_SHIFT) < 0;
  event.alt = (flags & KF_ALTDOWN) != 0;
  event.repeat = down && (flags & KF_REPEAT) != 0;
  Deliver([&] { events_->OnKey(event); });
}

void MainWindow::OnDpiChanged(HWND window, int dpi, const RECT* suggested) {
  // Nothing is drawn until the whole window is ready for the new scale: then once, all of it.
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Deliver([&] { events_->OnDpiChanged(dpi); });
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MainWindow::OnKillFocus(HWND, HWND) {
  Deliver([&] { events_->OnFocusLost(); });
}

// The client area's object, for a reader that asks while the form has something to tell; oleacc
// and COM are loaded then, never at start-up.
LRESULT MainWindow::OnGetObject(HWND window, WPARAM flags, LPARAM objectId) {
  // The object id is a signed 32-bit number, whatever the width of LPARAM.
  if (static_cast<LONG>(objectId) == OBJID_CLIENT && AccessibleModel() != nullptr) {
    if (const AccessibilityFunctions* functions = AccessibilityFromSystemFolder()) {
      if (!accessible_) accessible_.reset(new (std::nothrow) AccessibleClient(*this, *functions));
      if (accessible_) {
        return functions->lresultFromObject(__uuidof(IAccessible), flags, accessible_.get());
      }
    }
  }
  return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
}

bool MainWindow::FocusAccessibleChild(int child) {
  bool focused = false;
  Deliver([&] {
    if (AccessibleWindow* model = events_->Accessible()) {
      model->Focus(child);
      focused = true;
    }
  });
  return focused;
}

// What a reader pressed, as a click would: what the handler throws goes to the message loop.
void MainWindow::OnAccessiblePress(int child) {
  Deliver([&] {
    if (AccessibleWindow* model = events_->Accessible()) model->Press(child);
  });
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
  event.modifiers = ((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) |
                    (GetKeyState(VK_MENU) < 0 ? 4 : 0);
  Deliver([&] { events_->OnPointer(event); });
}

}  // namespace rt::win32

// The menu's window: its classes, its creation beside the invisible owner, and the services the
// platform hands over to it.
#include "Win32Window.h"

#include <utility>

#include "Win32Region.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"MenuOwnerWindow";
constexpr wchar_t kWindowClass[] = L"MenuWindow";

// The window of half-transparent pixels is seen, never touched: the pointer passes through it and
// a click never activates it.
LRESULT CALLBACK SoftWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(window, message, wParam, lParam);
}

struct WindowIcons {
  unique_hicon big;
  unique_hicon small;
};

// The two classes are registered once per process and keep their icons as long as the process:
// the window shows the class's icons, in both sizes, without being handed its own. False, with
// what the system said, where it refuses them.
bool RegisterClassesOnce(HINSTANCE instance, int iconResource, SystemError& error) {
  static WindowIcons icons;
  static bool registered = false;
  if (registered) return true;
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
  WNDCLASSEXW soft = owner;
  soft.lpfnWndProc = SoftWindowProc;
  soft.lpszClassName = kSoftPixelsClass;
  if (RegisterClassExW(&owner) == 0 || RegisterClassExW(&main) == 0 ||
      RegisterClassExW(&soft) == 0) {
    error = LastSystemError();
    return false;
  }
  registered = true;
  return true;
}

}  // namespace

bool MainWindow::Create(const WindowLayout& layout, WindowEvents& events, SystemError& error) {
  if (!RegisterClassesOnce(instance_, layout.iconResource, error)) return false;
  events_ = &events;
  // The invisible owner keeps the window off the taskbar; Alt+Tab still reaches the window.
  owner_.reset(CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance_, nullptr));
  if (owner_) {
    window_.reset(CreateWindowExW(0, kWindowClass, layout.title.c_str(), WS_POPUP, layout.left,
                                  layout.top, layout.width, layout.height, owner_.get(), nullptr,
                                  instance_, this));
  }
  if (!window_) {
    error = LastSystemError();
    events_ = nullptr;
    owner_.reset();
    return false;
  }
  // Keyboard cues start as the last input left them, as in a dialog: hidden after a mouse click.
  SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  events.OnFocusCues(FocusCuesOn());
  return true;
}

void MainWindow::Destroy() {
  events_ = nullptr;
  tooltips_.Destroy();
  accessible_.reset();
  soft_.reset();
  window_.reset();  // its WM_DESTROY ends the message loop
  owner_.reset();
}

void MainWindow::Show(bool visible) {
  if (!window_) return;
  // Painted when messages are next processed, not here: the first show is hidden again before
  // that, so the pictures it holds then are never drawn, and the last show is drawn once, with
  // the button pictures loaded after it.
  ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
  PlaceSoft();
}

void MainWindow::Resize(int width, int height) {
  if (!window_) return;
  SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Invalidate(const PixelRect& area) {
  if (!window_) return;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  if (!Layered()) {
    InvalidateRect(Handle(), &rect, FALSE);
    return;
  }
  // A layered window that has handed over its image is not sent WM_PAINT again (Wine), so it asks
  // itself to paint, once for everything invalidated meanwhile.
  UnionRect(&layerPending_, &layerPending_, &rect);
  if (!layerPaintPosted_) layerPaintPosted_ = PostMessageW(Handle(), kLayeredPaintMessage, 0, 0);
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

void MainWindow::SetRegion(Region region) {
  auto* data = static_cast<Win32Region*>(region.Data());
  if (data == nullptr || !window_) return;
  // Once the system has the region it is the system's; if it refused, ours is deleted here.
  if (SetWindowRgn(Handle(), data->Handle().get(), TRUE)) {
    data->Handle().release();
  }
}

void MainWindow::SetAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                          AlphaDrawing drawing) {
  if (!window_) return;
  const bool given =
      width > 0 && height > 0 && !alpha.empty() &&
      alpha.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const bool wasLayered = Layered();
  alpha_.clear();
  layer_.reset();  // painted afresh, whole
  layerPending_ = {};
  if (given) {
    alpha_ = std::move(alpha);
    alphaWidth_ = width;
    apart_ = drawing == AlphaDrawing::kSoftBehind;
  }
  if (!given || !apart_) soft_.reset();
  if (Layered() != wasLayered) {
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                      wasLayered ? style & ~WS_EX_LAYERED : style | WS_EX_LAYERED);
    // Drawn as an ordinary window again: all of it.
    if (wasLayered) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  }
  if (Layered()) {
    Invalidate({0, 0, width, height});
  } else if (given && !softPaintPosted_) {
    // Drawn once the window has painted itself, with what it shows then.
    softPaintPosted_ = PostMessageW(Handle(), kSoftPaintMessage, 0, 0);
  }
}

void MainWindow::PlaceSoft() {
  if (!soft_ || !window_) return;
  if (!IsWindowVisible(Handle())) {
    ShowWindow(soft_.get(), SW_HIDE);
    return;
  }
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  SetWindowPos(soft_.get(), Handle(), rect.left, rect.top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MainWindow::RethrowPending() {
  if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

void MainWindow::ShowFocusCues() {
  if (window_) SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool MainWindow::FocusCuesOn() const {
  return window_ && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

AccessibleWindow* MainWindow::AccessibleModel() const {
  return window_ && events_ != nullptr ? events_->Accessible() : nullptr;
}

void MainWindow::AnnounceFocus(int child) {
  if (window_) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, child + 1);
}

}  // namespace rt::win32

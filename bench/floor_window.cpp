// The floor under the menu's start-up: the window work its design orders, with no pictures and no
// files. The work area and the screen's scale asked for, an owned 799 x 600 popup centred in it,
// shown, hidden, pending messages processed, sized to 800 x 600 (twice, width then
// height, as the menu sizes it), given a four-corner outline and shown twice (the load handler's
// show and Main's), then the message loop until it is closed. With the argument "phases" it prints
// the milliseconds each of those steps took, one line a step as startup_phases.exe prints them, and
// ends after the last show.
#include <windows.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "Timing.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"FloorOwnerWindow";
constexpr wchar_t kWindowClass[] = L"FloorWindow";
constexpr int kDesignWidth = 799;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The demo skin's corners are rounded with this radius: its outline has as many bands as this one.
constexpr int kCornerRadius = 30;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The window less a quarter circle at each corner, as bands of rows with the same extent, made
// with one ExtCreateRegion call as the menu makes its outline. Plain arrays: no part of the C++
// library comes along that would make this program larger than the menu.
HRGN RoundedOutline() {
  struct Data {
    RGNDATAHEADER header;
    std::array<RECT, kHeight> rects;
  };
  static Data data{};
  auto inset = [](int row) {  // row counted from the nearest edge
    if (row >= kCornerRadius) return 0;
    const double dy = kCornerRadius - row - 0.5;
    return static_cast<int>(
        std::lround(kCornerRadius - std::sqrt(kCornerRadius * kCornerRadius - dy * dy)));
  };
  DWORD count = 0;
  for (int y = 0; y < kHeight; ++y) {
    const int in = inset(y < kHeight / 2 ? y : kHeight - 1 - y);
    if (count > 0 && data.rects[count - 1].left == in) {
      data.rects[count - 1].bottom = y + 1;
    } else {
      data.rects[count++] = RECT{in, y, kWidth - in, y + 1};
    }
  }
  data.header.dwSize = sizeof(RGNDATAHEADER);
  data.header.iType = RDH_RECTANGLES;
  data.header.nCount = count;
  data.header.nRgnSize = count * sizeof(RECT);
  data.header.rcBound = RECT{0, 0, kWidth, kHeight};
  return ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER)) + data.header.nRgnSize,
                         reinterpret_cast<const RGNDATA*>(&data));
}

// Adds up the calls and the time of each step when asked to; otherwise only runs it.
class Steps {
 public:
  explicit Steps(bool timed) : timed_(timed) {}

  template <typename F>
  void Run(const char* name, F&& step) {
    const double start = timed_ ? bench::Now() : 0;
    step();
    if (!timed_) return;
    std::size_t at = 0;
    while (at < used_ && std::strcmp(spent_[at].name, name) != 0) ++at;
    if (at == spent_.size()) return;  // more steps than places: not timed
    if (at == used_) spent_[used_++].name = name;
    ++spent_[at].calls;
    spent_[at].seconds += bench::Now() - start;
  }

  // One line a step: name, calls, milliseconds.
  void Print() const {
    for (std::size_t at = 0; at < used_; ++at) {
      std::printf("%s\t%d\t%.3f\n", spent_[at].name, spent_[at].calls, spent_[at].seconds * 1000);
    }
  }

 private:
  struct Spent {
    const char* name = nullptr;
    int calls = 0;
    double seconds = 0;
  };
  bool timed_;
  std::array<Spent, 16> spent_{};
  std::size_t used_ = 0;
};

// As the menu shows its window: painted when messages are next processed.
void Show(HWND window) { ShowWindow(window, SW_SHOW); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const bool timed = std::wcsstr(commandLine, L"phases") != nullptr;
  const double start = bench::Now();
  Steps steps(timed);
  WNDCLASSEXW owner{};
  owner.cbSize = sizeof(owner);
  owner.lpfnWndProc = DefWindowProcW;
  owner.hInstance = instance;
  owner.lpszClassName = kOwnerClass;
  WNDCLASSEXW main = owner;
  main.lpfnWndProc = WindowProc;
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  main.lpszClassName = kWindowClass;

  // The window is centred in the work area at the scale that fits: both are asked first, as the
  // menu asks them before it makes its window.
  RECT work{};
  steps.Run("WorkArea", [&] {
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
  });
  steps.Run("ScreenDpi", [&] {
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
      GetDeviceCaps(screen, LOGPIXELSX);
      ReleaseDC(nullptr, screen);
    }
  });
  HWND ownerWindow = nullptr;
  HWND window = nullptr;
  steps.Run("CreateMainWindow", [&] {
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (RegisterClassExW(&owner) == 0 || RegisterClassExW(&main) == 0) return;
    ownerWindow = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - kDesignWidth) / 2;
    const int y = work.top + (work.bottom - work.top - kHeight) / 2;
    if (ownerWindow != nullptr) {
      window = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, x, y, kDesignWidth, kHeight,
                               ownerWindow, nullptr, instance, nullptr);
    }
    if (window != nullptr) {
      SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    }
  });
  if (window == nullptr) return 1;
  steps.Run("ShowMainWindow (show)", [&] { Show(window); });
  steps.Run("ShowMainWindow (hide)", [&] { ShowWindow(window, SW_HIDE); });
  steps.Run("DoEvents", [&] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  });
  for (int i = 0; i < 2; ++i) {
    steps.Run("ResizeMainWindow", [&] {
      SetWindowPos(window, nullptr, 0, 0, kWidth, kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
  }
  HRGN region = nullptr;
  steps.Run("CreateRegion", [&] { region = RoundedOutline(); });
  steps.Run("SetWindowRgn", [&] {
    if (region != nullptr && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
  });
  steps.Run("ShowMainWindow (show)", [&] { Show(window); });
  steps.Run("ShowMainWindow (show)", [&] { Show(window); });
  if (timed) {
    steps.Print();
    std::printf("Main in all\t-\t%.3f\n", (bench::Now() - start) * 1000);
    DestroyWindow(ownerWindow);
    return 0;
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyWindow(ownerWindow);
  return 0;
}

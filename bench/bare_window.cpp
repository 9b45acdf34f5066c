// The yardstick for the menu's start-up: the least a Win32 program does to show the same kind of
// window. One empty 800 x 600 popup, centred on the screen and owned by a hidden window so that it
// has no taskbar button, shown and painted once, then the message loop until it is closed.
#include <windows.h>

namespace {

constexpr wchar_t kOwnerClass[] = L"BareOwnerWindow";
constexpr wchar_t kWindowClass[] = L"BareWindow";
constexpr int kWidth = 800;
constexpr int kHeight = 600;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW owner{};
  owner.cbSize = sizeof(owner);
  owner.lpfnWndProc = DefWindowProcW;
  owner.hInstance = instance;
  owner.lpszClassName = kOwnerClass;
  WNDCLASSEXW main = owner;
  main.lpfnWndProc = WindowProc;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  main.lpszClassName = kWindowClass;
  if (RegisterClassExW(&owner) == 0 || RegisterClassExW(&main) == 0) return 1;

  HWND ownerWindow = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     instance, nullptr);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, x, y, kWidth, kHeight, ownerWindow,
                                nullptr, instance, nullptr);
  if (ownerWindow == nullptr || window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyWindow(ownerWindow);
  return 0;
}

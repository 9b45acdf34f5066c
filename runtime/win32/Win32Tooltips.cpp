// Tooltips with the common controls' tooltip class, one tool per area of the window.
#include "Win32Tooltips.h"

#include <commctrl.h>

namespace rt::win32 {

bool Tooltips::MakeControl(HWND owner, HINSTANCE instance) {
  if (control_) return true;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const InitFunction init = [] {
    HMODULE controls = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (controls == nullptr) controls = LoadLibraryW(L"comctl32.dll");  // systems without the flag
    FARPROC found =
        controls != nullptr ? GetProcAddress(controls, "InitCommonControlsEx") : nullptr;
    return reinterpret_cast<InitFunction>(reinterpret_cast<void (*)()>(found));
  }();
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  if (init == nullptr || !init(&classes)) return false;
  control_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 instance, nullptr));
  return static_cast<bool>(control_);
}

void Tooltips::Set(HWND owner, HINSTANCE instance, int id, const PixelRect& area,
                   const std::wstring& text) {
  // A tooltip that cannot be shown is not worth ending the menu for: the button still works.
  if (owner == nullptr || !MakeControl(owner, instance)) return;
  TTTOOLINFOW tool{};
  // The size every version of the control takes (later fields are for version 6 only).
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = static_cast<UINT_PTR>(id);
  tool.rect = RECT{area.left, area.top, area.right, area.bottom};
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  const LPARAM info = reinterpret_cast<LPARAM>(&tool);
  if (text.empty()) {
    if (tools_.erase(id) != 0) SendMessageW(control_.get(), TTM_DELTOOLW, 0, info);
  } else if (tools_.insert(id).second) {
    SendMessageW(control_.get(), TTM_ADDTOOLW, 0, info);
  } else {
    SendMessageW(control_.get(), TTM_NEWTOOLRECTW, 0, info);
    SendMessageW(control_.get(), TTM_UPDATETIPTEXTW, 0, info);
  }
}

}  // namespace rt::win32

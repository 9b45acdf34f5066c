// The system's tooltip control over the menu's window, made when the first tooltip is given: the
// common controls are loaded from the system folder then, never at start-up.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "Geometry.h"
#include "Handles.h"

namespace rt::win32 {

class Tooltips {
 public:
  // Shows `text` over `area` of `owner` (client pixels) after the system's hover delay, as tool
  // `id`; an empty text takes the tool away.
  void Set(HWND owner, HINSTANCE instance, int id, const PixelRect& area, const std::wstring& text);
  // Before the owner goes: the control is the owner's popup.
  void Destroy() { control_.reset(); }

 private:
  bool MakeControl(HWND owner, HINSTANCE instance);

  unique_hwnd control_;
  std::set<int> tools_;
};

}  // namespace rt::win32

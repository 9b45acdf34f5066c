// Move-only owners of GDI objects and device contexts; borrowed and owned DCs are different types.
#pragma once

#include <windows.h>

#include <utility>

namespace rt::win32 {

// Owns one handle and frees it with Traits::Free; never copied, so never freed twice.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Hands the handle over to whoever takes charge of it now (the system, after SetWindowRgn).
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct RegionTraits {
  using Handle = HRGN;
  static void Free(HRGN h) { DeleteObject(h); }
};
struct BitmapTraits {
  using Handle = HBITMAP;
  static void Free(HBITMAP h) { DeleteObject(h); }
};
struct DcTraits {
  using Handle = HDC;
  static void Free(HDC h) { DeleteDC(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static void Free(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
struct IconTraits {
  using Handle = HICON;
  static void Free(HICON h) { DestroyIcon(h); }
};

using unique_hrgn = UniqueHandle<RegionTraits>;
using unique_hbitmap = UniqueHandle<BitmapTraits>;
using unique_hdc = UniqueHandle<DcTraits>;  // from CreateCompatibleDC
using unique_handle = UniqueHandle<FileTraits>;
using unique_hicon = UniqueHandle<IconTraits>;

// A DC borrowed from a window with GetDC; given back with ReleaseDC, never deleted.
class unique_hdc_window {
 public:
  explicit unique_hdc_window(HWND window) : window_(window), dc_(GetDC(window)) {}
  unique_hdc_window(const unique_hdc_window&) = delete;
  unique_hdc_window& operator=(const unique_hdc_window&) = delete;
  ~unique_hdc_window() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The DC of one WM_PAINT; ended with EndPaint.
class unique_hdc_paint {
 public:
  explicit unique_hdc_paint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  unique_hdc_paint(const unique_hdc_paint&) = delete;
  unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
  ~unique_hdc_paint() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes.
class unique_select_object {
 public:
  unique_select_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  unique_select_object(const unique_select_object&) = delete;
  unique_select_object& operator=(const unique_select_object&) = delete;
  ~unique_select_object() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace rt::win32

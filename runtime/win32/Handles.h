// Move-only owners of Win32 handles, each freed the way its API frees it and empty as its API
// says "none"; borrowed and owned device contexts are different types.
#pragma once

#include <windows.h>

#include <utility>

namespace rt::win32 {

// Owns one handle and frees it with Traits::Free; never copied, so never freed twice. The empty
// value is Traits::Empty(), the value the API itself returns for "none".
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
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  // Hands the handle over to whoever takes charge of it now (the system, after SetWindowRgn).
  Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) {
    if (handle_ != Traits::Empty()) Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Empty();
};

template <typename H>
struct NullEmpty {
  using Handle = H;
  static Handle Empty() { return nullptr; }
};

struct RegionTraits : NullEmpty<HRGN> {
  static void Free(HRGN h) { DeleteObject(h); }
};
struct BitmapTraits : NullEmpty<HBITMAP> {
  static void Free(HBITMAP h) { DeleteObject(h); }
};
struct DcTraits : NullEmpty<HDC> {
  static void Free(HDC h) { DeleteDC(h); }
};
struct IconTraits : NullEmpty<HICON> {
  static void Free(HICON h) { DestroyIcon(h); }
};
struct WindowTraits : NullEmpty<HWND> {
  static void Free(HWND h) { DestroyWindow(h); }
};
struct ProcessTraits : NullEmpty<HANDLE> {
  static void Free(HANDLE h) { CloseHandle(h); }
};
// CreateFileW answers "none" with INVALID_HANDLE_VALUE, not null.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { CloseHandle(h); }
};

// A registry key. The registry's functions are loaded when first needed, so the one that closes
// a key is known only then; no key is opened before it is.
struct RegistryKeyTraits : NullEmpty<HKEY> {
  static inline LONG(WINAPI* close)(HKEY) = nullptr;
  static void Free(HKEY h) { close(h); }
};

using unique_hrgn = UniqueHandle<RegionTraits>;
using unique_hbitmap = UniqueHandle<BitmapTraits>;
using unique_hdc = UniqueHandle<DcTraits>;  // from CreateCompatibleDC
using unique_hicon = UniqueHandle<IconTraits>;
using unique_hwnd = UniqueHandle<WindowTraits>;
using unique_process = UniqueHandle<ProcessTraits>;  // a process handle, never a file's
using unique_hfile = UniqueHandle<FileTraits>;
using unique_hkey = UniqueHandle<RegistryKeyTraits>;

// A DC borrowed from a window with GetDC; given back with ReleaseDC, never deleted.
class unique_hdc_window {
 public:
  explicit unique_hdc_window(HWND window) : window_(window), dc_(GetDC(window)) {}
  unique_hdc_window(const unique_hdc_window&) = delete;
  unique_hdc_window& operator=(const unique_hdc_window&) = delete;
  unique_hdc_window(unique_hdc_window&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  unique_hdc_window& operator=(unique_hdc_window&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = other.window_;
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~unique_hdc_window() { reset(); }
  HDC get() const { return dc_; }

 private:
  void reset() {
    if (dc_ != nullptr) ReleaseDC(window_, std::exchange(dc_, nullptr));
  }
  HWND window_;
  HDC dc_;
};

// The DC of one WM_PAINT; ended with EndPaint. It belongs to the one message, so it never moves.
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
    // HGDI_ERROR, spelt so that it converts alike in 32- and 64-bit builds.
    const auto failed = reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1));
    if (previous_ != nullptr && previous_ != failed) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace rt::win32

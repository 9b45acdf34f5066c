// The platform over plain Win32. The window procedure only translates messages into the forms
// layer's events; nothing thrown by a handler ever leaves it.
#include "Win32Platform.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <memory>
#include <vector>

#include "BitmapCheck.h"
#include "Decimal.h"
#include "ProgramFolder.h"

namespace rt::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"MenuOwnerWindow";
constexpr wchar_t kWindowClass[] = L"MenuWindow";

// Paths this long need the extended-length form to reach the file system.
constexpr std::size_t kLongPath = MAX_PATH - 12;

// The extended-length form of a long absolute path, so that folders of any depth work.
std::wstring FileSystemPath(const std::wstring& path) {
  if (path.size() < kLongPath || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + path;
  return path;
}

// A path that the shell takes: for a long path its short form where the file system has one,
// else the extended-length form.
std::wstring ShellPath(const std::wstring& path) {
  if (path.size() < kLongPath) return path;
  const std::wstring extended = FileSystemPath(path);
  std::wstring shortPath(32768, L'\0');
  const DWORD length =
      GetShortPathNameW(extended.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  shortPath.resize(length < shortPath.size() ? length : 0);
  if (shortPath.rfind(L"\\\\?\\", 0) == 0 && shortPath.rfind(L"\\\\?\\UNC\\", 0) != 0) {
    shortPath.erase(0, 4);
  }
  return !shortPath.empty() && shortPath.size() < MAX_PATH ? shortPath : extended;
}

// Decodes an uncompressed picture from the bytes already read and checked: the header, masks and
// palette as the file has them, the pixels copied as they are.
HBITMAP DecodeUncompressed(const std::vector<std::uint8_t>& file, const BitmapCheckResult& check) {
  if (check.headerSize < sizeof(BITMAPINFOHEADER) || check.pixelBytes == 0 ||
      (check.compression != BI_RGB && check.compression != BI_BITFIELDS)) {
    return nullptr;
  }
  // Header, colour masks and palette, copied to memory aligned for the system.
  constexpr std::size_t kFileHeader = 14;
  std::vector<std::uint32_t> info((check.infoEnd - kFileHeader + 3) / 4 + 1, 0);
  std::memcpy(info.data(), file.data() + kFileHeader, check.infoEnd - kFileHeader);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return bitmap;
  std::memcpy(bits, file.data() + check.pixelOffset, check.pixelBytes);
  return bitmap;
}

// The program's name as the user sees it: its file name without the extension.
std::wstring ProgramName() {
  std::wstring name = ModulePath();
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.erase(dot);
  return name.empty() ? L"Menu" : name;
}

RunTimeError PictureError(int number, const std::wstring& path, std::wstring detail = {}) {
  return RunTimeError(number, L"Could not load the picture", path, std::move(detail));
}

RunTimeError WithLastError(RunTimeError error, DWORD code) {
  if (code != 0) error.WithSystemError(code, SystemErrorText(code));
  return error;
}

// Reads a whole file; a missing or unreadable file raises the matching run-time error.
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
  const std::wstring name = FileSystemPath(path);
  unique_handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                         code == ERROR_BAD_NETPATH || code == ERROR_INVALID_NAME;
    throw WithLastError(PictureError(missing ? kErrFileNotFound : kErrPathFileAccess, path), code);
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    throw WithLastError(PictureError(kErrPathFileAccess, path), GetLastError());
  }
  // No picture the menu can show comes near this; anything larger is not one of its pictures.
  constexpr LONGLONG kMaxFile = 512ll * 1024 * 1024;
  if (size.QuadPart > kMaxFile) {
    throw PictureError(kErrInvalidPicture, path, L"The file is too large to be a picture.");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) {
      throw WithLastError(PictureError(kErrPathFileAccess, path), GetLastError());
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

class Win32Picture : public PictureData {
 public:
  Win32Picture(unique_hbitmap bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HBITMAP Bitmap() const { return bitmap_.get(); }

  void ReadPixels(const PixelRect& area, std::uint32_t* out) const override {
    const PixelRect part = Intersect(area, {0, 0, width_, height_});
    if (part.Empty()) return;
    const std::size_t stride = static_cast<std::size_t>(area.Width());
    std::uint32_t* first = out + static_cast<std::size_t>(part.top - area.top) * stride +
                           static_cast<std::size_t>(part.left - area.left);
    if (!ReadDirect(part, first, stride)) ReadConverted(part, first, stride);
  }

 private:
  static std::uint32_t ColourValue(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
  }

  // A 24- or 32-bit picture is read straight from the memory the decoder filled.
  bool ReadDirect(const PixelRect& part, std::uint32_t* out, std::size_t outStride) const {
    DIBSECTION section{};
    if (GetObjectW(bitmap_.get(), sizeof(section), &section) != sizeof(section)) return false;
    const BITMAP& bm = section.dsBm;
    const int bits = bm.bmBitsPixel;
    if (bm.bmBits == nullptr || (bits != 24 && bits != 32) || bm.bmWidth != width_ ||
        section.dsBmih.biCompression != BI_RGB) {
      return false;
    }
    GdiFlush();  // drawing into the section must be finished before its bytes are read
    const auto* base = static_cast<const std::uint8_t*>(bm.bmBits);
    const bool bottomUp = section.dsBmih.biHeight > 0;
    const std::size_t stride = static_cast<std::size_t>(bm.bmWidthBytes);
    const std::size_t step = static_cast<std::size_t>(bits / 8);
    for (int y = part.top; y < part.bottom; ++y) {
      const std::size_t row = static_cast<std::size_t>(bottomUp ? height_ - 1 - y : y);
      const std::uint8_t* source = base + row * stride + static_cast<std::size_t>(part.left) * step;
      std::uint32_t* target = out + static_cast<std::size_t>(y - part.top) * outStride;
      for (int x = part.left; x < part.right; ++x, source += step) {
        *target++ = ColourValue(source[0], source[1], source[2]);
      }
    }
    return true;
  }

  // Any other picture is converted to 32 bits by the system first, a band of rows at a time.
  void ReadConverted(const PixelRect& part, std::uint32_t* out, std::size_t outStride) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_;  // bottom-up: scan line 0 is the picture's last row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::size_t width = static_cast<std::size_t>(width_);
    const int rowCount = part.Height();
    std::vector<std::uint32_t> rows(width * static_cast<std::size_t>(rowCount));
    unique_hdc_window screen(nullptr);
    const int lines =
        GetDIBits(screen.get(), bitmap_.get(), static_cast<UINT>(height_ - part.bottom),
                  static_cast<UINT>(rowCount), rows.data(), &info, DIB_RGB_COLORS);
    // Unreadable pixels count as not black, as points outside the bitmap do.
    if (lines != rowCount) std::fill(rows.begin(), rows.end(), 0x00FFFFFFu);
    for (int y = part.top; y < part.bottom; ++y) {
      const std::uint32_t* source =
          rows.data() + width * static_cast<std::size_t>(part.bottom - 1 - y);
      std::uint32_t* target = out + static_cast<std::size_t>(y - part.top) * outStride;
      for (int x = part.left; x < part.right; ++x) {
        const std::uint32_t v = source[x];  // DIB bytes blue, green, red
        *target++ = ColourValue(static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                static_cast<std::uint8_t>(v >> 16));
      }
    }
  }

  unique_hbitmap bitmap_;
  int width_;
  int height_;
};

Picture MakePicture(HBITMAP handle) {
  unique_hbitmap bitmap(handle);
  BITMAP info{};
  if (GetObjectW(bitmap.get(), sizeof(info), &info) == 0) return Picture();
  return Picture(std::make_unique<Win32Picture>(std::move(bitmap), static_cast<int>(info.bmWidth),
                                                static_cast<int>(info.bmHeight)));
}

class Win32Region : public RegionData {
 public:
  explicit Win32Region(HRGN region) : region_(region) {}
  unique_hrgn& Handle() { return region_; }

 private:
  unique_hrgn region_;
};

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

}  // namespace

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? L"Unknown error" : text;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {}

Win32Platform::~Win32Platform() {
  events_ = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
  if (owner_ != nullptr) DestroyWindow(owner_);
}

std::wstring Win32Platform::ProgramFolder() { return FolderOfModulePath(ModulePath()); }

Picture Win32Platform::LoadPicture(const std::wstring& path) {
  // The file is checked by its headers first: the decoder is only given files it can handle.
  const std::vector<std::uint8_t> file = ReadWholeFile(path);
  const BitmapCheckResult check = CheckBitmapFile(file);
  if (!check.ok) {
    std::wstring reason = check.reason;
    if (!reason.empty()) reason[0] = static_cast<wchar_t>(std::towupper(reason[0]));
    throw PictureError(kErrInvalidPicture, path, reason + L".");
  }
  // Pixels stored uncompressed go straight from the bytes already read into the bitmap that is
  // painted, without the decoder opening and reading the file a second time (which it could only
  // do by a path of the classic length, too). Compressed and core-header files go to the decoder.
  HANDLE loaded = DecodeUncompressed(file, check);
  if (loaded == nullptr) {
    const std::wstring name = FileSystemPath(path);
    loaded = LoadImageW(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0,
                        LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  }
  if (loaded == nullptr) {
    throw WithLastError(PictureError(kErrInvalidPicture, path, L"The system could not decode it."),
                        GetLastError());
  }
  Picture picture = MakePicture(static_cast<HBITMAP>(loaded));
  if (!picture) throw PictureError(kErrInvalidPicture, path, L"The system could not decode it.");
  return picture;
}

Picture Win32Platform::LoadResourcePicture(int resourceId) {
  HANDLE loaded =
      LoadImageW(instance_, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (loaded == nullptr) {
    throw WithLastError(RunTimeError(kErrInvalidPicture, L"Could not load the picture",
                                     L"resource " + rt::DecimalText(resourceId)),
                        GetLastError());
  }
  return MakePicture(static_cast<HBITMAP>(loaded));
}

template <typename F>
void Win32Platform::Deliver(F&& handler) {
  if (pending_ || failed_ || events_ == nullptr) return;
  try {
    handler();
  } catch (...) {
    pending_ = std::current_exception();
  }
}

void Win32Platform::RethrowPending() {
  if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

void Win32Platform::DoEvents() {
  MSG message;
  while (!quit_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_ = true;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    RethrowPending();
  }
  RethrowPending();
}

void Win32Platform::RunMessageLoop() {
  MSG message;
  while (!quit_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    RethrowPending();
  }
  quit_ = true;
  RethrowPending();
}

void Win32Platform::ReportRunTimeError(const RunTimeError& error) {
  const std::wstring text = FormatErrorReport(error);
  const std::wstring title = ProgramName();
  // The window stays as the user saw it while the message is up, but takes no input.
  pending_ = nullptr;
  failed_ = true;
  HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
  MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void Win32Platform::CreateMainWindow(const WindowLayout& layout, WindowEvents& events) {
  bigIcon_.reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(layout.iconResource), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(layout.iconResource),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));

  WNDCLASSEXW owner{};
  owner.cbSize = sizeof(owner);
  owner.lpfnWndProc = DefWindowProcW;
  owner.hInstance = instance_;
  owner.hIcon = bigIcon_.get();
  owner.hIconSm = smallIcon_.get();
  owner.lpszClassName = kOwnerClass;
  WNDCLASSEXW main = owner;
  main.style = CS_OWNDC;  // the window keeps one DC of its own: its hDC
  main.lpfnWndProc = WindowProc;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.lpszClassName = kWindowClass;
  if (RegisterClassExW(&owner) == 0 || RegisterClassExW(&main) == 0) {
    throw WithLastError(RunTimeError(kErrOutOfMemory, L"Could not create the window", L"frmMain"),
                        GetLastError());
  }

  events_ = &events;
  // The invisible owner keeps the window off the taskbar; Alt+Tab still reaches the window.
  owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                           nullptr);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
  window_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, x, y, layout.width, layout.height,
                            owner_, nullptr, instance_, this);
  if (owner_ == nullptr || window_ == nullptr) {
    const DWORD code = GetLastError();
    events_ = nullptr;
    throw WithLastError(RunTimeError(kErrOutOfMemory, L"Could not create the window", L"frmMain"),
                        code);
  }
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  windowDC_ = GetDC(window_);
}

void Win32Platform::ShowMainWindow(bool visible) {
  if (window_ == nullptr) return;
  ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
  if (visible) UpdateWindow(window_);
}

void Win32Platform::ResizeMainWindow(int width, int height) {
  if (window_ == nullptr) return;
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Platform::Invalidate(const PixelRect& area) {
  if (window_ == nullptr) return;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  InvalidateRect(window_, &rect, FALSE);
}

void Win32Platform::DestroyMainWindow() {
  events_ = nullptr;
  if (window_ != nullptr) {
    if (windowDC_ != nullptr) ReleaseDC(window_, windowDC_);
    windowDC_ = nullptr;
    DestroyWindow(window_);  // its WM_DESTROY ends the message loop
    window_ = nullptr;
  }
  if (owner_ != nullptr) {
    DestroyWindow(owner_);
    owner_ = nullptr;
  }
}

NativeHandle Win32Platform::WindowHandle() const { return reinterpret_cast<NativeHandle>(window_); }
NativeHandle Win32Platform::WindowDC() const { return reinterpret_cast<NativeHandle>(windowDC_); }

void Win32Platform::SetMouseCapture(bool captured) {
  if (captured && window_ != nullptr) {
    SetCapture(window_);
  } else if (!captured && GetCapture() == window_) {
    ReleaseCapture();
  }
}

void Win32Platform::DragMainWindow() {
  if (window_ == nullptr) return;
  // The position of the press that started this, in screen coordinates.
  const DWORD position = GetMessagePos();
  ReleaseCapture();
  SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(position));
}

namespace {

using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// The shell is loaded from the system folder when it is first needed, not at start-up: loaded
// with the program it would bring its own dependencies along from wherever the search finds them
// first, the program's folder included.
ShellExecuteExFunction ShellExecuteFromSystemFolder() {
  static const ShellExecuteExFunction function = [] {
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (shell == nullptr) shell = LoadLibraryW(L"shell32.dll");  // systems without the flag
    FARPROC found = shell != nullptr ? GetProcAddress(shell, "ShellExecuteExW") : nullptr;
    return reinterpret_cast<ShellExecuteExFunction>(reinterpret_cast<void (*)()>(found));
  }();
  return function;
}

}  // namespace

void Win32Platform::StartProgram(const StartRequest& request) {
  const ShellExecuteExFunction shellExecute = ShellExecuteFromSystemFolder();
  if (shellExecute == nullptr) {
    throw WithLastError(
        RunTimeError(kErrFileNotFound, L"Could not start the program", request.program),
        GetLastError());
  }
  // The shell takes paths of the classic length only.
  const std::wstring program = ShellPath(request.program);
  const std::wstring folder = ShellPath(request.workingFolder);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = window_;
  info.lpFile = program.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = request.minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
  if (!shellExecute(&info)) {
    const DWORD code = GetLastError();
    const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
    const int number = missing ? kErrFileNotFound
                       : code == ERROR_ACCESS_DENIED || code == ERROR_CANCELLED
                           ? kErrPathFileAccess
                           : kErrInvalidProcedureCall;
    throw WithLastError(RunTimeError(number, L"Could not start the program", request.program),
                        code);
  }
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
}

Region Win32Platform::CreateRegion(const std::vector<PixelRect>& rects) {
  HRGN region = nullptr;
  if (rects.empty()) {
    region = CreateRectRgn(0, 0, 0, 0);
  } else {
    // One region made in one go from all its rectangles.
    const std::size_t size = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
    std::vector<std::uint32_t> buffer((size + 3) / 4);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    PixelRect bound{};
    for (const PixelRect& r : rects) {
      *out++ = RECT{r.left, r.top, r.right, r.bottom};
      bound = Union(bound, r);
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = RECT{bound.left, bound.top, bound.right, bound.bottom};
    region = ExtCreateRegion(nullptr, static_cast<DWORD>(size), data);
  }
  if (region == nullptr) {
    throw RunTimeError(kErrOutOfMemory, L"Could not make the window's outline", L"frmMain");
  }
  return Region(std::make_unique<Win32Region>(region));
}

void Win32Platform::SetWindowRgn(NativeHandle window, Region region, bool redraw) {
  auto* data = static_cast<Win32Region*>(region.Data());
  if (data == nullptr) return;
  // Once the system has the region it is the system's; if it refused, ours is deleted here.
  if (::SetWindowRgn(reinterpret_cast<HWND>(window), data->Handle().get(), redraw ? TRUE : FALSE)) {
    data->Handle().release();
  }
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_DESTROY) {
    if (window == self->window_) {
      self->window_ = nullptr;
      self->events_ = nullptr;
    }
    PostQuitMessage(0);
    return 0;
  }
  if (window != self->window_) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Platform::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers everything; erasing first would flicker
    case WM_MOUSEMOVE:
      OnPointer(PointerAction::kMove, MouseButton::kNone, wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnPointer(PointerAction::kDown, MouseButton::kLeft, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnPointer(PointerAction::kDown, MouseButton::kRight, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnPointer(PointerAction::kDown, MouseButton::kMiddle, wParam, lParam);
      return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      OnPointer(PointerAction::kDown,
                GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? MouseButton::kX1 : MouseButton::kX2,
                wParam, lParam);
      return TRUE;
    case WM_LBUTTONUP:
      OnPointer(PointerAction::kUp, MouseButton::kLeft, wParam, lParam);
      return 0;
    case WM_RBUTTONUP:
      OnPointer(PointerAction::kUp, MouseButton::kRight, wParam, lParam);
      return 0;
    case WM_MBUTTONUP:
      OnPointer(PointerAction::kUp, MouseButton::kMiddle, wParam, lParam);
      return 0;
    case WM_XBUTTONUP:
      OnPointer(PointerAction::kUp,
                GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? MouseButton::kX1 : MouseButton::kX2,
                wParam, lParam);
      return TRUE;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_) Deliver([&] { events_->OnCaptureLost(); });
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void Win32Platform::OnPaint() {
  unique_hdc_paint paint(window_);
  const RECT& area = paint.area();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || events_ == nullptr) return;
  // Everything is drawn off-screen and copied in one go, so nothing flickers.
  unique_hdc buffer(CreateCompatibleDC(paint.get()));
  unique_hbitmap image(CreateCompatibleBitmap(paint.get(), width, height));
  if (!buffer || !image) return;
  {
    unique_select_object selected(buffer.get(), image.get());
    SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
    {
      Win32Painter painter(buffer.get());
      const PixelRect part{area.left, area.top, area.right, area.bottom};
      try {
        events_->OnPaint(painter, part);
      } catch (...) {
        if (!pending_) pending_ = std::current_exception();
      }
    }
    SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
    BitBlt(paint.get(), area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
  }
}

void Win32Platform::OnPointer(PointerAction action, MouseButton button, WPARAM wParam,
                              LPARAM lParam) {
  PointerEvent event;
  event.action = action;
  event.button = button;
  event.x = GET_X_LPARAM(lParam);
  event.y = GET_Y_LPARAM(lParam);
  const WPARAM keys = GET_KEYSTATE_WPARAM(wParam);
  event.buttons = ((keys & MK_LBUTTON) ? static_cast<int>(MouseButton::kLeft) : 0) |
                  ((keys & MK_RBUTTON) ? static_cast<int>(MouseButton::kRight) : 0) |
                  ((keys & MK_MBUTTON) ? static_cast<int>(MouseButton::kMiddle) : 0) |
                  ((keys & MK_XBUTTON1) ? static_cast<int>(MouseButton::kX1) : 0) |
                  ((keys & MK_XBUTTON2) ? static_cast<int>(MouseButton::kX2) : 0);
  event.shift = ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                (GetKeyState(VK_MENU) < 0 ? 4 : 0);
  Deliver([&] { events_->OnPointer(event); });
}

}  // namespace rt::win32

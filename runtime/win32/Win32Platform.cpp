// The message loop, the processing of pending messages and the error report; the other services
// hand over to the window, the picture and the program files.
#include "Win32Platform.h"

#include "ProgramFolder.h"
#include "Win32Pictures.h"
#include "Win32Png.h"
#include "Win32Programs.h"
#include "Win32Region.h"
#include "Win32System.h"

namespace rt::win32 {

std::wstring Win32Platform::ProgramFolder() { return FolderOfModulePath(ModulePath()); }

Picture Win32Platform::FindResourcePicture(int resourceId, SystemError& error) {
  // The design-time skin is shown twice (by the window and by the top strip): one decode serves.
  auto known = resources_.find(resourceId);
  if (known != resources_.end()) return known->second;
  Picture picture = win32::FindResourcePicture(instance_, resourceId, error);
  if (picture) resources_.emplace(resourceId, picture);
  return picture;
}

std::unique_ptr<ReadableFile> Win32Platform::OpenFile(const std::wstring& path,
                                                      OpenFailure& failure) {
  return win32::OpenFile(path, failure);
}

bool Win32Platform::IsMissing(const std::wstring& path) { return win32::IsMissing(path); }

Picture Win32Platform::CopyPicture(std::span<const std::uint8_t> file,
                                   const BitmapCheckResult& layout, SystemError& error) {
  return win32::CopyPicture(file, layout, error);
}

Picture Win32Platform::DecodeWithSystem(const std::wstring& path, SystemError& error) {
  return win32::DecodeWithSystem(path, error);
}

Picture Win32Platform::DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                                 SystemError& error) {
  return win32::DecodePng(file, layout, error);
}

Picture Win32Platform::MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                                   std::span<const std::uint8_t> alpha) {
  return win32::MakePicture(width, height, pixels, alpha);
}

int Win32Platform::ScreenDpi() { return win32::ScreenDpi(); }

PixelRect Win32Platform::WorkArea() { return win32::WorkArea(); }

std::wstring Win32Platform::LoadResourceString(int id) {
  const wchar_t* text = nullptr;
  // With no buffer, the system hands out the string where it lies in the program's resources.
  const int length =
      LoadStringW(instance_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length))
                                       : std::wstring();
}

std::vector<std::wstring> Win32Platform::PreferredLanguages() {
  return win32::PreferredLanguages();
}

bool Win32Platform::Is64BitSystem() { return win32::Is64BitSystem(); }

void Win32Platform::DoEvents() {
  MSG message;
  while (!quit_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_ = true;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    window_.RethrowPending();
  }
  window_.RethrowPending();
}

void Win32Platform::RunMessageLoop() {
  MSG message;
  while (!quit_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    window_.RethrowPending();
  }
  quit_ = true;
  window_.RethrowPending();
}

void Win32Platform::ReportRunTimeError(const RunTimeError& error, const std::wstring& title) {
  const std::wstring text = FormatErrorReport(error);
  // The window stays as the user saw it while the message is up, but takes no input.
  window_.StopEvents();
  HWND owner =
      window_.Handle() != nullptr && IsWindowVisible(window_.Handle()) ? window_.Handle() : nullptr;
  MessageBoxW(owner, text.c_str(), (title.empty() ? ProgramName() : title).c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void Win32Platform::ShowRunTimeError(const RunTimeError& error, const std::wstring& title) {
  ReportRunTimeError(error, title);
  window_.ResumeEvents();
}

bool Win32Platform::CreateMainWindow(const WindowLayout& layout, WindowEvents& events,
                                     SystemError& error) {
  return window_.Create(layout, events, error);
}

NativeHandle Win32Platform::WindowHandle() const {
  return reinterpret_cast<NativeHandle>(window_.Handle());
}

bool Win32Platform::LaunchProgram(const StartRequest& request, StartFailure& failure) {
  return win32::StartProgram(request, window_.Handle(), failure);
}

Region Win32Platform::CreateRegion(const std::vector<PixelRect>& rects) {
  return win32::CreateRegion(rects);
}

void Win32Platform::SetWindowRgn(Region region) { window_.SetRegion(std::move(region)); }

void Win32Platform::SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                                   AlphaDrawing drawing) {
  window_.SetAlpha(width, height, std::move(alpha), drawing);
}

}  // namespace rt::win32

// Error texts from the system, and the program's own path.
#include "Win32System.h"

namespace rt::win32 {

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

SystemError LastSystemError() {
  const DWORD code = GetLastError();
  if (code == 0) return {};
  return {code, SystemErrorText(code)};
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

std::wstring ProgramName() {
  std::wstring name = ModulePath();
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.erase(dot);
  return name.empty() ? L"Menu" : name;
}

namespace {

// A function of kernel32 that older systems do not have, looked up when first needed.
template <typename Function>
Function Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  FARPROC found = kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

std::vector<std::wstring> PreferredLanguages() {
  using Preferred = BOOL(WINAPI*)(DWORD, PULONG, PZZWSTR, PULONG);
  std::vector<std::wstring> tags;
  if (const auto preferred = Kernel32Function<Preferred>("GetUserPreferredUILanguages")) {
    ULONG count = 0;
    ULONG length = 0;
    if (preferred(MUI_LANGUAGE_NAME, &count, nullptr, &length) && length > 0) {
      std::wstring list(length, L'\0');
      if (preferred(MUI_LANGUAGE_NAME, &count, list.data(), &length)) {
        for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
          const std::size_t end = list.find(L'\0', at);
          tags.push_back(list.substr(at, end - at));
          at = end + 1;
        }
      }
    }
  }
  if (tags.empty()) {
    const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    wchar_t part[16] = {};
    if (GetLocaleInfoW(language, LOCALE_SISO639LANGNAME, part, 16) > 0) {
      std::wstring tag = part;
      if (GetLocaleInfoW(language, LOCALE_SISO3166CTRYNAME, part, 16) > 0) {
        tag += L"-" + std::wstring(part);
      }
      tags.push_back(tag);
    }
  }
  return tags;
}

int ScreenDpi() {
  using DpiForSystem = UINT(WINAPI*)();
  static const auto forSystem = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    FARPROC found = user != nullptr ? GetProcAddress(user, "GetDpiForSystem") : nullptr;
    return reinterpret_cast<DpiForSystem>(reinterpret_cast<void (*)()>(found));
  }();
  UINT dpi = forSystem != nullptr ? forSystem() : 0;
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? static_cast<int>(dpi) : 96;
}

PixelRect WorkArea() {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return {area.left, area.top, area.right, area.bottom};
}

bool Is64BitSystem() {
#ifdef _WIN64
  return true;  // a 64-bit program runs on 64-bit Windows only
#else
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64 = Kernel32Function<IsWow64>("IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace rt::win32

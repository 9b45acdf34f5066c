// The registry, files, versions and the environment as the system reports them; nothing here
// decides what they mean.
#include "Win32SystemQuery.h"

#include <vector>

#include "Handles.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

struct Registry {
  LONG(WINAPI* openKey)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY) = nullptr;
  LONG(WINAPI* queryValue)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) = nullptr;
  LONG(WINAPI* closeKey)(HKEY) = nullptr;
};

// advapi32's registry functions, or null where they cannot be found.
const Registry* RegistryFunctions() {
  static Registry functions;
  static const bool found = [] {
    HMODULE advapi = SystemLibrary(L"advapi32.dll");
    if (!FindFunction(advapi, "RegOpenKeyExW", functions.openKey) ||
        !FindFunction(advapi, "RegQueryValueExW", functions.queryValue) ||
        !FindFunction(advapi, "RegCloseKey", functions.closeKey)) {
      return false;
    }
    RegistryKeyTraits::close = functions.closeKey;
    return true;
  }();
  return found ? &functions : nullptr;
}

struct Versions {
  DWORD(WINAPI* infoSize)(LPCWSTR, LPDWORD) = nullptr;
  BOOL(WINAPI* info)(LPCWSTR, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* query)(LPCVOID, LPCWSTR, LPVOID*, PUINT) = nullptr;
};

const Versions* VersionFunctions() {
  static Versions functions;
  static const bool found = [] {
    HMODULE version = SystemLibrary(L"version.dll");
    return FindFunction(version, "GetFileVersionInfoSizeW", functions.infoSize) &&
           FindFunction(version, "GetFileVersionInfoW", functions.info) &&
           FindFunction(version, "VerQueryValueW", functions.query);
  }();
  return found ? &functions : nullptr;
}

// The key opened for reading in `view`; empty where it cannot be.
unique_hkey OpenKey(const Registry& registry, RegistryHive hive, const std::wstring& key,
                    RegistryView view) {
  const HKEY root = hive == RegistryHive::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  REGSAM access = KEY_READ;
  if (view == RegistryView::k64Bit) access |= KEY_WOW64_64KEY;
  if (view == RegistryView::k32Bit) access |= KEY_WOW64_32KEY;
  HKEY opened = nullptr;
  if (registry.openKey(root, key.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return unique_hkey(opened);
}

}  // namespace

RegistryKeyRead Win32SystemQuery::ReadRegistryKey(RegistryHive hive, const std::wstring& key,
                                                  const std::wstring& name, RegistryView view) {
  const Registry* registry = RegistryFunctions();
  if (registry == nullptr) return {};
  const unique_hkey opened = OpenKey(*registry, hive, key, view);
  if (!opened) return {};
  if (name.empty()) return {true, std::nullopt};
  // Room for a version at the first asking; a longer string is asked again with room for all of
  // it and one more character, as a value may be written without its terminating null.
  std::wstring value(64, L'\0');
  DWORD type = 0;
  DWORD size = 0;
  LONG result = ERROR_MORE_DATA;
  for (int tries = 0; tries < 2 && result == ERROR_MORE_DATA; ++tries) {
    size = static_cast<DWORD>((value.size() - 1) * sizeof(wchar_t));
    result = registry->queryValue(opened.get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<LPBYTE>(value.data()), &size);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {true, std::nullopt};
    if (result == ERROR_MORE_DATA) value.resize(size / sizeof(wchar_t) + 2);
  }
  if (result != ERROR_SUCCESS) return {true, std::nullopt};
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return {true, value};
}

std::wstring Win32SystemQuery::ExpandEnvironment(const std::wstring& text) {
  std::wstring expanded(text.size() + 1, L'\0');
  for (;;) {
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (length == 0) return text;
    if (length <= expanded.size()) {
      expanded.resize(length - 1);  // the count includes the terminating null
      return expanded;
    }
    expanded.resize(length);
  }
}

bool Win32SystemQuery::FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<VersionParts> Win32SystemQuery::FileVersion(const std::wstring& path) {
  const Versions* versions = VersionFunctions();
  if (versions == nullptr) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = versions->infoSize(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<std::uint8_t> block(size);
  if (!versions->info(path.c_str(), 0, size, block.data())) return std::nullopt;
  void* found = nullptr;
  UINT length = 0;
  if (!versions->query(block.data(), L"\\", &found, &length) || found == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
  if (fixed->dwSignature != 0xFEEF04BD) return std::nullopt;
  return VersionParts{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

VersionParts Win32SystemQuery::WindowsVersion() {
  // The kernel's own answer: GetVersionEx tells a program without a manifest an older version.
  using GetVersion = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
  GetVersion rtlGetVersion = nullptr;
  RTL_OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (FindFunction(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion", rtlGetVersion) &&
      rtlGetVersion(&info) == 0) {
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
  }
  return {};
}

bool Win32SystemQuery::Is64BitWindows() { return Is64BitSystem(); }

}  // namespace rt::win32

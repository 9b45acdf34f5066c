// Stands in for a product installer on the demo disc.
//
// Normally it shows a message box naming itself, its full path, working folder and command
// line. With MENU_INSTALLER_LOG set to a file path it appends one line describing how it was
// started to that file instead, so tests can check what the menu launched:
//   path=...<TAB>flags=0x...<TAB>show=...<TAB>cwd=...<TAB>cmdline=...<TAB>pid=...\n
// in UTF-8. Tabs, carriage returns and line feeds inside a value are written as \t, \r and \n
// so each start stays one line. MENU_INSTALLER_LINGER_MS keeps the process alive that many
// milliseconds afterwards.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// Reads an environment variable of any length; false when it is not set.
bool environment(const wchar_t* name, std::wstring& value) {
  std::wstring buffer(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
      value.clear();
      return true;
    }
    if (n < buffer.size()) {
      buffer.resize(n);
      value = buffer;
      return true;
    }
    buffer.resize(n);  // n is the size needed, terminator included
  }
}

// The executable's full path; grows past MAX_PATH for long paths.
std::wstring module_path() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return L"";
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring current_directory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return L"";
  std::wstring buffer(needed, L'\0');
  const DWORD n = GetCurrentDirectoryW(needed, buffer.data());
  buffer.resize(n < needed ? n : 0);
  return buffer;
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string field(const char* name, const std::wstring& value) {
  std::string out = std::string(name) + "=";
  for (const char c : utf8(value)) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Paths too long for the classic limit need the \\?\ form to be opened.
std::wstring openable(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD n = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (n == 0 || n >= needed) return path;
  full.resize(n);
  if (full.size() < MAX_PATH || full.rfind(L"\\\\?\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool append_line(const std::wstring& log, const std::string& line) {
  // FILE_APPEND_DATA alone makes every write land at the current end of the file, so lines
  // from installers started at the same time do not overwrite each other.
  const HANDLE file = CreateFileW(openable(log).c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size();
}

std::wstring file_name(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// "TEV_setup.exe" -> "TEV".
std::wstring product_name(std::wstring name) {
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  const std::wstring suffix = L"_setup";
  if (name.size() > suffix.size() &&
      _wcsicmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0) {
    name.resize(name.size() - suffix.size());
  }
  return name;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring path = module_path();
  const std::wstring cwd = current_directory();
  const std::wstring cmdline = GetCommandLineW();

  std::wstring log;
  if (environment(L"MENU_INSTALLER_LOG", log) && !log.empty()) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    wchar_t flags[16];
    swprintf(flags, 16, L"0x%lx", static_cast<unsigned long>(si.dwFlags));
    const std::string line = field("path", path) + "\t" + field("flags", flags) + "\t" +
                             field("show", std::to_wstring(si.wShowWindow)) + "\t" +
                             field("cwd", cwd) + "\t" + field("cmdline", cmdline) + "\t" +
                             field("pid", std::to_wstring(GetCurrentProcessId())) + "\n";
    if (!append_line(log, line)) return 1;

    std::wstring linger;
    if (environment(L"MENU_INSTALLER_LINGER_MS", linger) && !linger.empty()) {
      const unsigned long ms = std::wcstoul(linger.c_str(), nullptr, 10);
      if (ms > 0) Sleep(static_cast<DWORD>(ms));
    }
    return 0;
  }

  const std::wstring name = file_name(path);
  const std::wstring text = L"The " + product_name(name) +
                            L" installer was started.\n\nProgram:\n" + path +
                            L"\n\nWorking folder:\n" + cwd + L"\n\nCommand line:\n" + cmdline;
  MessageBoxW(nullptr, text.c_str(), name.c_str(), MB_OK | MB_ICONINFORMATION);
  return 0;
}

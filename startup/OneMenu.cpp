// One menu per program file under Win32: the mutex in the logon session's namespace, and the
// search for the open menu's window among the windows of that same program file only.
#include "OneMenu.h"

#include <string>
#include <string_view>

#include "InstanceName.h"
#include "Win32System.h"

namespace menu {
namespace {

using rt::win32::unique_process;

// The class of the platform's main window (runtime/win32/Win32Window.cpp).
constexpr std::wstring_view kMenuWindowClass = L"MenuWindow";

// How long a later start waits for the first start's window, which may still be on its way.
constexpr int kWindowWaitSteps = 40;
constexpr DWORD kWindowWaitStepMs = 50;

// The long form of a path started through its short (8.3) name; the path itself when the
// system has no long form for it.
std::wstring LongPathName(const std::wstring& path) {
  std::wstring full(32768, L'\0');
  const DWORD length = GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  return full;
}

std::wstring ProcessImagePath(DWORD processId) {
  unique_process process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return {};
  path.resize(length);
  return path;
}

struct Search {
  const std::wstring* name;
  DWORD self;
  HWND found;
};

// A menu window of another process started from this same program file: another disc's menu
// has another path, so another name.
BOOL CALLBACK MatchMenuWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  try {
    wchar_t className[32] = {};
    const int length = GetClassNameW(window, className, 32);
    if (std::wstring_view(className, static_cast<std::size_t>(length)) != kMenuWindowClass) {
      return TRUE;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search.self) return TRUE;
    const std::wstring image = ProcessImagePath(processId);
    if (image.empty() || InstanceMutexName(LongPathName(image)) != *search.name) return TRUE;
    search.found = window;
    return FALSE;
  } catch (...) {
    return TRUE;  // nothing thrown goes back through the system's enumeration
  }
}

HWND FindMenuWindow(const std::wstring& name) {
  for (int step = 0; step < kWindowWaitSteps; ++step) {
    Search search{&name, GetCurrentProcessId(), nullptr};
    EnumWindows(MatchMenuWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(kWindowWaitStepMs);
  }
  return nullptr;
}

// The user has just started this process, so the system lets it hand the foreground over; where
// the system refuses that, the window still comes to the top of the others. Asynchronous, so a
// first menu that no longer answers cannot hold this start up.
void BringToFront(HWND window) {
  if (window == nullptr) return;
  if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
  SetForegroundWindow(window);
}

}  // namespace

OneMenu OneMenu::Claim() {
  try {
    const std::wstring name = InstanceMutexName(LongPathName(rt::win32::ModulePath()));
    unique_mutex mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    // A name held by a program of another user in this session cannot be opened: taken too.
    const bool taken = mutex ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    if (taken) BringToFront(FindMenuWindow(name));
    return OneMenu(std::move(mutex), !taken);
  } catch (...) {
    return OneMenu(unique_mutex(), true);
  }
}

}  // namespace menu

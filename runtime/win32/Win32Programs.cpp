// Starting a program with ShellExecuteExW, by the short or extended-length form of a long path.
#include "Win32Programs.h"

#include <shellapi.h>

#include <string>

#include "Handles.h"
#include "LongPath.h"
#include "Win32System.h"

namespace rt::win32 {

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

// The shell takes paths of the classic length only: a long one goes by its short form where the
// file system has one.
std::wstring PathForShell(const std::wstring& path) {
  if (path.size() < kLongPathLength) return path;
  std::wstring shortForm(32768, L'\0');
  const DWORD length = GetShortPathNameW(FileSystemPath(path).c_str(), shortForm.data(),
                                         static_cast<DWORD>(shortForm.size()));
  shortForm.resize(length < shortForm.size() ? length : 0);
  return ShellPath(path, shortForm);
}

}  // namespace

bool StartProgram(const StartRequest& request, HWND owner, StartFailure& failure) {
  const ShellExecuteExFunction shellExecute = ShellExecuteFromSystemFolder();
  if (shellExecute == nullptr) {
    failure = {.shellMissing = true, .system = LastSystemError()};
    return false;
  }
  // An address goes to the shell as it was written; a path by a form the shell takes.
  const std::wstring program = request.isAddress ? request.program : PathForShell(request.program);
  const std::wstring folder = PathForShell(request.workingFolder);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpFile = program.c_str();
  info.lpParameters = request.arguments.empty() ? nullptr : request.arguments.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = request.minimized   ? SW_SHOWMINIMIZED
               : request.maximized ? SW_SHOWMAXIMIZED
                                   : SW_SHOWNORMAL;
  if (!shellExecute(&info)) {
    failure.system = LastSystemError();
    return false;
  }
  const unique_process started(info.hProcess);  // not waited for: only closed
  return true;
}

}  // namespace rt::win32

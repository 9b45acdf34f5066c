// The program's entry: runs Main, then the window's events until it is unloaded. Every run-time
// error ends here, in one message box, and the program exits with the error's number.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "MenuSettingsFile.h"
#include "Module1.h"
#include "OneMenu.h"
#include "RunTimeError.h"
#include "Win32Platform.h"
#include "frmMain.h"

namespace {

// DLLs are looked up in the system folder only, never beside the program: the program folder is
// on media that anybody may have written to. Looked up at run time, as systems before Windows 8
// (without the update that brought it) do not have it; the installers started later do not
// inherit the setting.
void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  FARPROC found = GetProcAddress(kernel, "SetDefaultDllDirectories");
  if (found == nullptr) return;
  auto restrict =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

// The library's default for an exception nobody catches prints the exception's demangled type,
// and its demangler is a sixth of the program's size. Every exception is caught in wWinMain and no
// window procedure lets one pass, so this runs only if that promise is broken: end at once.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystemFolder();
  // A second start of this menu.exe brings the open menu forward instead of opening another.
  const menu::OneMenu one = menu::OneMenu::Claim();
  if (!one.IsFirst()) return 0;
  rt::win32::Win32Platform platform(instance);
  std::unique_ptr<menu::frmMain> form;
  try {
    try {
      // The disc's settings come first: a broken menu.ini is reported before anything shows.
      menu::Module1::Main(platform, form, menu::ReadMenuSettings(platform));
      platform.RunMessageLoop();
      return 0;
    } catch (const std::bad_alloc&) {
      throw rt::RunTimeError(rt::kErrOutOfMemory, L"The program ran out of memory", L"");
    }
  } catch (const rt::RunTimeError& error) {
    // Titled with menu.ini's Title once the window has it.
    platform.ReportRunTimeError(error, form ? form->Title() : std::wstring());
    return error.Number();
  } catch (...) {
    platform.ReportRunTimeError(rt::RunTimeError(rt::kErrInvalidProcedureCall,
                                                 L"An unexpected error ended the program", L""));
    return rt::kErrInvalidProcedureCall;
  }
}

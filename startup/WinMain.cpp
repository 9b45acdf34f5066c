// The program's entry: runs Main, then the window's events until it is unloaded. Every run-time
// error ends here, in one message box, and the program exits with the error's number.
#include <windows.h>

#include <memory>
#include <new>

#include "runtime/RunTimeError.h"
#include "runtime/win32/Win32Platform.h"
#include "startup/Module1.h"
#include "window/frmMain.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  rt::win32::Win32Platform platform(instance);
  std::unique_ptr<menu::frmMain> form;
  try {
    try {
      menu::Module1::Main(platform, form);
      platform.RunMessageLoop();
      return 0;
    } catch (const std::bad_alloc&) {
      throw rt::RunTimeError(rt::kErrOutOfMemory, L"The program ran out of memory", L"");
    }
  } catch (const rt::RunTimeError& error) {
    platform.ReportRunTimeError(error);
    return error.Number();
  } catch (...) {
    platform.ReportRunTimeError(rt::RunTimeError(rt::kErrInvalidProcedureCall,
                                                 L"An unexpected error ended the program", L""));
    return rt::kErrInvalidProcedureCall;
  }
}

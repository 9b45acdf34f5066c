// A DLL planted beside menu.exe by a test: when any process loads it, it leaves a mark in the file
// named by MENU_PLANTED_MARK, so the test sees that the program loaded a DLL from its own folder.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[4096] = {};
  if (GetEnvironmentVariableW(L"MENU_PLANTED_MARK", mark, 4096) == 0) return TRUE;
  wchar_t self[4096] = {};
  GetModuleFileNameW(instance, self, 4096);
  HANDLE file = CreateFileW(mark, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char line[8192] = {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, self, -1, line, 8190, nullptr, nullptr);
    if (size > 0) {
      line[size - 1] = '\n';
      DWORD written = 0;
      WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    }
    CloseHandle(file);
  }
  return TRUE;
}

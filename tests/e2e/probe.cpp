// A test helper run under Wine beside the menu: lists the message boxes on the screen with their
// titles and texts, or answers them with OK, so that tests read what the user would read.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[8192] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return buffer;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM out) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (IsWindowVisible(window) && std::wstring(name) == L"#32770") {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> Dialogs() {
  std::vector<HWND> found;
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"dialogs";
  const std::vector<HWND> dialogs = Dialogs();
  for (HWND dialog : dialogs) {
    if (command == L"close") {
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      continue;
    }
    // One line a dialog: its title, then the text of each static control, with "\n" escaped.
    std::wstring line = TextOf(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[64] = {};
      GetClassNameW(child, name, 64);
      if (std::wstring(name) != L"Static") continue;
      std::wstring text = TextOf(child);
      if (text.empty()) continue;
      std::wstring escaped;
      for (wchar_t c : text) {
        if (c == L'\n') {
          escaped += L"\\n";
        } else if (c != L'\r') {
          escaped += c;
        }
      }
      line += L"\t" + escaped;
    }
    std::fputs((Utf8(line) + "\n").c_str(), stdout);
  }
  return dialogs.empty() ? 1 : 0;
}

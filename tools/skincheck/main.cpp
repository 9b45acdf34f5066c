// skincheck's entry: the command line as the system gives it, in its own kind of text (UTF-16 on
// Windows, so that any folder name arrives whole), handed to the portable command.
#include <filesystem>
#include <iostream>
#include <vector>

#include "SkinCheck.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  // The report is UTF-8; the console shows it as such.
  SetConsoleOutputCP(CP_UTF8);
  const std::vector<std::filesystem::path> args(argv + 1, argv + argc);
  return skincheck::Run(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::filesystem::path> args(argv + 1, argv + argc);
  return skincheck::Run(args, std::cout, std::cerr);
}
#endif

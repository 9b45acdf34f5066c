// The program folder from the program's full path.
#include "ProgramFolder.h"

namespace rt {

std::wstring FolderOfModulePath(std::wstring_view modulePath) {
  const std::size_t slash = modulePath.find_last_of(L'\\');
  if (slash == std::wstring_view::npos) return std::wstring(modulePath);
  std::wstring_view folder = modulePath.substr(0, slash);
  // "E:" and "\\?\E:" are drive roots: they keep the separator.
  if (!folder.empty() && folder.back() == L':') folder = modulePath.substr(0, slash + 1);
  return std::wstring(folder);
}

}  // namespace rt

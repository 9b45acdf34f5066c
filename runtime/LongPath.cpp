// The extended-length and short forms of long paths, as string rules.
#include "LongPath.h"

namespace rt {

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";
constexpr std::size_t kClassicLimit = 260;

}  // namespace

std::wstring FileSystemPath(std::wstring_view path) {
  if (path.size() < kLongPathLength || path.starts_with(kExtended)) return std::wstring(path);
  if (path.starts_with(L"\\\\")) return std::wstring(kExtendedUnc) + std::wstring(path.substr(2));
  if (path.size() > 2 && path[1] == L':') return std::wstring(kExtended) + std::wstring(path);
  return std::wstring(path);
}

std::wstring ShellPath(std::wstring_view path, std::wstring_view shortForm) {
  if (path.size() < kLongPathLength) return std::wstring(path);
  // A drive path's short form drops the prefix; a UNC one keeps it, since what follows the
  // prefix there ("UNC\server\...") is not a path on its own.
  if (shortForm.starts_with(kExtended) && !shortForm.starts_with(kExtendedUnc)) {
    shortForm.remove_prefix(kExtended.size());
  }
  if (!shortForm.empty() && shortForm.size() < kClassicLimit) return std::wstring(shortForm);
  return FileSystemPath(path);
}

}  // namespace rt

// Long paths: the extended-length form the file system takes, and the form handed to the shell.
#include "LongPath.h"

#include <gtest/gtest.h>

#include <string>

namespace rt {
namespace {

const std::wstring kDeep = std::wstring(L"C:\\") + std::wstring(260, L'd') + L"\\menu.exe";
const std::wstring kDeepShare = L"\\\\server\\share\\" + std::wstring(260, L'd');

TEST(LongPath, OnlyLongAbsolutePathsGetTheExtendedLengthForm) {
  const struct {
    std::wstring path;
    std::wstring expected;
  } cases[] = {
      {L"C:\\Menu\\img\\main.bmp", L"C:\\Menu\\img\\main.bmp"},
      {std::wstring(L"C:\\") + std::wstring(kLongPathLength - 4, L'x'),
       std::wstring(L"C:\\") + std::wstring(kLongPathLength - 4, L'x')},
      {std::wstring(L"C:\\") + std::wstring(kLongPathLength - 3, L'x'),
       std::wstring(L"\\\\?\\C:\\") + std::wstring(kLongPathLength - 3, L'x')},
      {kDeep, L"\\\\?\\" + kDeep},
      {kDeepShare, L"\\\\?\\UNC\\server\\share\\" + std::wstring(260, L'd')},
      {L"\\\\?\\" + kDeep, L"\\\\?\\" + kDeep},            // already extended
      {std::wstring(300, L'r'), std::wstring(300, L'r')},  // relative: left to the system
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.size());
    EXPECT_EQ(FileSystemPath(c.path), c.expected);
  }
}

TEST(LongPath, TheShellGetsTheShortFormWhereOneFits) {
  const std::wstring shortForm = L"C:\\DDDDDD~1\\menu.exe";
  const struct {
    const char* what;
    std::wstring path;
    std::wstring shortForm;
    std::wstring expected;
  } cases[] = {
      {"short paths go as they are", L"C:\\Menu\\ZENT\\TEV_setup.exe", L"",
       L"C:\\Menu\\ZENT\\TEV_setup.exe"},
      {"a short form", kDeep, shortForm, shortForm},
      {"a short form with the prefix loses it", kDeep, L"\\\\?\\" + shortForm, shortForm},
      {"a UNC short form keeps its prefix", kDeepShare, L"\\\\?\\UNC\\server\\share\\DDDD~1",
       L"\\\\?\\UNC\\server\\share\\DDDD~1"},
      {"no short form", kDeep, L"", L"\\\\?\\" + kDeep},
      {"a short form still too long", kDeep, std::wstring(L"C:\\") + std::wstring(260, L's'),
       L"\\\\?\\" + kDeep},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ShellPath(c.path, c.shortForm), c.expected);
  }
}

}  // namespace
}  // namespace rt

// The one-menu-per-program-file name: one name for every spelling of a path, another for another
// file, and a valid kernel object name for a path of any length.
#include "InstanceName.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace menu {
namespace {

struct Spelling {
  const wchar_t* path;
  const wchar_t* canonical;
};

class CanonicalPath : public ::testing::TestWithParam<Spelling> {};

TEST_P(CanonicalPath, IsOneSpellingOfTheSameFile) {
  EXPECT_EQ(CanonicalProgramPath(GetParam().path), GetParam().canonical);
  EXPECT_EQ(InstanceMutexName(GetParam().path), InstanceMutexName(GetParam().canonical));
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, CanonicalPath,
    ::testing::Values(
        Spelling{L"D:\\Menu\\menu.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"d:/menu/MENU.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"D:\\\\Menu\\\\\\menu.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"D:\\.\\Menu\\Other\\..\\menu.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"D:\\..\\..\\Menu\\menu.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"D:\\Menu. \\menu.exe.", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"\\\\?\\D:\\Menu\\menu.exe", L"D:\\MENU\\MENU.EXE"},
        Spelling{L"E:\\menu.exe", L"E:\\MENU.EXE"},
        Spelling{L"\\\\server\\share\\menu.exe", L"\\\\SERVER\\SHARE\\MENU.EXE"},
        Spelling{L"//Server/Share/Disc/../menu.exe", L"\\\\SERVER\\SHARE\\MENU.EXE"},
        Spelling{L"\\\\?\\UNC\\server\\share\\menu.exe", L"\\\\SERVER\\SHARE\\MENU.EXE"},
        // ".." stops at the share: the server and the share name are the path's root.
        Spelling{L"\\\\server\\share\\..\\..\\menu.exe", L"\\\\SERVER\\SHARE\\MENU.EXE"},
        // Latin-1, Latin Extended-A on both sides of its changes of order, Greek with the final
        // sigma, Cyrillic, full-width Latin; letters without a capital stay.
        Spelling{L"D:\\\u00e9t\u00e9 \u00ff\\\u0101\u0142\u017e\u0149\\menu.exe",
                 L"D:\\\u00c9T\u00c9 \u0178\\\u0100\u0141\u017d\u0149\\MENU.EXE"},
        Spelling{L"D:\\\u03b4\u03af\u03c3\u03ba\u03bf\u03c2\\\u0434\u0438\u0441\u043a "
                 L"\u0451\u0457\\\uff4d\u00df\u0131.exe",
                 L"D:\\\u0394\u038a\u03a3\u039a\u039f\u03a3\\\u0414\u0418\u0421\u041a "
                 L"\u0401\u0407\\\uff2d\u00df\u0131.EXE"},
        // Other scripts and letters beyond the basic plane pass through unchanged.
        Spelling{L"D:\\\u65e5\u672c\\\U0001f4bf.exe", L"D:\\\u65e5\u672c\\\U0001f4bf.EXE"}));

TEST(InstanceName, DifferentProgramFilesGetDifferentNames) {
  const std::wstring names[] = {InstanceMutexName(L"D:\\menu.exe"),
                                InstanceMutexName(L"E:\\menu.exe"),
                                InstanceMutexName(L"D:\\Disc2\\menu.exe"),
                                InstanceMutexName(L"D:\\menu2.exe"),
                                InstanceMutexName(L"\\\\server\\a\\menu.exe"),
                                InstanceMutexName(L"\\\\server\\b\\menu.exe"),
                                InstanceMutexName(L"D:\\\u00df\\menu.exe"),
                                InstanceMutexName(L"D:\\SS\\menu.exe")};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    for (std::size_t j = i + 1; j < std::size(names); ++j) {
      EXPECT_NE(names[i], names[j]) << i << " and " << j;
    }
  }
}

class AnyLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(AnyLength, GivesAShortValidObjectName) {
  const std::wstring folder = L"D:\\" + std::wstring(GetParam(), L'x');
  const std::wstring name = InstanceMutexName(folder + L"\\menu.exe");
  const std::wstring prefix = L"Local\\LauncherMenu.";
  ASSERT_EQ(name.substr(0, prefix.size()), prefix);
  const std::wstring hash = name.substr(prefix.size());
  EXPECT_EQ(hash.size(), 16u);
  EXPECT_EQ(hash.find_first_not_of(L"0123456789abcdef"), std::wstring::npos) << hash.c_str();
  // Paths that differ in their last letter only still differ.
  EXPECT_NE(name, InstanceMutexName(folder + L"\\menu.exf"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, AnyLength, ::testing::Values(0u, 1u, 259u, 32767u, 100000u));

}  // namespace
}  // namespace menu

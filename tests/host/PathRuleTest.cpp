// The path rule: which file each button and state reads, at a drive root and in a folder.
#include "PathRule.h"

#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "RunTimeError.h"

namespace menu {
namespace {

TEST(PathRule, TrailingSeparatorIsExactlyABackslash) {
  EXPECT_TRUE(HasTrailingSeparator(L"E:\\"));
  EXPECT_FALSE(HasTrailingSeparator(L"C:\\Menu"));
  EXPECT_FALSE(HasTrailingSeparator(L"C:\\Menu/"));
  EXPECT_FALSE(HasTrailingSeparator(L""));
}

TEST(PathRule, SkinAtDriveRootAndInFolder) {
  EXPECT_EQ(SkinPicturePath(L"E:\\", true), L"E:\\img\\main.bmp");
  EXPECT_EQ(SkinPicturePath(L"C:\\Menu", false), L"C:\\Menu\\img\\main.bmp");
  // A forward slash is not a separator: the leading backslash is appended all the same.
  EXPECT_EQ(SkinPicturePath(L"C:\\Menu/", HasTrailingSeparator(L"C:\\Menu/")),
            L"C:\\Menu/\\img\\main.bmp");
}

TEST(PathRule, ButtonNumbersAreIndexPlusOneWithoutPadding) {
  EXPECT_EQ(ButtonPicturePath(L"C:\\Menu", false, 0, kBmpLooks.normal),
            L"C:\\Menu\\img\\bmp1-2.bmp");
  EXPECT_EQ(ButtonPicturePath(L"E:\\", true, 9, kCmdLooks.hover), L"E:\\img\\cmd10-3.bmp");
  EXPECT_EQ(ButtonPicturePath(L"E:\\", true, 14, kBmpLooks.pressed), L"E:\\img\\bmp15-1.bmp");
  EXPECT_EQ(ButtonPicturePath(L"C:\\Menu", false, 6, kCmdLooks.normal),
            L"C:\\Menu\\img\\cmd7-1.bmp");
}

TEST(PathRule, SeriesFollowTheIndex) {
  for (int i = -3; i <= 20; ++i) {
    const bool bmp = (i >= 0 && i <= 3) || i == 14;
    EXPECT_EQ(IsBmpSeries(static_cast<std::int16_t>(i)), bmp) << i;
  }
  EXPECT_EQ(ButtonPicturePath(L"C:\\M", false, -1, kCmdLooks.pressed), L"C:\\M\\img\\cmd0-1.bmp");
  EXPECT_EQ(ButtonPicturePath(L"C:\\M", false, 4, kCmdLooks.hover), L"C:\\M\\img\\cmd5-3.bmp");
}

TEST(PathRule, NumberOverflowIsARunTimeError) {
  EXPECT_EQ(ButtonNumber(32766), L"32767");
  try {
    ButtonNumber(32767);
    FAIL() << "no overflow raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrOverflow);
  }
}

TEST(PathRule, UnicodeAndLongFoldersAreKeptAsTheyAre) {
  const std::wstring folder = L"D:\\\u00c4rger \u65e5\u672c (v2)\\" + std::wstring(300, L'x');
  EXPECT_EQ(SkinPicturePath(folder, false), folder + L"\\img\\main.bmp");
}

TEST(ProgramFolder, DriveRootKeepsItsSeparatorOthersLoseIt) {
  EXPECT_EQ(rt::FolderOfModulePath(L"E:\\menu.exe"), L"E:\\");
  EXPECT_EQ(rt::FolderOfModulePath(L"C:\\Menu\\menu.exe"), L"C:\\Menu");
  EXPECT_EQ(rt::FolderOfModulePath(L"\\\\server\\share\\menu.exe"), L"\\\\server\\share");
  EXPECT_EQ(rt::FolderOfModulePath(L"\\\\?\\E:\\menu.exe"), L"\\\\?\\E:\\");
  EXPECT_EQ(rt::FolderOfModulePath(L"D:\\My Disc (v2)\\menu.exe"), L"D:\\My Disc (v2)");
}

}  // namespace
}  // namespace menu

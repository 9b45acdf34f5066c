// Start-up against the recording platform: the exact order of Form_Load, the window's final
// state, and what the user sees when a picture is missing.
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "RunTimeError.h"
#include "frmMainDefinition.h"

namespace menu {
namespace {

using testing::MenuTest;

TEST(frmMainDefinition, ANewWindowHasEmptyTagsAndItsDesignPictures) {
  rt::FakePlatform platform;
  frmMain form(platform);
  for (std::int16_t index : testing::kMembers) {
    ASSERT_NE(form.cmd(index), nullptr) << index;
    EXPECT_EQ(form.cmd(index)->Tag(), L"") << index;
  }
  for (std::int16_t index : testing::kNonMembers) EXPECT_EQ(form.cmd(index), nullptr);
  EXPECT_EQ(form.Form().ScaleMode(), rt::kScaleTwips);
  EXPECT_FLOAT_EQ(form.Form().Width(), 799 * 15.0f);
  EXPECT_FLOAT_EQ(form.cmd(0)->Width(), 113 * 15.0f);
}

TEST_F(MenuTest, FormLoadRunsInItsExactOrder) {
  Module1::Main(platform, form);
  const std::wstring skin = L"LoadPicture " + Img(L"main.bmp");
  const std::vector<std::wstring> expected = {
      L"CreateWindow 799x600",
      // Design-time pictures: the window's, Picture1's and the four buttons'.
      L"LoadResourcePicture 101", L"LoadResourcePicture 101", L"LoadResourcePicture 105",
      L"LoadResourcePicture 104", L"LoadResourcePicture 103", L"LoadResourcePicture 102",
      // Form_Load: show, hide, pending messages.
      L"Show", L"Hide", L"DoEvents",
      // One separator test, then the skin into the window and Picture1.
      L"ProgramFolder", L"ProgramFolder", skin, L"ProgramFolder", skin,
      // BuildSkinRegion: measured by img, window sized, skin again, then read for its pixels.
      L"ProgramFolder", skin, L"Resize 800x600", L"Resize 800x600", skin, skin, L"CreateRegion 1",
      L"SetWindowRgn redraw", L"Show",
      // The normal pictures of the five active buttons, one separator test for all.
      L"ProgramFolder", L"ProgramFolder", L"LoadPicture " + Img(L"bmp1-2.bmp"), L"ProgramFolder",
      L"LoadPicture " + Img(L"bmp2-2.bmp"), L"ProgramFolder", L"LoadPicture " + Img(L"bmp3-2.bmp"),
      L"ProgramFolder", L"LoadPicture " + Img(L"bmp4-2.bmp"), L"ProgramFolder",
      L"LoadPicture " + Img(L"bmp15-2.bmp"),
      // Main's own show completes.
      L"Show"};
  EXPECT_EQ(platform.log, expected);
}

TEST_F(MenuTest, AfterStartUpTheWindowIsTheSkinsSizeShapedAndInPixels) {
  // Corner pixels of the skin are black: they are cut out of the outline.
  platform.files[Img(L"main.bmp")] =
      testing::BitmapFile(800, 600, [](int x, int y) -> std::uint32_t {
        return (x == 0 && y == 0) || (x == 799 && y == 599) ? 0 : 0x00808080;
      });
  Start();
  EXPECT_TRUE(platform.windowVisible);
  EXPECT_TRUE(platform.windowShaped);
  EXPECT_EQ(platform.windowWidth, 800);
  EXPECT_EQ(platform.windowHeight, 600);
  EXPECT_EQ(form->Form().ScaleMode(), rt::kScalePixels);
  EXPECT_FLOAT_EQ(form->Form().ScaleWidth(), 800);
  EXPECT_FLOAT_EQ(form->Form().Width(), 800 * 15.0f);
  EXPECT_EQ(form->SkinWidth(), 800);
  EXPECT_EQ(form->SkinHeight(), 600);
  EXPECT_FALSE(form->img().Visible());
  EXPECT_EQ(form->img().Bounds(), (rt::PixelRect{776, 584, 1576, 1184}));
  // Rows 0 and 599 lose one pixel each; everything between stays.
  const std::vector<rt::PixelRect> outline = {{1, 0, 800, 1}, {0, 1, 800, 599}, {0, 599, 799, 600}};
  EXPECT_EQ(platform.windowRegion, outline);
  for (std::int16_t index : testing::kInstallerButtons) {
    EXPECT_EQ(Shows(index), L"bmp" + std::to_wstring(index + 1) + L"-2.bmp");
  }
  EXPECT_EQ(Shows(14), L"bmp15-2.bmp");
  EXPECT_EQ(form->cmd(14)->Bounds(), (rt::PixelRect{632, 544, 712, 572}));
  for (std::int16_t index : testing::kDisabledButtons) EXPECT_EQ(Shows(index), L"");
  // The skin was read five times and each normal picture once.
  EXPECT_EQ(platform.regionsAlive, 1);  // the one the window owns
}

TEST_F(MenuTest, ADriveRootReadsWithASingleSeparator) {
  platform.programFolder = L"E:\\";
  testing::AddMenuFiles(platform, L"E:\\");
  Module1::Main(platform, form);
  const auto loads = Loads();
  EXPECT_EQ(loads.front(), L"LoadPicture E:\\img\\main.bmp");
  EXPECT_EQ(loads.back(), L"LoadPicture E:\\img\\bmp15-2.bmp");
  EXPECT_EQ(std::count(loads.begin(), loads.end(), L"LoadPicture E:\\img\\main.bmp"), 5);
  EXPECT_EQ(loads.size(), 10u);
}

TEST_F(MenuTest, WithoutTheSkinNoShapedWindowIsEverSeen) {
  platform.files.erase(Img(L"main.bmp"));
  try {
    Module1::Main(platform, form);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
    EXPECT_EQ(error.Subject(), Img(L"main.bmp"));
    EXPECT_NE(rt::FormatErrorReport(error).find(Img(L"main.bmp")), std::wstring::npos);
  }
  EXPECT_FALSE(platform.windowVisible);
  EXPECT_FALSE(platform.windowShaped);
  EXPECT_EQ(Loads().size(), 1u);
}

TEST_F(MenuTest, WithoutTheCloseButtonsPictureTheShapedWindowShowsTheOthersFirst) {
  platform.files.erase(Img(L"bmp15-2.bmp"));
  try {
    Module1::Main(platform, form);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
    EXPECT_EQ(error.Subject(), Img(L"bmp15-2.bmp"));
  }
  EXPECT_TRUE(platform.windowVisible);
  EXPECT_TRUE(platform.windowShaped);
  for (std::int16_t index : testing::kInstallerButtons) {
    EXPECT_EQ(Shows(index), L"bmp" + std::to_wstring(index + 1) + L"-2.bmp");
  }
  EXPECT_EQ(Shows(14), L"");
}

TEST_F(MenuTest, ASkinThatIsNotABitmapEndsStartUpBeforeAnythingChanges) {
  const std::string text = "not a picture";
  platform.files[Img(L"main.bmp")] = rt::FileBytes(text.begin(), text.end());
  EXPECT_THROW(Module1::Main(platform, form), rt::RunTimeError);
  EXPECT_FALSE(platform.windowVisible);
  EXPECT_EQ(platform.windowWidth, 799);
}

TEST_F(MenuTest, ASkinTooLargeForTheOutlineIsAnOverflow) {
  platform.files[Img(L"main.bmp")] = testing::BitmapFile(32768, 20);
  try {
    Module1::Main(platform, form);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrOverflow);
  }
  EXPECT_FALSE(platform.windowVisible);
  EXPECT_FALSE(platform.windowShaped);
  EXPECT_EQ(platform.regionsAlive, 0);
}

TEST_F(MenuTest, TheLargestSkinTheOutlineTakesStillWorks) {
  platform.files[Img(L"main.bmp")] = testing::BitmapFile(32767, 70);
  Start();
  EXPECT_EQ(platform.windowWidth, 32767);
  EXPECT_TRUE(platform.windowShaped);
}

TEST_F(MenuTest, ASkinOfAnotherSizeSizesTheWindow) {
  platform.files[Img(L"main.bmp")] = testing::BitmapFile(1000, 800);
  Start();
  EXPECT_EQ(platform.windowWidth, 1000);
  EXPECT_EQ(platform.windowHeight, 800);
  EXPECT_FLOAT_EQ(form->Form().ScaleHeight(), 800);
}

TEST_F(MenuTest, PaintingDrawsTheSkinThenTheButtonsWithTheStripOnTop) {
  Start();
  platform.Paint();
  ASSERT_FALSE(platform.painted.empty());
  EXPECT_EQ(platform.painted.front(), Img(L"main.bmp") + L" @0,0 0,0,800,600");
  EXPECT_EQ(platform.painted.back(), Img(L"main.bmp") + L" @0,0 0,0,800,57");
  EXPECT_EQ(platform.painted.size(), 7u);  // skin, five buttons, the strip
  // A paint of one button's place draws only what lies there.
  platform.Paint({96, 200, 209, 322});
  const std::vector<std::wstring> part = {Img(L"main.bmp") + L" @0,0 96,200,209,322",
                                          Img(L"bmp1-2.bmp") + L" @96,200 96,200,209,322"};
  EXPECT_EQ(platform.painted, part);
}

TEST_F(MenuTest, ExposedAreasWithoutAPictureShowTheBackColour) {
  platform.files[Img(L"main.bmp")] = testing::BitmapFile(800, 600);
  Start();
  form->Form().SetPicture(rt::Picture());
  platform.Paint({700, 100, 720, 110});
  ASSERT_FALSE(platform.painted.empty());
  EXPECT_EQ(platform.painted.front(), L"fill 10 700,100,720,110");
}

}  // namespace
}  // namespace menu

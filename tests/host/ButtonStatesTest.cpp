// The buttons' looks: hover, press, release and reset, driven through the pointer routing as the
// window would deliver it. The Tag marker is the whole state.
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using namespace testing;
using rt::MouseButton;

class ButtonStates : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Start();
  }
};

TEST_F(ButtonStates, HoverLoadsItsPictureOncePerEntry) {
  for (int step = 0; step < 6; ++step) Move(kButton0X + step, kButton0Y);
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
  EXPECT_EQ(Tag(0), L"1");
  EXPECT_EQ(Loads(), std::vector<std::wstring>{L"LoadPicture " + Img(L"bmp1-3.bmp")});
}

TEST_F(ButtonStates, PressShowsPressedAndReleaseNormalWhileTheMarkStays) {
  Move(kButton1X, kButton1Y);
  Down(kButton1X, kButton1Y, MouseButton::kRight);
  EXPECT_EQ(Shows(1), L"bmp2-1.bmp");
  EXPECT_EQ(Tag(1), L"1");
  Up(kButton1X, kButton1Y, MouseButton::kLeft);  // not the button that is held: ignored
  EXPECT_EQ(Shows(1), L"bmp2-1.bmp");
  platform.log.clear();
  Move(kButton1X + 1, kButton1Y, static_cast<int>(MouseButton::kRight));
  EXPECT_TRUE(Loads().empty());  // marked already: the pressed look stays
  Up(kButton1X, kButton1Y, MouseButton::kRight);
  EXPECT_EQ(Shows(1), L"bmp2-2.bmp");
  EXPECT_EQ(Tag(1), L"1");
  EXPECT_TRUE(form->Form().Loaded());
}

TEST_F(ButtonStates, DragOffAndReleaseAwayThenBackgroundResetsAndEntryHoversAgain) {
  Move(kButton0X, kButton0Y);
  Down(kButton0X, kButton0Y);
  // Captured: moves over the bare skin still go to the button, and reset nothing.
  Move(kSkinX, kSkinY, static_cast<int>(MouseButton::kLeft));
  EXPECT_EQ(Shows(0), L"bmp1-1.bmp");
  Up(kSkinX, kSkinY);
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  EXPECT_EQ(Tag(0), L"1");
  EXPECT_TRUE(platform.started.empty());
  EXPECT_TRUE(form->Form().Loaded());

  platform.log.clear();
  Move(kButton0X, kButton0Y);  // back onto it: marked, so nothing changes
  EXPECT_TRUE(Loads().empty());

  Move(kSkinX, kSkinY);  // the bare skin resets it
  EXPECT_EQ(Tag(0), L"");
  EXPECT_EQ(Loads(), std::vector<std::wstring>{L"LoadPicture " + Img(L"bmp1-2.bmp")});

  Move(kButton0X, kButton0Y);
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
  EXPECT_EQ(Tag(0), L"1");
}

TEST_F(ButtonStates, RightAndMiddleButtonsPressAlikeButNeverClick) {
  for (MouseButton button : {MouseButton::kRight, MouseButton::kMiddle, MouseButton::kX1}) {
    Move(kButton3X, kButton3Y);
    Down(kButton3X, kButton3Y, button);
    EXPECT_EQ(Shows(3), L"bmp4-1.bmp");
    Up(kButton3X, kButton3Y, button);
    EXPECT_EQ(Shows(3), L"bmp4-2.bmp");
    Move(kSkinX, kSkinY);
  }
  EXPECT_TRUE(platform.started.empty());
  EXPECT_TRUE(form->Form().Loaded());
}

TEST_F(ButtonStates, APressBeforeAnyMoveGivesWayToTheHoverOnTheFirstMove) {
  Down(kButton0X, kButton0Y);
  EXPECT_EQ(Shows(0), L"bmp1-1.bmp");
  EXPECT_EQ(Tag(0), L"");
  Move(kButton0X + 2, kButton0Y, static_cast<int>(MouseButton::kLeft));
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
  EXPECT_EQ(Tag(0), L"1");
}

TEST_F(ButtonStates, APressedButtonWithoutMarkReleasesToNormal) {
  Down(kButton0X, kButton0Y, MouseButton::kRight);
  Up(kButton0X, kButton0Y, MouseButton::kRight);
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  EXPECT_EQ(Tag(0), L"");
}

TEST_F(ButtonStates, ButtonsMarkedTogetherResetTogetherInTheirOrder) {
  Move(kCloseX, kCloseY);
  Move(kButton3X, kButton3Y);
  Move(kButton0X, kButton0Y);
  Move(kButton1X, kButton1Y);
  for (std::int16_t index : {std::int16_t{0}, std::int16_t{1}, std::int16_t{3}, std::int16_t{14}}) {
    EXPECT_EQ(Tag(index), L"1") << index;
  }
  platform.log.clear();
  Move(kDisabledX, kDisabledY);  // a disabled button counts as the bare skin
  const std::vector<std::wstring> expected = {
      L"LoadPicture " + Img(L"bmp1-2.bmp"), L"LoadPicture " + Img(L"bmp2-2.bmp"),
      L"LoadPicture " + Img(L"bmp4-2.bmp"), L"LoadPicture " + Img(L"bmp15-2.bmp")};
  EXPECT_EQ(Loads(), expected);
  for (std::int16_t index : kMembers) EXPECT_EQ(Tag(index), L"") << index;
  // One separator test for the whole reset, one folder read per path.
  EXPECT_EQ(platform.Lines(L"ProgramFolder").size(), 5u);
}

TEST_F(ButtonStates, LeavingOverTheStripOrOutOfTheWindowResetsNothing) {
  Move(kButton0X, kButton0Y);
  platform.log.clear();
  Move(kStripX, kStripY);
  Move(kStripX, 0);
  EXPECT_EQ(Tag(0), L"1");
  EXPECT_TRUE(Loads().empty());
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
}

TEST_F(ButtonStates, DisabledButtonsNeverGetAPictureOrAnEvent) {
  for (int x : {200, 330, 460, 590}) {
    Move(x, kDisabledY);
    Down(x, kDisabledY);
    Up(x, kDisabledY);
  }
  for (std::int16_t index : kDisabledButtons) {
    EXPECT_EQ(Shows(index), L"");
    EXPECT_EQ(Tag(index), L"");
  }
  EXPECT_TRUE(Loads().empty());
  EXPECT_TRUE(platform.started.empty());
  EXPECT_TRUE(form->Form().Loaded());
}

TEST_F(ButtonStates, TheBareSkinWithNothingMarkedLoadsNothing) {
  Move(kSkinX, kSkinY);
  Move(kSkinX + 5, kSkinY + 5);
  EXPECT_TRUE(Loads().empty());
}

TEST_F(ButtonStates, AButtonIsHitWhereItsCurrentPictureLies) {
  // A larger hover picture widens the button; a smaller one uncovers the skin.
  platform.files[Img(L"bmp1-3.bmp")] = BitmapFile(150, 150);
  platform.files[Img(L"bmp2-3.bmp")] = BitmapFile(20, 20);
  Move(100, 210);
  EXPECT_EQ(form->cmd(0)->Bounds(), (rt::PixelRect{96, 200, 246, 350}));
  platform.log.clear();
  Move(240, 340);  // beyond the normal picture, inside the hover picture
  EXPECT_TRUE(Loads().empty());
  EXPECT_EQ(Tag(0), L"1");

  Move(260, 292);  // cmd(1) at 256,288 hovers and shrinks to 20 x 20
  EXPECT_EQ(form->cmd(1)->Bounds(), (rt::PixelRect{256, 288, 276, 308}));
  platform.invalidated.clear();
  Move(300, 340);  // where the normal picture was: bare skin now, so both reset
  EXPECT_EQ(Tag(0), L"");
  EXPECT_EQ(Tag(1), L"");
  // The places that changed are painted again, the skin beneath included.
  EXPECT_NE(std::find(platform.invalidated.begin(), platform.invalidated.end(),
                      (rt::PixelRect{96, 200, 246, 350})),
            platform.invalidated.end());
}

TEST_F(ButtonStates, ASmallerPictureLetsTheSkinShowWhereTheOldOneWas) {
  platform.files[Img(L"bmp1-3.bmp")] = BitmapFile(60, 40);
  Move(100, 210);
  platform.Paint({96, 200, 209, 322});
  const std::vector<std::wstring> expected = {Img(L"main.bmp") + L" @0,0 96,200,209,322",
                                              Img(L"bmp1-3.bmp") + L" @96,200 96,200,156,240"};
  EXPECT_EQ(platform.painted, expected);
}

TEST_F(ButtonStates, CaptureIsTakenOnPressAndGivenBackOnRelease) {
  Down(kButton0X, kButton0Y, MouseButton::kMiddle);
  EXPECT_TRUE(platform.captured);
  Down(kButton0X, kButton0Y, MouseButton::kRight);
  Up(kButton0X, kButton0Y, MouseButton::kMiddle);
  EXPECT_TRUE(platform.captured);  // the right button is still held
  Up(kSkinX, kSkinY, MouseButton::kRight);
  EXPECT_FALSE(platform.captured);
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
}

TEST_F(ButtonStates, LosingTheCaptureMidPressReleasesWithoutAClick) {
  Move(kButton0X, kButton0Y);
  Down(kButton0X, kButton0Y);
  platform.events->OnCaptureLost();
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  Up(kButton0X, kButton0Y);  // a late release after the loss is nobody's
  EXPECT_TRUE(platform.started.empty());
  EXPECT_TRUE(form->Form().Loaded());
}

TEST_F(ButtonStates, AClickNeedsThePrimaryButtonDownAndUpOverTheSameButton) {
  // Down on one button, released over another: no click.
  Down(kButton0X, kButton0Y);
  Up(kButton1X, kButton1Y);
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");  // the release went to the pressed button
  EXPECT_EQ(Shows(1), L"bmp2-2.bmp");
  // Down on the bare skin, released over a button: no click either.
  Down(kSkinX, kSkinY);
  Up(kButton1X, kButton1Y);
  EXPECT_TRUE(platform.started.empty());
  // Down and up on the same button: the click follows the release.
  Down(kButton1X, kButton1Y);
  Up(kButton1X + 3, kButton1Y + 3);
  ASSERT_EQ(platform.started.size(), 1u);
  const std::vector<std::wstring> tail(platform.log.end() - 4, platform.log.end());
  EXPECT_EQ(tail[0], L"LoadPicture " + Img(L"bmp2-2.bmp"));
  EXPECT_EQ(tail[2].rfind(L"StartProgram", 0), 0u);
}

TEST_F(ButtonStates, AFailingHoverLeavesTheButtonUnmarked) {
  platform.files.erase(Img(L"bmp1-3.bmp"));
  try {
    Move(kButton0X, kButton0Y);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
    EXPECT_EQ(error.Subject(), Img(L"bmp1-3.bmp"));
  }
  EXPECT_EQ(Tag(0), L"");
}

TEST_F(ButtonStates, AFailingResetHasClearedTheMarkFirst) {
  Move(kButton0X, kButton0Y);
  platform.files.erase(Img(L"bmp1-2.bmp"));
  EXPECT_THROW(Move(kSkinX, kSkinY), rt::RunTimeError);
  EXPECT_EQ(Tag(0), L"");
}

TEST_F(ButtonStates, PicturesAreReadAtEveryChangeNeverKept) {
  Move(kButton0X, kButton0Y);
  Move(kSkinX, kSkinY);
  Move(kButton0X, kButton0Y);
  Move(kSkinX, kSkinY);
  const auto loads = Loads();
  EXPECT_EQ(std::count(loads.begin(), loads.end(), L"LoadPicture " + Img(L"bmp1-3.bmp")), 2);
  EXPECT_EQ(std::count(loads.begin(), loads.end(), L"LoadPicture " + Img(L"bmp1-2.bmp")), 2);
}

TEST_F(ButtonStates, HandlersCalledForOtherIndexesFollowTheSeriesRule) {
  // Only members of cmd receive events; the handlers ignore any other index.
  for (std::int16_t index : kNonMembers) {
    form->cmd_MouseMove(index);
    form->cmd_MouseDown(index);
    form->cmd_MouseUp(index);
  }
  EXPECT_TRUE(Loads().empty());
  // Series "cmd" would load its "-3" hover and "-1" press and release pictures.
  form->cmd(6)->SetTag(L"");
  EXPECT_THROW(form->cmd_MouseMove(6), rt::RunTimeError);
  EXPECT_EQ(Loads().back(), L"LoadPicture " + Img(L"cmd7-3.bmp"));
  EXPECT_THROW(form->cmd_MouseUp(9), rt::RunTimeError);
  EXPECT_EQ(Loads().back(), L"LoadPicture " + Img(L"cmd10-1.bmp"));
}

}  // namespace
}  // namespace menu

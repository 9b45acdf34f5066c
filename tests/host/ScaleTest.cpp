// The menu at display scales above 96 DPI: scaled figures that still meet, the layout and its
// hit-testing, the outline of a scaled skin, the choice among pictures drawn for a scale, and a
// move to a screen of another scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "PictureScaling.h"
#include "RunTimeError.h"
#include "Scale.h"
#include "SkinOutline.h"

namespace menu {
namespace {

using namespace testing;

TEST(Scale, DesignPixelsBecomeWholeBlocksThatMeet) {
  for (const int dpi : {96, 120, 144, 168, 192, 288}) {
    SCOPED_TRACE(dpi);
    const int floor = dpi / 96;
    const int ceil = (dpi + 95) / 96;
    for (int p = 0; p < 1000; ++p) {
      const int block = rt::Scaled(p + 1, dpi) - rt::Scaled(p, dpi);
      ASSERT_TRUE(block == floor || block == ceil) << "pixel " << p << " becomes " << block;
    }
    // A rectangle's scaled edges are its neighbours' scaled edges.
    EXPECT_EQ(rt::Scaled(rt::PixelRect{0, 0, 800, 57}, dpi).bottom, rt::Scaled(57, dpi));
  }
  EXPECT_EQ(rt::Scaled(209, 144), 314);  // 313.5 rounds up
  EXPECT_EQ(rt::ScalePercent(120), 125);
  EXPECT_EQ(rt::ScalePercent(168), 175);
}

TEST(Scale, TheWindowTakesTheLargestScaleThatFitsItsWorkArea) {
  const struct {
    int dpi, workWidth, workHeight, expected;
  } cases[] = {
      {96, 1024, 768, 96},    {144, 1920, 1040, 144}, {192, 1920, 1040, 144},
      {192, 1600, 1200, 192}, {192, 1599, 1200, 168}, {288, 1280, 1024, 144},
      {144, 800, 600, 96},    {144, 640, 480, 96},    {72, 1920, 1080, 96},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::FittingDpi(c.dpi, 800, 600, c.workWidth, c.workHeight), c.expected)
        << c.dpi << " DPI in " << c.workWidth << " x " << c.workHeight;
  }
}

TEST(Scale, TheWindowIsCentredInItsWorkArea) {
  const struct {
    rt::PixelRect work;
    int width, height;
    rt::PixelPoint corner;
  } cases[] = {
      {{0, 0, 1024, 768}, 799, 600, {112, 84}},
      {{0, 40, 1920, 1080}, 800, 600, {560, 260}},    // a taskbar along the top
      {{-1280, 0, 0, 1024}, 800, 600, {-1040, 212}},  // left of the primary screen
      {{0, 0, 801, 601}, 800, 600, {0, 0}},           // an odd pixel left over goes right and down
      {{0, 0, 640, 480}, 800, 600, {-80, -60}},       // too small: it overhangs equally
      {{0, 0, 800, 600}, 801, 601, {0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::CentredIn(c.work, c.width, c.height), c.corner)
        << c.work.left << "," << c.work.top << " " << c.width << " x " << c.height;
  }
}

TEST_F(MenuTest, TheWindowOpensCentredAtItsDesignedSize) {
  platform.workArea = {0, 40, 1920, 1080};
  Start();
  EXPECT_EQ(platform.windowCorner, (rt::PixelPoint{560, 260}));  // 799 x 600 in 1920 x 1040
}

class Scaled : public MenuTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    platform.screenDpi = GetParam();
    platform.workArea = {0, 0, 4000, 3000};
    Start();
  }
  int S(int pixels) const { return rt::Scaled(pixels, GetParam()); }
};

TEST_P(Scaled, WindowControlsAndPointerFollowTheScale) {
  EXPECT_EQ(platform.windowWidth, S(800));
  EXPECT_EQ(platform.windowHeight, S(600));
  EXPECT_EQ(form->Picture1().Bounds(), (rt::PixelRect{0, 0, S(800), S(57)}));
  EXPECT_EQ(form->cmd(0)->Bounds(),
            (rt::PixelRect{S(96), S(200), S(96) + S(113), S(200) + S(122)}));
  EXPECT_EQ(form->cmd(14)->Bounds().left, S(632));
  EXPECT_EQ(form->cmd(6)->Bounds(), (rt::PixelRect{S(192), S(472), S(304), S(507)}));
  // The pointer finds the buttons where they are now, and only there.
  const rt::PixelRect button = form->cmd(1)->Bounds();
  Move(button.right, button.bottom);  // just outside
  EXPECT_EQ(Tag(1), L"");
  Move(button.right - 1, button.bottom - 1);
  EXPECT_EQ(Tag(1), L"1");
  Down(S(400), S(20));  // the strip drags
  EXPECT_EQ(platform.Lines(L"DragWindow").size(), 1u);
}

TEST_P(Scaled, AScaledSkinLosesEachBlackCornerPixelsBlock) {
  // Black at the corner areas' inner edges and just outside them.
  const std::set<std::pair<int, int>> black = {{60, 60}, {61, 60},   {0, 0},  {740, 540},
                                               {739, 0}, {799, 599}, {60, 61}};
  platform.files[Img(L"main.bmp")] = BitmapFile(800, 600, [&](int x, int y) {
    return black.count({x, y}) != 0 ? 0u : 0x00808080u;
  });
  form.reset();
  Start();
  const int dpi = GetParam();
  for (const auto& [px, py] : black) {
    // In a corner area of the design: x from 0 to 60 or 740 on, y from 0 to 60 or 540 on.
    const bool hole = (px <= 60 || px >= 740) && (py <= 60 || py >= 540);
    for (int y = S(py); y < S(py + 1); ++y) {
      for (int x = S(px); x < S(px + 1); ++x) {
        const bool inWindow =
            std::any_of(platform.windowRegion.begin(), platform.windowRegion.end(),
                        [&](const rt::PixelRect& r) { return r.Contains(x, y); });
        EXPECT_EQ(inWindow, !hole) << "design pixel " << px << "," << py << " at " << x << "," << y
                                   << ", " << dpi << " DPI";
      }
    }
  }
  int covered = 0;
  for (const rt::PixelRect& r : platform.windowRegion) covered += r.Width() * r.Height();
  int holes = 0;
  for (const auto& [px, py] : black) {
    if (IsHole(S(px), S(py), 0, S(800), S(600), dpi)) {
      holes += (S(px + 1) - S(px)) * (S(py + 1) - S(py));
    }
  }
  EXPECT_EQ(S(800) * S(600) - covered, holes);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Scaled, ::testing::Values(120, 144, 192));

// Which file serves a picture at a scale, and whether the program scales it.
TEST(ScaledPictures, TheNearestQualifierAtOrAboveElseTheLargestBelowElseThePlainFile) {
  const struct {
    int dpi;
    std::vector<int> present;  // qualifiers of main.scale-N.bmp on the medium
    const wchar_t* loaded;
    int width;         // of the picture shown, for a plain file 80 pixels wide
    std::size_t made;  // pictures scaled by the program: none where a file fits the scale
  } cases[] = {
      {144, {}, L"main.bmp", 120, 1},
      {144, {150}, L"main.scale-150.bmp", 120, 0},
      {144, {125, 200}, L"main.scale-200.bmp", 120, 1},
      {144, {125}, L"main.scale-125.bmp", 120, 1},
      {120, {150, 200}, L"main.scale-150.bmp", 100, 1},
      {192, {125, 150}, L"main.scale-150.bmp", 160, 1},
      {192, {200, 400}, L"main.scale-200.bmp", 160, 0},
      {168, {200}, L"main.scale-200.bmp", 140, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " DPI, " + std::to_string(c.present.size()) + " files");
    rt::FakePlatform platform;
    platform.files[L"C:\\img\\main.bmp"] = BitmapFile(80, 60);
    for (const int q : c.present) {
      platform.files[L"C:\\img\\main.scale-" + std::to_wstring(q) + L".bmp"] =
          BitmapFile(80 * q / 100, 60 * q / 100);
    }
    ScaledPictures pictures(platform);
    pictures.SetDpi(c.dpi);
    const rt::Picture first = pictures.Load(L"C:\\img\\main.bmp");
    const rt::Picture second = pictures.Load(L"C:\\img\\main.bmp");
    EXPECT_EQ(platform.Lines(L"LoadPicture").back(),
              L"LoadPicture C:\\img\\" + std::wstring(c.loaded));
    EXPECT_EQ(first.Width(), c.width);
    // Made once per file and scale, however often it is loaded.
    EXPECT_EQ(first.Data(), second.Data());
    EXPECT_EQ(platform.Lines(L"MakePicture").size(), c.made);
  }
}

TEST(ScaledPictures, AQualifiedFileThatIsBrokenOrGoneIsAnErrorNotAFallback) {
  rt::FakePlatform platform;
  platform.files[L"C:\\img\\bmp1-2.bmp"] = BitmapFile(113, 122);
  const std::string text = "not a picture";
  platform.files[L"C:\\img\\bmp1-2.scale-150.bmp"] = rt::FileBytes(text.begin(), text.end());
  ScaledPictures pictures(platform);
  pictures.SetDpi(144);
  try {
    pictures.Load(L"C:\\img\\bmp1-2.bmp");
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrInvalidPicture);
    EXPECT_EQ(error.Subject(), L"C:\\img\\bmp1-2.scale-150.bmp");
  }
  platform.files[L"C:\\img\\bmp1-2.scale-150.bmp"] = BitmapFile(170, 183);
  EXPECT_EQ(pictures.Load(L"C:\\img\\bmp1-2.bmp").Width(), 170);
  platform.files.erase(L"C:\\img\\bmp1-2.scale-150.bmp");
  try {
    pictures.Load(L"C:\\img\\bmp1-2.bmp");
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
  }
}

TEST(ScaledPictures, EnlargedPixelsKeepTheirColoursInWholeBlocks) {
  rt::FakePlatform platform;
  platform.files[L"C:\\p.bmp"] = BitmapFile(3, 2, [](int x, int y) {
    return static_cast<std::uint32_t>(y * 3 + x);  // every pixel its own colour
  });
  const rt::Picture source = platform.LoadPicture(L"C:\\p.bmp");
  const rt::ScaledPixels scaled = rt::ScaleNearest(*source.Data(), 144, 96);
  ASSERT_EQ(scaled.width, 5);  // 4.5 rounds up
  ASSERT_EQ(scaled.height, 3);
  const std::vector<std::uint32_t> expected = {0, 0, 1, 2, 2, 0, 0, 1, 2, 2, 3, 3, 4, 5, 5};
  EXPECT_EQ(scaled.pixels, expected);
}

TEST_F(MenuTest, AMoveToAScreenOfAnotherScaleShowsEverythingAgainForIt) {
  platform.workArea = {0, 0, 4000, 3000};
  Start();
  Move(kButton0X, kButton0Y);
  platform.log.clear();
  platform.events->OnDpiChanged(192);
  EXPECT_EQ(platform.windowWidth, 1600);
  EXPECT_EQ(platform.windowHeight, 1200);
  EXPECT_EQ(platform.Lines(L"SetWindowRgn").size(), 1u);
  EXPECT_EQ(form->cmd(0)->Bounds(), (rt::PixelRect{192, 400, 192 + 226, 400 + 244}));
  EXPECT_EQ(Shows(0), L"made 226x244");  // the hover look, scaled
  EXPECT_EQ(platform.Lines(L"LoadPicture " + Img(L"bmp1-3.bmp")).size(), 1u);
  EXPECT_EQ(Tag(0), L"1");
}

}  // namespace
}  // namespace menu

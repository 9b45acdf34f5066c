// PNG files on the disc: which file serves a picture's name where PNG files lie beside or instead
// of the bitmaps, at the design's scale and at others.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlphaOutline.h"
#include "MenuFixture.h"
#include "PathRule.h"
#include "PictureScaling.h"
#include "PngWriter.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using namespace testing;

// A white PNG file of the given size, opaque but where `alpha` gives another alpha.
rt::FileBytes PngFile(std::uint32_t width, std::uint32_t height,
                      const std::function<std::uint8_t(int x, int y)>& alpha = nullptr) {
  pngio::Image image;
  image.width = width;
  image.height = height;
  image.colourType = 6;
  image.bitDepth = 8;
  image.samples.assign(std::size_t{width} * height * 4, 255);
  for (std::uint32_t i = 0; alpha && i < width * height; ++i) {
    image.samples[i * 4 + 3] = alpha(static_cast<int>(i % width), static_cast<int>(i / width));
  }
  return pngio::Write(image);
}

TEST(PngPictures, APngFileServesBeforeTheBitmapOfItsNameAtEachScale) {
  const struct {
    int dpi;
    std::vector<std::wstring> present;  // in C:\img
    const wchar_t* loaded;              // empty: refused, naming main.bmp as missing
  } cases[] = {
      {96, {L"main.bmp"}, L"main.bmp"},
      {96, {L"main.bmp", L"main.png"}, L"main.png"},
      {96, {L"main.png"}, L"main.png"},
      {96, {L"main.scale-125.png"}, L""},
      {96, {}, L""},
      {144, {L"main.bmp", L"main.png"}, L"main.png"},
      {144, {L"main.png", L"main.scale-150.bmp"}, L"main.scale-150.bmp"},
      {144, {L"main.scale-150.bmp", L"main.scale-150.png"}, L"main.scale-150.png"},
      {144, {L"main.bmp", L"main.scale-125.png", L"main.scale-200.bmp"}, L"main.scale-200.bmp"},
      {192, {L"main.bmp", L"main.scale-150.png"}, L"main.scale-150.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_wstring(c.dpi) + L" DPI, " + c.loaded);
    rt::FakePlatform platform;
    for (const std::wstring& name : c.present) {
      platform.files[L"C:\\img\\" + name] =
          name.ends_with(L".png") ? PngFile(8, 6) : BitmapFile(8, 6);
    }
    ScaledPictures pictures(platform);
    pictures.SetDpi(c.dpi);
    try {
      pictures.Load(L"C:\\img\\main.bmp");
      EXPECT_EQ(platform.Lines(L"LoadPicture").back(),
                L"LoadPicture C:\\img\\" + std::wstring(c.loaded));
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(std::wstring(c.loaded), L"");
      EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
      EXPECT_EQ(error.Subject(), L"C:\\img\\main.bmp");
    }
  }
}

TEST(PngPictures, OnlyABitmapNameHasAPngAlternative) {
  EXPECT_EQ(PngAlternative(L"D:\\IMG\\MAIN.BMP"), L"D:\\IMG\\MAIN.png");
  EXPECT_EQ(PngAlternative(L"img\\bmp1-2.Bmp"), L"img\\bmp1-2.png");
  EXPECT_EQ(PngAlternative(L"img\\skin.png"), L"");
  EXPECT_EQ(PngAlternative(L"img\\bmp"), L"");
  EXPECT_EQ(PngAlternative(L"bmp"), L"");
}

// A disc of PNG files only, its skin and buttons under any Skin= and Pictures= bases, runs as a
// bitmap disc does.
TEST_F(MenuTest, APngOnlyDiscShowsItsSkinAndButtons) {
  platform.files.clear();
  platform.files[Img(L"main.png")] = PngFile(800, 600);
  for (const wchar_t* look : {L"1", L"2", L"3"}) {
    for (const wchar_t* number : {L"1", L"2", L"3", L"4"}) {
      platform.files[Img(L"bmp" + std::wstring(number) + L"-" + look + L".png")] =
          PngFile(113, 122);
    }
    platform.files[Img(L"bmp15-" + std::wstring(look) + L".png")] = PngFile(80, 28);
  }
  Start();
  EXPECT_EQ(form->SkinWidth(), 800);
  EXPECT_EQ(static_cast<const rt::FakePicture*>(form->Form().CurrentPicture().Data())->Source(),
            Img(L"main.png"));
  EXPECT_EQ(Shows(0), L"bmp1-2.png");
  EXPECT_EQ(Shows(14), L"bmp15-2.png");
}

// Half-transparent (200, 100, 40) over grey (128, 128, 128) is (164, 114, 84), as a compositing
// window system blends it; alpha 0 shows what lies under, 255 the picture; past the edge of the
// picture under it, black lies under.
TEST(PngPictures, APictureWithAlphaBlendsOverWhatLiesUnderIt) {
  const rt::FakePicture under(L"skin", 3, 1, std::vector<std::uint32_t>(3, 0x808080u));
  const rt::FakePicture top(L"button", 4, 1, {0x2864C8u, 0x2864C8u, 0x2864C8u, 0x2864C8u},
                            {128, 0, 255, 128});
  const rt::ScaledPixels blended = rt::BlendOver(top, under, 0, 0);
  EXPECT_EQ(blended.pixels,
            (std::vector<std::uint32_t>{0x5472A4u, 0x808080u, 0x2864C8u, 0x143264u}));
  EXPECT_TRUE(blended.alpha.empty());
  EXPECT_EQ(rt::BlendOver(top, under, -1, 0).pixels,
            (std::vector<std::uint32_t>{0x143264u, 0x808080u, 0x2864C8u, 0x5472A4u}));
  const rt::FakePicture opaque(L"button", 1, 1, {0x2864C8u}, {255});
  EXPECT_TRUE(rt::BlendOver(opaque, under, 0, 0).pixels.empty());
}

// A button picture with alpha is shown blended over the skin at its place, in every look; a bitmap
// button is shown as it is.
TEST_F(MenuTest, AButtonWithAlphaIsShownOverTheSkin) {
  platform.files[Img(L"main.bmp")] = BitmapFile(800, 600, [](int, int) { return 0x808080u; });
  const rt::FileBytes half = PngFile(113, 122, [](int, int) { return std::uint8_t{128}; });
  platform.files[Img(L"bmp1-2.png")] = half;
  platform.files[Img(L"bmp1-3.png")] = half;
  Start();
  auto pixel = [&](std::int16_t index) {
    std::uint32_t value = 0;
    form->cmd(index)->CurrentPicture().Data()->ReadPixels({5, 5, 6, 6}, &value);
    return value;
  };
  EXPECT_EQ(pixel(0), 0xC0C0C0u);  // white at half over grey
  EXPECT_EQ(pixel(1), 0xFFFFFFu);
  Move(kButton0X, kButton0Y);
  EXPECT_EQ(pixel(0), 0xC0C0C0u);
  EXPECT_EQ(platform.Lines(L"MakePicture").size(), 1u);  // the normal look's is kept
}

class PngSkin : public MenuTest, public ::testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Dpi, PngSkin, ::testing::Values(96, 192));

// A skin with alpha has its holes wherever alpha is 0: in the corners, inside the window and along
// its edges; half-transparent pixels stay in the window. Rows with the same runs form one band.
TEST(PngPictures, TheOutlineOfASkinWithAlphaLeavesOutItsTransparentPixels) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> transparent;  // of a 6 x 4 skin
    std::vector<rt::PixelRect> outline;
  } cases[] = {
      {"opaque", {}, {{0, 0, 6, 4}}},
      {"a hole inside", {{2, 1}}, {{0, 0, 6, 1}, {0, 1, 2, 2}, {3, 1, 6, 2}, {0, 2, 6, 4}}},
      {"two corners", {{0, 0}, {5, 0}, {0, 3}}, {{1, 0, 5, 1}, {0, 1, 6, 3}, {1, 3, 6, 4}}},
      {"a transparent row",
       {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}},
       {{0, 0, 6, 2}, {0, 3, 6, 4}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> alpha(24, 128);  // half-transparent stays
    for (const auto& [x, y] : c.transparent) alpha[static_cast<std::size_t>(y * 6 + x)] = 0;
    const rt::FakePicture skin(L"skin", 6, 4, std::vector<std::uint32_t>(24, 0), alpha);
    EXPECT_EQ(AlphaOutlineRects(skin), c.outline);
  }
  const rt::FakePicture bitmap(L"skin", 6, 4, std::vector<std::uint32_t>(24, 0));
  EXPECT_FALSE(AlphaOutlineRects(bitmap).has_value());
}

TEST(PngPictures, NearestNeighbourScalingKeepsEachPixelsAlpha) {
  const rt::FakePicture picture(L"p", 3, 1, {1, 2, 3}, {0, 128, 255});
  const rt::ScaledPixels scaled = rt::ScaleNearest(picture, 2, 1);
  EXPECT_EQ(scaled.pixels, (std::vector<std::uint32_t>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(scaled.alpha,
            (std::vector<std::uint8_t>{0, 0, 128, 128, 255, 255, 0, 0, 128, 128, 255, 255}));
  EXPECT_TRUE(rt::ScaleNearest(rt::FakePicture(L"b", 1, 1, {7}), 2, 1).alpha.empty());
}

// A PNG skin's window leaves out its transparent pixels at 96 DPI and at 200 %, wherever they lie;
// its black pixels in the corners stay, as they are opaque.
TEST_P(PngSkin, HolesFollowAlphaNotBlackCorners) {
  platform.screenDpi = GetParam();
  platform.workArea = {0, 0, 4000, 3000};
  platform.files.erase(Img(L"main.bmp"));
  platform.files[Img(L"main.png")] =
      PngFile(800, 600, [](int x, int y) { return x == 400 && y == 300 ? 0 : 255; });
  Start();
  const int s = GetParam() / 96;
  EXPECT_EQ(platform.windowRegion.size(), 4u);
  EXPECT_EQ(platform.windowRegion[1], (rt::PixelRect{0, 300 * s, 400 * s, 301 * s}));
  EXPECT_EQ(platform.windowRegion[2], (rt::PixelRect{401 * s, 300 * s, 800 * s, 301 * s}));
  EXPECT_TRUE(platform.windowAlpha.empty());  // holes need no per-pixel alpha
}

// A hover look larger than the normal one that reaches half-transparent pixels drawn behind the
// window makes the whole window drawn with alpha, and it stays so: cut to the opaque pixels, the
// window would cut the look off.
TEST_F(MenuTest, ALargerHoverLookOverSoftPixelsDrawsTheWholeWindow) {
  platform.files.erase(Img(L"main.bmp"));
  platform.files[Img(L"main.png")] = PngFile(800, 600, [](int x, int y) {
    return static_cast<std::uint8_t>(x == 225 && y == 205 ? 128 : 255);
  });
  platform.files[Img(L"bmp1-3.bmp")] = BitmapFile(140, 140);
  Start();
  EXPECT_EQ(platform.windowAlphaDrawing, rt::AlphaDrawing::kSoftBehind);
  Move(kButton0X, kButton0Y);
  EXPECT_EQ(platform.windowAlphaDrawing, rt::AlphaDrawing::kWhole);
  EXPECT_EQ(platform.windowRegion.size(), 1u);  // the outline keeps the half-transparent pixel
  Move(kSkinX, kSkinY);
  EXPECT_EQ(platform.Lines(L"SetWindowAlpha").size(), 1u);
}

// A skin with half-transparent pixels draws the window with each pixel's alpha, at the window's
// scale; its transparent pixels are still holes in the outline.
TEST_P(PngSkin, HalfTransparentPixelsGiveTheWindowTheirAlpha) {
  platform.screenDpi = GetParam();
  platform.workArea = {0, 0, 4000, 3000};
  platform.files.erase(Img(L"main.bmp"));
  platform.files[Img(L"main.png")] = PngFile(800, 600, [](int x, int y) {
    return static_cast<std::uint8_t>(x == 400 && y == 300 ? 0 : x < 2 ? 64 * x + 1 : 255);
  });
  Start();
  const int s = GetParam() / 96;
  const auto width = static_cast<std::size_t>(800 * s);
  ASSERT_EQ(platform.windowAlpha.size(), width * static_cast<std::size_t>(600 * s));
  const auto alpha = [&](int x, int y) {
    return platform
        .windowAlpha[static_cast<std::size_t>(y * s) * width + static_cast<std::size_t>(x * s)];
  };
  EXPECT_EQ(alpha(0, 0), 1);
  EXPECT_EQ(alpha(1, 599), 65);
  EXPECT_EQ(alpha(2, 0), 255);
  EXPECT_EQ(alpha(400, 300), 0);
  // The soft edge lies clear of the buttons: drawn behind the window, which keeps the opaque.
  EXPECT_EQ(platform.windowAlphaDrawing, rt::AlphaDrawing::kSoftBehind);
  EXPECT_EQ(platform.windowRegion.size(), 4u);
  EXPECT_EQ(platform.windowRegion[0], (rt::PixelRect{2 * s, 0, 800 * s, 300 * s}));
}

// Half-transparent pixels that a button or its focus rectangle covers, or that leave nothing
// opaque, make the whole window drawn with alpha, its outline keeping them.
TEST(PngSkinAlpha, SoftPixelsUnderAButtonDrawTheWholeWindowWithAlpha) {
  const struct {
    const char* what;
    int x, y;  // the one soft pixel; (-1, -1): all of them
    rt::AlphaDrawing drawing;
    std::size_t outlinesSet;  // cut to the opaque pixels first, where there are any
  } cases[] = {
      {"clear of the buttons", 300, 100, rt::AlphaDrawing::kSoftBehind, 1},
      {"on the first button", 100, 250, rt::AlphaDrawing::kWhole, 2},
      {"under its focus rectangle", 94, 198, rt::AlphaDrawing::kWhole, 2},
      {"everywhere", -1, -1, rt::AlphaDrawing::kWhole, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    rt::FakePlatform platform;
    AddMenuFiles(platform, platform.programFolder);
    const std::wstring img = platform.programFolder + L"\\img\\";
    platform.files.erase(img + L"main.bmp");
    platform.files[img + L"main.png"] = PngFile(800, 600, [&](int x, int y) {
      return static_cast<std::uint8_t>(c.x < 0 || (x == c.x && y == c.y) ? 128 : 255);
    });
    std::unique_ptr<frmMain> form;
    Module1::Main(platform, form);
    EXPECT_EQ(platform.windowAlphaDrawing, c.drawing);
    const bool behind = c.drawing == rt::AlphaDrawing::kSoftBehind;
    EXPECT_EQ(platform.windowRegion.size(), behind ? 4u : 1u);
    EXPECT_EQ(platform.Lines(L"SetWindowRgn").size(), c.outlinesSet);
  }
}

}  // namespace
}  // namespace menu

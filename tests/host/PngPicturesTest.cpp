// PNG files on the disc: which file serves a picture's name where PNG files lie beside or instead
// of the bitmaps, at the design's scale and at others.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MenuFixture.h"
#include "PathRule.h"
#include "PngWriter.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using namespace testing;

// An opaque PNG file of the given size.
rt::FileBytes PngFile(std::uint32_t width, std::uint32_t height) {
  pngio::Image image;
  image.width = width;
  image.height = height;
  image.colourType = 6;
  image.bitDepth = 8;
  image.samples.assign(std::size_t{width} * height * 4, 255);
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

}  // namespace
}  // namespace menu

// Every picture of the corpus through the menu on the recording platform: a refused file reaches
// the user as the run-time error naming it, and never a decoder; a valid one is decoded once and
// shows its pattern, holes included. A file decoded before is decoded again only once it changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

#include "MenuFixture.h"
#include "RunTimeError.h"
#include "corpus.h"

namespace menu {
namespace {

using corpus::Case;
using corpus::Expect;
using corpus::Kind;
using corpus::Source;

const std::vector<Case>& AllCases() { return corpus::Cases(); }

std::string Lower(const std::wstring& text) {
  std::string out;
  for (const wchar_t ch : text) {
    out += ch < 0x80 ? static_cast<char>(std::tolower(static_cast<int>(ch))) : '?';
  }
  return out;
}

// One case on a menu of its own: a skin is read at start-up, a button picture when the pointer
// first comes onto button 0.
class MenuWithCase {
 public:
  explicit MenuWithCase(const Case& c) : case_(c) {
    testing::AddMenuFiles(platform, platform.programFolder);
    const std::wstring path = Path();
    platform.files.erase(path);
    if (c.source == Source::kFile) platform.files[path] = c.bytes;
    if (c.source == Source::kFolder) platform.folders.insert(path);
  }

  bool IsSkin() const { return case_.kind == Kind::kSkin; }
  std::wstring Path() const {
    return platform.programFolder + (IsSkin() ? L"\\img\\main.bmp" : L"\\img\\bmp1-3.bmp");
  }

  void Run() {
    Module1::Main(platform, form);
    if (IsSkin()) return;
    rt::PointerEvent move;
    move.x = testing::kButton0X;
    move.y = testing::kButton0Y;
    platform.events->OnPointer(move);
  }

  long Loads() const {
    const auto loads = platform.Lines(L"LoadPicture " + Path());
    return static_cast<long>(loads.size());
  }
  long Decodes() const {
    return static_cast<long>(
        std::count_if(platform.decoded.begin(), platform.decoded.end(),
                      [&](const std::wstring& line) { return line.ends_with(L" " + Path()); }));
  }

  const rt::Picture& Shown() {
    return IsSkin() ? form->Form().CurrentPicture() : form->cmd(0)->CurrentPicture();
  }

  bool InWindow(int x, int y) const {
    return std::any_of(platform.windowRegion.begin(), platform.windowRegion.end(),
                       [&](const rt::PixelRect& rect) { return rect.Contains(x, y); });
  }

 private:
  const Case& case_;
  rt::FakePlatform platform;
  std::unique_ptr<frmMain> form;
};

TEST(PictureGate, RefusedFilesAreReportedAndNeverDecoded) {
  int checked = 0;
  for (const Case& c : AllCases()) {
    if (c.expect != Expect::kRefused) continue;
    SCOPED_TRACE(c.name);
    ++checked;
    MenuWithCase menu(c);
    try {
      menu.Run();
      ADD_FAILURE() << "no error raised";
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), c.error);
      EXPECT_EQ(error.Action(), L"Could not load the picture");
      EXPECT_EQ(error.Subject(), menu.Path());
      const std::string report = Lower(rt::FormatErrorReport(error));
      EXPECT_NE(report.find(Lower(std::wstring(c.reason.begin(), c.reason.end()))),
                std::string::npos)
          << report;
    }
    EXPECT_EQ(menu.Decodes(), 0);
  }
  EXPECT_GE(checked, 44);
}

TEST(PictureGate, ValidFilesAreDecodedOnceAndShowTheirPattern) {
  int checked = 0;
  for (const Case& c : AllCases()) {
    if (c.expect == Expect::kRefused) continue;
    SCOPED_TRACE(c.name);
    ++checked;
    MenuWithCase menu(c);
    ASSERT_NO_THROW(menu.Run());
    // A skin is loaded five times at start-up, and decoded once.
    EXPECT_EQ(menu.Decodes(), 1);
    EXPECT_GE(menu.Loads(), 1);
    for (const corpus::Sample& s : c.samples) {
      std::uint32_t pixel = 0xFFFFFFFFu;
      menu.Shown().Data()->ReadPixels({s.x, s.y, s.x + 1, s.y + 1}, &pixel);
      const int r = static_cast<int>(pixel & 0xFF);
      const int g = static_cast<int>((pixel >> 8) & 0xFF);
      const int b = static_cast<int>((pixel >> 16) & 0xFF);
      EXPECT_LE(std::abs(r - s.colour.r) + std::abs(g - s.colour.g) + std::abs(b - s.colour.b), 24)
          << "at " << s.x << "," << s.y;
      if (menu.IsSkin()) {
        EXPECT_EQ(menu.InWindow(s.x, s.y), !s.hole) << "at " << s.x << "," << s.y;
      }
    }
  }
  EXPECT_GE(checked, 22);
}

// Uncompressed files behind an info header are copied from the bytes already read; compressed and
// OS/2 files go to the system's decoder, which reads the file itself.
TEST(PictureGateRoute, UncompressedPixelsAreCopiedTheRestGoesToTheSystem) {
  const struct {
    const char* name;
    const wchar_t* route;
  } routes[] = {{"skin-24bit", L"copy"},        {"skin-32bit", L"copy"},
                {"skin-16bit-565", L"copy"},    {"skin-8bit", L"copy"},
                {"skin-v5", L"copy"},           {"skin-topdown-24bit", L"copy"},
                {"skin-rle8", L"system"},       {"skin-rle4", L"system"},
                {"skin-core-24bit", L"system"}, {"skin-core-8bit", L"system"}};
  for (const auto& route : routes) {
    SCOPED_TRACE(route.name);
    const auto it = std::find_if(AllCases().begin(), AllCases().end(),
                                 [&](const Case& c) { return c.name == route.name; });
    ASSERT_NE(it, AllCases().end());
    rt::FakePlatform platform;
    platform.files[L"C:\\skin.bmp"] = it->bytes;
    ASSERT_TRUE(platform.LoadPicture(L"C:\\skin.bmp"));
    EXPECT_EQ(platform.decoded,
              std::vector<std::wstring>{std::wstring(route.route) + L" C:\\skin.bmp"});
  }
}

// The second load of a file gives the picture decoded by the first only while the file is the same.
TEST(PictureGateReuse, OnlyAnUnchangedFileIsNotReadAgain) {
  const std::wstring path = L"C:\\Menu\\img\\bmp1-3.bmp";
  const rt::FileBytes red = testing::BitmapFile(4, 4, [](int, int) { return 0x0000FFu; });
  const rt::FileBytes blue = testing::BitmapFile(4, 4, [](int, int) { return 0xFF0000u; });
  const std::string text = "not a picture";
  const struct {
    const char* what;
    std::optional<rt::FileBytes> second;  // the file at the second load; none: deleted
    int error;                            // the second load's error number, 0 for none
    std::size_t decodes;
    std::uint32_t colour;  // of the second picture
  } cases[] = {
      {"unchanged", red, 0, 1, 0x0000FFu},
      {"replaced", blue, 0, 2, 0xFF0000u},
      {"deleted", std::nullopt, rt::kErrFileNotFound, 1, 0},
      {"broken", rt::FileBytes(text.begin(), text.end()), rt::kErrInvalidPicture, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    rt::FakePlatform platform;
    platform.files[path] = red;
    const rt::Picture first = platform.LoadPicture(path);
    platform.files.erase(path);
    if (c.second) platform.files[path] = *c.second;
    try {
      const rt::Picture second = platform.LoadPicture(path);
      EXPECT_EQ(c.error, 0) << "no error raised";
      EXPECT_EQ(second.Data() == first.Data(), c.decodes == 1);
      std::uint32_t pixel = 0;
      second.Data()->ReadPixels({0, 0, 1, 1}, &pixel);
      EXPECT_EQ(pixel, c.colour);
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), c.error);
    }
    EXPECT_EQ(platform.decoded.size(), c.decodes);
    // After a failure the file is read again once it is back, never taken from before.
    if (c.error != 0) {
      platform.files[path] = red;
      EXPECT_NE(platform.LoadPicture(path).Data(), first.Data());
    }
  }
}

// Within one batch a path is opened once; the batch closed, a replaced file is read again.
TEST(PictureGateReuse, ABatchOpensEachPathOnce) {
  const std::wstring path = L"C:\\Menu\\img\\main.bmp";
  rt::FakePlatform platform;
  platform.files[path] = testing::BitmapFile(4, 4, [](int, int) { return 0x0000FFu; });
  rt::Picture first;
  {
    const rt::Platform::PictureBatch batch(platform);
    const rt::Platform::PictureBatch inner(platform);
    first = platform.LoadPicture(path);
    platform.files[path] = testing::BitmapFile(4, 4, [](int, int) { return 0xFF0000u; });
    EXPECT_EQ(platform.LoadPicture(path).Data(), first.Data());
  }
  EXPECT_EQ(platform.opened.size(), 1u);
  EXPECT_NE(platform.LoadPicture(path).Data(), first.Data());
  EXPECT_EQ(platform.decoded.size(), 2u);
}

}  // namespace
}  // namespace menu

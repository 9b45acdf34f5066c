// skincheck on distribution folders made for each test: a folder like the demo passes, every kind
// of fault is reported with its file and severity, the exit status follows the errors, and the
// preview shows the skin, the buttons' normal looks and the outline's holes where they belong.
#include "SkinCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BitmapCheck.h"
#include "Bytes.h"
#include "Page.h"
#include "PngWriter.h"
#include "ReferenceDecoder.h"
#include "corpus.h"

namespace skincheck {
namespace {

namespace fs = std::filesystem;
using bmpio::Rgb;

constexpr Rgb kSkinColour{40, 80, 160};
constexpr Rgb kBlack{0, 0, 0};

// The normal look of each button has its own colour; pressed and hover looks share another.
Rgb NormalColour(int number) { return Rgb{200, static_cast<std::uint8_t>(number * 10), 20}; }
constexpr Rgb kOtherLook{10, 220, 10};

constexpr int kButtonNumbers[] = {1, 2, 3, 4, 15};

std::vector<Rgb> Solid(int width, int height, Rgb colour) {
  return std::vector<Rgb>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                          colour);
}

class SkinCheckTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = fs::temp_directory_path() /
              ("skincheck-" + test + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_ / "img");
    fs::create_directories(folder_ / "ZENT");
    WriteSkin(800, 600);
    for (const int number : kButtonNumbers) {
      const int width = number == 15 ? 80 : 113;
      const int height = number == 15 ? 28 : 122;
      WriteButton(number, "-2", width, height, NormalColour(number));
      WriteButton(number, "-1", width, height, kOtherLook);
      WriteButton(number, "-3", width, height, kOtherLook);
    }
    for (const char* name :
         {"TEV_setup.exe", "MOLAN_setup.exe", "PIRUK_setup.exe", "DASEF_setup.exe"}) {
      Write("ZENT/" + std::string(name), {'M', 'Z'});
    }
    Write("menu.exe", {'M', 'Z'});
    WriteText("autorun.inf", "[autorun]\r\nopen=menu.exe\r\nicon=menu.exe,0\r\nlabel=Example\r\n");
  }

  void TearDown() override {
    std::error_code error;
    fs::remove_all(folder_, error);
  }

  void Write(const std::string& name, const bmpio::Bytes& bytes) {
    bmpio::WriteFile(folder_ / name, bytes);
  }
  void WriteText(const std::string& name, std::string_view text) {
    Write(name, bmpio::Bytes(text.begin(), text.end()));
  }

  // A skin of one colour with black squares in its top-left and bottom-right corners, and a black
  // pixel in the middle, which is no hole.
  void WriteSkin(int width, int height, bool topDown = false, int square = 10) {
    std::vector<Rgb> pixels = Solid(width, height, kSkinColour);
    auto at = [&](int x, int y) -> Rgb& {
      return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < square && y < height; ++y) {
      for (int x = 0; x < square && x < width; ++x) {
        at(x, y) = kBlack;
        at(width - 1 - x, height - 1 - y) = kBlack;
      }
    }
    at(width / 2, height / 2) = kBlack;
    Write("img/main.bmp", bmpio::Write24(width, height, pixels, topDown));
  }

  void WriteButton(int number, const std::string& look, int width, int height, Rgb colour) {
    Write("img/bmp" + std::to_string(number) + look + ".bmp",
          bmpio::Write24(width, height, Solid(width, height, colour)));
  }

  Result Check(bool preview = false, int dpi = rt::kDesignDpi) const {
    return CheckFolder(folder_, preview, dpi);
  }

  // menu.ini with the lines of [Button1] to [Button4] and [Close], in that order.
  void WriteIni(const std::array<std::string, 5>& sections) {
    std::string text;
    for (std::size_t i = 0; i < sections.size(); ++i) {
      text +=
          (i < 4 ? "[Button" + std::to_string(i + 1) + "]\n" : "[Close]\n") + sections[i] + "\n";
    }
    Write("menu.ini", bmpio::Bytes(text.begin(), text.end()));
  }

  // Runs the command; its report lands in out_.
  int RunWith(std::vector<fs::path> args) {
    out_.str("");
    err_.str("");
    return skincheck::Run(args, out_, err_);
  }

  fs::path folder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

std::string Listing(const Result& result) {
  std::string text;
  for (const Finding& f : result.findings) text += "\n  " + FormatFinding(f);
  return text.empty() ? " none" : text;
}

// Whether the result holds a finding of `severity` on `file` whose message contains `words`.
testing::AssertionResult Has(const Result& result, Severity severity, const std::string& file,
                             const std::string& words = "") {
  for (const Finding& f : result.findings) {
    if (f.severity == severity && f.file == file && f.message.find(words) != std::string::npos) {
      return testing::AssertionSuccess();
    }
  }
  return testing::AssertionFailure()
         << "no such finding on " << file << " (\"" << words << "\"); findings:" << Listing(result);
}

TEST_F(SkinCheckTest, AFolderLikeTheDemoPasses) {
  const Result result = Check();
  EXPECT_TRUE(result.findings.empty()) << Listing(result);
  EXPECT_FALSE(result.MenuWouldFail());
  EXPECT_FALSE(result.preview.has_value());  // not asked for
  EXPECT_EQ(RunWith({folder_}), kExitMenuWorks) << err_.str();
  EXPECT_EQ(out_.str(), "0 errors, 0 warnings, 0 notes: the menu will work\n");
}

// A disc's own layout: a hidden button's pictures are never read, every language's pictures are,
// and buttons that overlap or lie outside the skin are warned of; the preview shows the layout.
TEST_F(SkinCheckTest, ADiscsOwnLayoutIsCheckedInEachLanguage) {
  fs::remove(folder_ / "img/bmp2-1.bmp");
  const Rgb added{10, 200, 30};
  for (const std::string look : {"-1", "-2", "-3"}) {
    Write("img/p5" + look + ".bmp", bmpio::Write24(60, 30, Solid(60, 30, added)));
    Write("img/p6" + look + ".bmp", bmpio::Write24(60, 30, Solid(60, 30, added)));
    if (look != "-3")
      Write("img/p5de" + look + ".bmp", bmpio::Write24(60, 30, Solid(60, 30, added)));
  }
  const std::string ini =
      "[Button2]\nHidden=yes\n"
      "[Button5]\nPlace=100,210\nPictures=img\\p5\nPictures[de]=img/"
      "p5de\nOpen=ZENT\\TEV_setup.exe\n"
      "[Button6]\nPlace=900,100\nPictures=img\\p6\nOpen=ZENT\\TEV_setup.exe\n";
  Write("menu.ini", bmpio::Bytes(ini.begin(), ini.end()));

  const Result result = Check(true);
  for (const Finding& f : result.findings) EXPECT_EQ(f.file.find("bmp2-"), std::string::npos);
  EXPECT_TRUE(Has(result, Severity::kError, "img\\p5de-3.bmp", "missing"));
  EXPECT_EQ(result.Count(Severity::kError), 1) << Listing(result);
  EXPECT_TRUE(
      Has(result, Severity::kWarning, "img\\p5-2.bmp", "overlaps the button of img\\bmp1-2.bmp"));
  EXPECT_TRUE(Has(result, Severity::kWarning, "img\\p6-2.bmp", "lies outside"));
  ASSERT_TRUE(result.preview.has_value());
  // The added button lies over the first, as the menu stacks them.
  EXPECT_EQ(result.preview->At(110, 220), added);
}

TEST_F(SkinCheckTest, MissingFilesAndFoldersInTheirPlaceAreErrors) {
  fs::remove(folder_ / "img/main.bmp");
  fs::remove(folder_ / "img/bmp2-3.bmp");
  fs::remove(folder_ / "img/bmp15-1.bmp");
  fs::remove(folder_ / "img/bmp4-2.bmp");
  fs::create_directory(folder_ / "img/bmp4-2.bmp");
  fs::remove(folder_ / "ZENT/DASEF_setup.exe");
  fs::remove(folder_ / "ZENT/PIRUK_setup.exe");
  fs::create_directory(folder_ / "ZENT/PIRUK_setup.exe");

  const Result result = Check(true);
  EXPECT_TRUE(Has(result, Severity::kError, "img\\main.bmp", "missing"));
  EXPECT_TRUE(Has(result, Severity::kError, "img\\bmp2-3.bmp", "missing"));
  EXPECT_TRUE(Has(result, Severity::kError, "img\\bmp15-1.bmp", "missing"));
  EXPECT_TRUE(Has(result, Severity::kError, "img\\bmp4-2.bmp", "is a folder"));
  EXPECT_TRUE(Has(result, Severity::kError, "ZENT\\DASEF_setup.exe", "missing: button 4"));
  EXPECT_TRUE(Has(result, Severity::kError, "ZENT\\PIRUK_setup.exe", "is a folder"));
  EXPECT_EQ(result.Count(Severity::kError), 6) << Listing(result);
  EXPECT_FALSE(result.preview.has_value());  // no skin, no window

  EXPECT_EQ(RunWith({folder_}), kExitMenuFails);
  EXPECT_NE(out_.str().find("error: img\\bmp2-3.bmp: missing\n"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("6 errors, 0 warnings, 0 notes: the menu would fail\n"),
            std::string::npos)
      << out_.str();
}

// Every button file of the picture corpus in the place of one look: refused files are errors with
// the check's own reason, valid ones pass, top-down ones are warnings. (The skin is left out, so
// that only this file is judged, and quickly.)
TEST_F(SkinCheckTest, PicturesAreJudgedByTheMenusOwnCheck) {
  fs::remove(folder_ / "img/main.bmp");
  const std::string name = "img\\bmp3-1.bmp";
  int judged = 0;
  for (const corpus::Case& c : corpus::Cases()) {
    if (c.kind != corpus::Kind::kButton || c.source != corpus::Source::kFile) continue;
    SCOPED_TRACE(c.name);
    Write("img/bmp3-1.bmp", c.bytes);
    Result result = Check();
    std::erase_if(result.findings, [&](const Finding& f) { return f.file != name; });
    if (c.expect == corpus::Expect::kRefused) {
      EXPECT_TRUE(Has(result, Severity::kError, name, "the menu refuses it: "));
      EXPECT_TRUE(Has(result, Severity::kError, name, c.reason));
      EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
    } else if (rt::CheckBitmapFile(c.bytes).height < 0) {
      EXPECT_TRUE(Has(result, Severity::kWarning, name, "top-down"));
      EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
    } else {
      EXPECT_TRUE(result.findings.empty()) << Listing(result);
    }
    ++judged;
  }
  EXPECT_GT(judged, 30);
}

// A PNG file serves before the bitmap of its name, which is noted; it is judged by the menu's chunk
// check, and a PNG skin's holes are where it is transparent, its black corners staying.
TEST_F(SkinCheckTest, PngFilesBesideOrInsteadOfBitmaps) {
  pngio::Image skin;
  skin.width = 800;
  skin.height = 600;
  skin.colourType = 6;
  skin.bitDepth = 8;
  for (std::uint32_t i = 0; i < 800 * 600; ++i) {
    const std::uint16_t alpha = i == 300 * 800 + 200 ? 0 : 255;  // one hole at (200, 300)
    skin.samples.insert(skin.samples.end(), {0, 0, 0, alpha});
  }
  Write("img/main.png", pngio::Write(skin));
  bmpio::Bytes broken = pngio::Write(skin);
  broken[40] ^= 1;
  Write("img/bmp2-2.png", broken);
  fs::remove(folder_ / "img/bmp2-2.bmp");
  const Result result = Check(true);
  EXPECT_TRUE(Has(result, Severity::kNote, "img\\main.bmp", "the menu shows img\\main.png"));
  EXPECT_TRUE(Has(result, Severity::kError, "img\\bmp2-2.png", "CRC is wrong"));
  EXPECT_EQ(result.Count(Severity::kWarning), 0) << Listing(result);
  ASSERT_TRUE(result.preview.has_value());
  EXPECT_EQ(result.preview->At(200, 300), kHoleColour);
  EXPECT_EQ(result.preview->At(0, 0), kBlack);
}

TEST_F(SkinCheckTest, ButtonPicturesOfAnotherSizeThanTheirPlace) {
  WriteButton(1, "-3", 114, 122, kOtherLook);  // one pixel wider: may overlap
  WriteButton(2, "-2", 113, 200, kOtherLook);  // taller
  WriteButton(3, "-1", 100, 122, kOtherLook);  // narrower: harmless
  WriteButton(15, "-2", 81, 28, kOtherLook);
  const Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp1-3.bmp",
                  "114 x 122 pixels, larger than its place of 113 x 122 at (96, 200)"));
  EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp2-2.bmp", "at (256, 288)"));
  EXPECT_TRUE(Has(result, Severity::kNote, "img\\bmp3-1.bmp", "smaller than its place"));
  EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp15-2.bmp",
                  "larger than its place of 80 x 28 at (632, 544)"));
  EXPECT_EQ(result.findings.size(), 4u) << Listing(result);
  EXPECT_EQ(RunWith({folder_}), kExitMenuWorks);  // warnings alone do not fail
}

TEST_F(SkinCheckTest, SkinSizes) {
  {
    SCOPED_TRACE("the smallest skin with all four corner areas");
    WriteSkin(741, 541);
    const Result result = Check();
    EXPECT_TRUE(
        Has(result, Severity::kNote, "img\\main.bmp", "741 x 541 pixels, not the designed"));
    EXPECT_FALSE(Has(result, Severity::kWarning, "img\\main.bmp"));
    // The close button's place starts at row 544.
    EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp15-2.bmp", "cannot be seen"));
  }
  {
    SCOPED_TRACE("one pixel narrower: the right corner areas are empty");
    WriteSkin(740, 600);
    const Result result = Check();
    EXPECT_TRUE(Has(result, Severity::kWarning, "img\\main.bmp",
                    "smaller than 741 x 541: the corner areas top-right, bottom-right are empty"));
    EXPECT_FALSE(result.MenuWouldFail());
  }
  {
    SCOPED_TRACE("buttons past the window's edge");
    WriteSkin(700, 560);
    const Result result = Check();
    EXPECT_TRUE(
        Has(result, Severity::kWarning, "img\\main.bmp", "top-right, bottom-right are empty"));
    EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp4-2.bmp", "cut off"));
    EXPECT_TRUE(Has(result, Severity::kWarning, "img\\bmp15-3.bmp", "cut off"));
    EXPECT_FALSE(Has(result, Severity::kWarning, "img\\bmp3-2.bmp"));
    WriteSkin(600, 544);
    const Result smaller = Check();
    EXPECT_TRUE(Has(smaller, Severity::kWarning, "img\\bmp4-2.bmp", "cannot be seen"));
    EXPECT_TRUE(Has(smaller, Severity::kWarning, "img\\bmp15-1.bmp", "cannot be seen"));
  }
  {
    SCOPED_TRACE("the outline's limit");
    WriteSkin(32767, 1);
    const Result widest = Check();
    EXPECT_FALSE(widest.MenuWouldFail()) << Listing(widest);
    WriteSkin(32768, 1);
    const Result wide = Check(true);
    EXPECT_TRUE(Has(wide, Severity::kError, "img\\main.bmp", "too large"));
    EXPECT_FALSE(wide.preview.has_value());
    WriteSkin(2, 32768);
    EXPECT_TRUE(Has(Check(), Severity::kError, "img\\main.bmp", "32768"));
  }
}

TEST_F(SkinCheckTest, TopDownSkinIsAWarning) {
  WriteSkin(800, 600, true);
  const Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kWarning, "img\\main.bmp", "stored top-down"));
  EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
}

TEST_F(SkinCheckTest, NamesAreFoundIgnoringCaseAsWindowsDoes) {
  fs::rename(folder_ / "img", folder_ / "IMG");
  fs::rename(folder_ / "ZENT/TEV_setup.exe", folder_ / "ZENT/tev_SETUP.EXE");
  const Result result = Check();
  EXPECT_FALSE(result.MenuWouldFail()) << Listing(result);
#ifndef _WIN32
  EXPECT_TRUE(Has(result, Severity::kNote, "img\\bmp1-2.bmp", "named IMG\\bmp1-2.bmp"));
  EXPECT_TRUE(Has(result, Severity::kNote, "ZENT\\TEV_setup.exe", "named ZENT\\tev_SETUP.EXE"));
#endif
}

TEST_F(SkinCheckTest, PreviewShowsSkinNormalLooksAndHoles) {
  const Result result = Check(true);
  ASSERT_TRUE(result.preview.has_value());
  const Image& preview = *result.preview;
  ASSERT_EQ(preview.width, 800);
  ASSERT_EQ(preview.height, 600);
  EXPECT_EQ(preview.At(400, 100), kSkinColour);
  EXPECT_EQ(preview.At(400, 300), kBlack);  // black outside the corner areas stays
  // The black corner squares are holes; the skin's colour right beside them stays.
  EXPECT_EQ(preview.At(0, 0), kHoleColour);
  EXPECT_EQ(preview.At(9, 9), kHoleColour);
  EXPECT_EQ(preview.At(10, 0), kSkinColour);
  EXPECT_EQ(preview.At(799, 599), kHoleColour);
  EXPECT_EQ(preview.At(790, 590), kHoleColour);
  EXPECT_EQ(preview.At(789, 599), kSkinColour);
  // Each button's normal look fills its place, and only its place.
  const struct {
    int number, left, top, width, height;
  } places[] = {{1, 96, 200, 113, 122},
                {2, 256, 288, 113, 122},
                {3, 440, 312, 113, 122},
                {4, 600, 280, 113, 122},
                {15, 632, 544, 80, 28}};
  for (const auto& p : places) {
    SCOPED_TRACE(p.number);
    EXPECT_EQ(preview.At(p.left, p.top), NormalColour(p.number));
    EXPECT_EQ(preview.At(p.left + p.width - 1, p.top + p.height - 1), NormalColour(p.number));
    EXPECT_EQ(preview.At(p.left - 1, p.top), kSkinColour);
    EXPECT_EQ(preview.At(p.left + p.width, p.top + p.height - 1), kSkinColour);
  }

  // Written by the command as a 24-bit bottom-up file with the same pixels.
  const fs::path file = folder_ / "preview.bmp";
  ASSERT_EQ(RunWith({"--preview", file, folder_}), kExitMenuWorks) << err_.str();
  const bmpio::Bytes bytes = bmpio::ReadFile(file).value_or(bmpio::Bytes{});
  const rt::BitmapCheckResult check = rt::CheckBitmapFile(bytes);
  ASSERT_TRUE(check.ok);
  EXPECT_EQ(check.bitsPerPixel, 24);
  EXPECT_EQ(check.height, 600);  // positive: bottom-up
  const bmpio::Decoded decoded = bmpio::DecodeTrusting(bytes, true);
  ASSERT_TRUE(decoded.ok) << decoded.problem;
  EXPECT_TRUE(decoded.pixels == preview.pixels);
}

TEST_F(SkinCheckTest, PreviewClipsButtonsAndCutsHolesThroughThem) {
  {
    SCOPED_TRACE("a skin too narrow for the fourth button and for corner areas on the right");
    WriteSkin(650, 560);
    const Result result = Check(true);
    ASSERT_TRUE(result.preview.has_value());
    EXPECT_EQ(result.preview->width, 650);
    EXPECT_EQ(result.preview->At(649, 300), NormalColour(4));
    EXPECT_EQ(result.preview->At(649, 559), NormalColour(15));  // black there, but no hole
  }
  {
    SCOPED_TRACE("a wide close button over the black bottom-right corner area");
    WriteSkin(800, 600, false, 60);
    WriteButton(15, "-2", 150, 28, NormalColour(15));
    const Result result = Check(true);
    ASSERT_TRUE(result.preview.has_value());
    EXPECT_EQ(result.preview->At(739, 550), NormalColour(15));
    EXPECT_EQ(result.preview->At(740, 550), kHoleColour);
    EXPECT_EQ(result.preview->At(781, 571), kHoleColour);
    EXPECT_EQ(result.preview->At(739, 539), kSkinColour);
  }
}

TEST_F(SkinCheckTest, BadUsage) {
  EXPECT_EQ(RunWith({}), kExitUsage);
  EXPECT_NE(err_.str().find("usage: skincheck"), std::string::npos);
  EXPECT_EQ(RunWith({"--frobnicate", folder_}), kExitUsage);
  EXPECT_EQ(RunWith({folder_, "--preview"}), kExitUsage);
  EXPECT_EQ(RunWith({folder_, folder_}), kExitUsage);
  EXPECT_EQ(RunWith({folder_ / "no such folder"}), kExitUsage);
  EXPECT_EQ(RunWith({folder_ / "img/main.bmp"}), kExitUsage);  // a file, not a folder
  EXPECT_EQ(RunWith({"--preview", folder_ / "no such folder/p.bmp", folder_}), kExitUsage);
  EXPECT_TRUE(out_.str().find("the menu will work") != std::string::npos);  // checked all the same
  EXPECT_EQ(RunWith({"--preview", folder_ / "p.bmp", "--scale", "6", folder_}), kExitUsage);
  EXPECT_EQ(RunWith({"--preview", folder_ / "p.bmp", folder_, "--scale"}), kExitUsage);
  EXPECT_EQ(RunWith({"--scale", "2", folder_}), kExitUsage);  // a scale for no preview
  EXPECT_FALSE(fs::exists(folder_ / "p.bmp"));
  EXPECT_EQ(RunWith({"--help"}), kExitMenuWorks);
  EXPECT_NE(out_.str().find("--preview FILE"), std::string::npos);
  EXPECT_NE(out_.str().find("--scale S"), std::string::npos);
}

TEST(SkinCheckScale, NumbersFromOneToFiveAreDotsPerInch) {
  const std::pair<const char*, int> scales[] = {
      {"1", 96},  {"1.25", 120}, {"1.5", 144}, {"1.75", 168}, {"2", 192},    {"2.50", 240},
      {"3", 288}, {"4", 384},    {"5", 480},   {"1.1", 106},  {"1.333", 128}};
  for (const auto& [text, dpi] : scales) EXPECT_EQ(ScaleDpi(text), dpi) << text;
  for (const char* text : {"0.99", "5.01", "", "1.", ".5", "1,5", "-2", "2e0", "150%"}) {
    EXPECT_EQ(ScaleDpi(text), std::nullopt) << text;
  }
}

TEST_F(SkinCheckTest, MenuIniFaultsAreErrorsWithTheirLine) {
  const struct {
    const char* name;
    std::string text;  // empty: a folder named menu.ini
    std::string message;
  } cases[] = {
      {"a value the key does not take", "[Button1]\nLabel=One\n\nShow=tiny\n",
       "line 4: Show is \"tiny\"; it takes minimized, normal or maximized"},
      {"too large to read", std::string(65537, ';'),
       "the file has 65537 bytes, more than the 65536 it may have"},
      {"a folder", "", "is a folder, not a file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(folder_ / "menu.ini");
    if (c.text.empty()) {
      fs::create_directory(folder_ / "menu.ini");
    } else {
      Write("menu.ini", bmpio::Bytes(c.text.begin(), c.text.end()));
    }
    const Result result = Check();
    EXPECT_TRUE(Has(result, Severity::kError, "menu.ini", c.message));
    // The menu stops there: nothing else in the file is judged.
    EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
  }
  EXPECT_EQ(RunWith({folder_}), kExitMenuFails);
  EXPECT_NE(out_.str().find("error: menu.ini: is a folder"), std::string::npos) << out_.str();
}

TEST_F(SkinCheckTest, MenuIniLabelsForEveryButtonAndLanguage) {
  const struct {
    const char* name;
    std::array<std::string, 5> sections;
    std::vector<std::string> warnings;  // on menu.ini, every one there is
  } cases[] = {
      {"all named", {"Label=a", "Label=b", "Label=c", "Label=d", "Label=e"}, {}},
      {"a button without a Label",
       {"Label=a", "Tooltip=t", "Label=c", "Label=d", "Label=e"},
       {"[Button2] has no Label, so screen readers name the button by the menu's built-in name"}},
      {"a language some buttons lack",
       {"Label=a\nLabel[de]=A", "Label=b\nLabel[de]=B", "Label=c", "Label=d\nLabel[de]=D",
        "Label=e\nLabel[DE]=E"},
       {"Label[de] is given for [Button1], [Button2], [Button4], [Close] but not for [Button3]: "
        "users who read de hear those buttons named in another language"}},
      {"a region's users served by its language, not the other way round",
       {"Label=a\nLabel[pt-BR]=A", "Label=b\nLabel[pt]=B", "Label=c\nLabel[pt]=C",
        "Label=d\nLabel[pt]=D", "Label=e\nLabel[pt]=E"},
       {"Label[pt] is given for [Button2], [Button3], [Button4], [Close] but not for [Button1]:"}},
      {"a Label in one language only",
       {"Label[de]=A", "Label=b\nLabel[de]=B", "Label=c\nLabel[de]=C", "Label=d\nLabel[de]=D",
        "Label=e\nLabel[de]=E"},
       {"[Button1] has a Label only for de; for other languages screen readers name the button by "
        "the menu's built-in name"}},
      {"tooltips compared among the buttons that have one",
       {"Label=a\nTooltip=t\nTooltip[fr]=T", "Label=b\nTooltip=u", "Label=c", "Label=d", "Label=e"},
       {"Tooltip[fr] is given for [Button1] but not for [Button2]: users who read fr see those "
        "buttons' tooltips in another language"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteIni(c.sections);
    const Result result = Check();
    for (const std::string& words : c.warnings) {
      EXPECT_TRUE(Has(result, Severity::kWarning, "menu.ini", words));
    }
    EXPECT_EQ(result.findings.size(), c.warnings.size()) << Listing(result);
  }
}

TEST_F(SkinCheckTest, WhatTheButtonsOpenIsLookedUpInTheFolder) {
  fs::create_directories(folder_ / "ZENT/x64");
  Write("ZENT/x64/TEV_setup.exe", {'M', 'Z'});
  fs::create_directory(folder_ / "Extras");  // a folder opens too; ..\ is resolved as text
  // Buttons with an Open no longer start their installers; one with only Open64 still does on
  // 32-bit Windows.
  for (const char* name :
       {"TEV_setup.exe", "MOLAN_setup.exe", "PIRUK_setup.exe", "DASEF_setup.exe"}) {
    fs::remove(folder_ / "ZENT" / name);
  }
  WriteIni({"Label=a\nOpen=docs/Manual.pdf\nOpen64=ZENT\\x64\\TEV_setup.exe",
            "Label=b\nOpen64=ZENT\\x64\\MOLAN.exe", "Label=c\nOpen=https://example.com/",
            "Label=d\nOpen=none\\..\\Extras\nOpen64=\\\\server\\share\\x.exe",
            "Label=e\nOpen=..\\setup.exe"});
  const Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kError, "docs\\Manual.pdf",
                  "missing: [Button1] Open names it, so the button would fail to open it on 32-bit "
                  "Windows"));
  EXPECT_TRUE(Has(result, Severity::kError, "ZENT\\x64\\MOLAN.exe",
                  "missing: [Button2] Open64 names it, so the button would fail to open it on "
                  "64-bit Windows"));
  EXPECT_TRUE(Has(result, Severity::kError, "ZENT\\MOLAN_setup.exe", "missing: button 2"));
  EXPECT_TRUE(Has(result, Severity::kNote, "menu.ini",
                  "[Button3] Open is the address https://example.com/, not checked"));
  EXPECT_TRUE(
      Has(result, Severity::kNote, "menu.ini", "[Button4] Open64 is the full path \\\\server"));
  EXPECT_TRUE(Has(result, Severity::kNote, "menu.ini",
                  "[Close] Open ..\\setup.exe leads out of the folder, not checked"));
  EXPECT_EQ(result.findings.size(), 6u) << Listing(result);
  EXPECT_EQ(RunWith({folder_}), kExitMenuFails);  // a click on button 1 or 2 ends in an error box
}

TEST_F(SkinCheckTest, EveryMenuIniFaultAndNothingFromARefusedFile) {
  // The installers are elsewhere, as the file would say if the menu took it.
  fs::remove_all(folder_ / "ZENT");
  WriteIni({"Label=a\nOpen=Setup\\TEV.exe\nShow=tiny", "Label=b\nLabel=c", "Label=c", "Label=d",
            "Label=e\nOpen=missing.exe"});
  const Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kError, "menu.ini", "line 4: Show is \"tiny\""));
  EXPECT_TRUE(Has(result, Severity::kError, "menu.ini",
                  "line 7: \"Label\" is given twice in [Button2] (first on line 6)"));
  EXPECT_EQ(result.findings.size(), 2u) << Listing(result);
  EXPECT_EQ(RunWith({folder_}), kExitMenuFails);
  EXPECT_LT(out_.str().find("line 4:"), out_.str().find("line 7:")) << out_.str();
}

// The files beside the menu at the disc's root, each case with the finding it gives (none: the
// folder passes). autorun.inf's lines end in CR LF, as Notepad writes them.
TEST_F(SkinCheckTest, TheProgramAndAutorunInf) {
  const std::string label32(32, 'L');
  std::string utf16 = "\xFF\xFE";
  for (const char c : "[autorun]\r\nopen=menu.exe\r\nlabel=" + label32) {
    if (c != '\0') utf16 += {c, '\0'};
  }
  const struct {
    const char* name;
    std::string autorun;  // empty: none; "/": a folder
    std::optional<Severity> severity;
    std::string file, words;
  } cases[] = {
      {"as shipped", "[autorun]\r\nopen=menu.exe\r\nicon=menu.exe,0\r\nlabel=" + label32,
       std::nullopt, "", ""},
      {"quoted, with arguments, another case", "[AutoRun]\r\nOPEN=\"Menu.exe\" /x\r\n",
       std::nullopt, "", ""},
      {"shellexecute", "[autorun]\nshellexecute=menu.exe\n", std::nullopt, "", ""},
      {"UTF-16, 32 characters", utf16, std::nullopt, "", ""},
      {"a program not in the folder", "; disc\r\n[autorun]\r\nopen=menux.exe\r\n", Severity::kError,
       "autorun.inf",
       "line 3: open=menux.exe names menux.exe, which is not in the folder: AutoPlay would fail"},
      {"an icon not in the folder", "[autorun]\nopen=menu.exe\nicon=disc.ico,0\n",
       Severity::kWarning, "autorun.inf", "line 3: icon=disc.ico,0 names disc.ico, which is not"},
      {"a label too long", "[autorun]\nopen=menu.exe\nlabel=" + label32 + "!\n", Severity::kWarning,
       "autorun.inf", "line 3: label= has 33 characters, more than the 32 Windows shows"},
      {"no program", "[autorun]\nlabel=x\n", Severity::kWarning, "autorun.inf",
       "names no program to open"},
      {"keys of another section", "[other]\nopen=menu.exe\n", Severity::kWarning, "autorun.inf",
       "has no [autorun] section"},
      {"missing", "", Severity::kWarning, "autorun.inf", "missing: the drive gets neither"},
      {"a folder", "/", Severity::kWarning, "autorun.inf", "cannot be read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(folder_ / "autorun.inf");
    if (c.autorun == "/") {
      fs::create_directory(folder_ / "autorun.inf");
    } else if (!c.autorun.empty()) {
      WriteText("autorun.inf", c.autorun);
    }
    const Result result = Check();
    if (c.severity) {
      EXPECT_TRUE(Has(result, *c.severity, c.file, c.words));
      EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
    } else {
      EXPECT_TRUE(result.findings.empty()) << Listing(result);
    }
  }
  fs::remove_all(folder_ / "autorun.inf");
  WriteText("autorun.inf", "[autorun]\nopen=menu.exe\nicon=menu.exe,0\n");
  fs::remove(folder_ / "menu.exe");
  const Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kError, "menu.exe", "missing: there is no menu to start"));
  EXPECT_EQ(result.findings.size(), 1u) << Listing(result);  // autorun.inf's open= is not blamed
  EXPECT_EQ(RunWith({folder_}), kExitMenuFails);
}

// Anti-aliased corners: nearly black pixels around the holes stay and show as a dark fringe.
TEST_F(SkinCheckTest, ADarkFringeAroundTheCutCorners) {
  const struct {
    const char* name;
    Rgb colour;
    int x, y;  // the pixels drawn: a row and a column of 11 along the top-left black square
    int fringe;
  } cases[] = {
      {"near black along the square", {20, 30, 63}, 10, 10, 21},
      {"a dark red is no fringe", {64, 0, 0}, 10, 10, 0},
      {"one pixel away from the holes", {20, 30, 40}, 11, 11, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSkin(800, 600);
    bmpio::Decoded skin = bmpio::DecodeTrusting(*bmpio::ReadFile(folder_ / "img/main.bmp"), true);
    for (int i = 0; i <= c.x; ++i) {
      skin.pixels[static_cast<std::size_t>(c.y * 800 + i)] = c.colour;
      skin.pixels[static_cast<std::size_t>(i * 800 + c.x)] = c.colour;
    }
    // Black in the middle is no hole: the dark pixels around it are no fringe.
    skin.pixels[300 * 800 + 401] = c.colour;
    Write("img/main.bmp", bmpio::Write24(800, 600, skin.pixels));
    const Result result = Check();
    if (c.fringe > 0) {
      EXPECT_TRUE(Has(result, Severity::kWarning, "img\\main.bmp",
                      "a dark fringe of " + std::to_string(c.fringe) +
                          " pixels around the rounded corners: draw the corners without "
                          "anti-aliasing, or use a PNG skin with alpha"));
      EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
    } else {
      EXPECT_TRUE(result.findings.empty()) << Listing(result);
    }
  }
}

TEST_F(SkinCheckTest, ThePreviewIsWrittenInTheFormatItsNameSays) {
  const struct {
    const char* file;
    bool written;
    const char* says;
  } cases[] = {
      {"p.BMP", true, ""},
      {"p.png", false, "cannot write PNG files in this build; give a file name ending in .bmp"},
      {"p.jpg", false, "p.jpg names none it writes; give a file name ending in .bmp"},
      {"p", false, "names none it writes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const int status = RunWith({"--preview", folder_ / c.file, folder_});
    EXPECT_EQ(status, c.written ? kExitMenuWorks : kExitUsage) << err_.str();
    EXPECT_EQ(fs::exists(folder_ / c.file), c.written);
    EXPECT_NE(err_.str().find(c.says), std::string::npos) << err_.str();
    if (c.written) {
      EXPECT_EQ(rt::CheckBitmapFile(*bmpio::ReadFile(folder_ / c.file)).bitsPerPixel, 24);
    }
  }
}

TEST_F(SkinCheckTest, PicturesDrawnForAScale) {
  const Rgb colour{1, 2, 3};
  const struct {
    const char* file;
    int width, height;  // 0: not a picture; -1: a folder
    std::optional<Severity> severity;
    const char* words;
  } cases[] = {
      {"img/main.scale-200.bmp", 1600, 1200, std::nullopt, ""},
      {"img/main.scale-200.bmp", 1599, 1200, Severity::kWarning,
       "1599 x 1200 pixels, not the plain file's 800 x 600 at 200 % (1600 x 1200)"},
      // 113 x 122 at 125 % is 141.25 x 152.5: either rounding is taken.
      {"img/bmp1-2.scale-125.bmp", 141, 152, std::nullopt, ""},
      {"img/bmp1-2.scale-125.bmp", 142, 153, std::nullopt, ""},
      {"img/bmp1-2.scale-125.bmp", 140, 153, Severity::kWarning, "(142 x 153)"},
      {"img/bmp15-3.scale-150.bmp", 0, 0, Severity::kError, "the menu refuses it: "},
      {"img/bmp3-1.scale-400.bmp", -1, -1, Severity::kError, "is a folder, not a picture"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.width));
    if (c.width < 0) {
      fs::create_directory(folder_ / c.file);
    } else if (c.width == 0) {
      Write(c.file, {'B', 'M', 0});
    } else {
      Write(c.file, bmpio::Write24(c.width, c.height, Solid(c.width, c.height, colour)));
    }
    std::string name = c.file;
    std::replace(name.begin(), name.end(), '/', '\\');
    const Result result = Check();
    if (c.severity) {
      EXPECT_TRUE(Has(result, *c.severity, name, c.words));
      EXPECT_EQ(result.findings.size(), 1u) << Listing(result);
    } else {
      EXPECT_TRUE(result.findings.empty()) << Listing(result);
    }
    fs::remove_all(folder_ / c.file);
  }
}

// The installed look each section may show, in every language and scale like any look; the
// unavailable one where the disc has it, else a note; a malformed condition with its line.
TEST_F(SkinCheckTest, TheLooksOfButtonsThatKnowWhatIsInstalled) {
  WriteIni({"Label=a\nInstalledKey=HKLM\\SOFTWARE\\Tev\nPictures=img\\bmp1\nPictures[de]=img\\de1",
            "Label=b\nInstalledFile=C:\\x.exe\nWhenInstalled=hide",
            "Label=c\nRequiresWindows=10.0\nWhenUnavailable=disable", "Label=d", "Label=e"});
  for (const std::string look : {"-1", "-2", "-3"}) {
    Write("img/de1" + look + ".bmp", bmpio::Write24(113, 122, Solid(113, 122, kOtherLook)));
  }
  Write("img/bmp1-4.bmp", bmpio::Write24(113, 122, Solid(113, 122, kOtherLook)));
  Write("img/bmp1-4.scale-200.bmp", {'B', 'M', 0});
  Result result = Check();
  EXPECT_TRUE(Has(result, Severity::kError, "img\\de1-4.bmp", "missing"));
  EXPECT_TRUE(Has(result, Severity::kError, "img\\bmp1-4.scale-200.bmp", "the menu refuses it"));
  EXPECT_TRUE(Has(result, Severity::kNote, "img\\bmp3-5.bmp", "a greyed copy"));
  EXPECT_EQ(result.findings.size(), 3u) << Listing(result);  // a hidden button needs no "-4"
  Write("img/bmp3-5.bmp", bmpio::Write24(50, 50, Solid(50, 50, kOtherLook)));
  result = Check();
  EXPECT_TRUE(Has(result, Severity::kNote, "img\\bmp3-5.bmp", "50 x 50 pixels, smaller"));

  WriteIni({"", "Requires64Bit=maybe", "", "", ""});
  EXPECT_TRUE(Has(Check(), Severity::kError, "menu.ini", "line 4: Requires64Bit is \"maybe\""));
}

TEST_F(SkinCheckTest, PreviewAtAScale) {
  // Button 2's normal look is drawn for 200 %, in a colour of its own.
  const Rgb drawn{250, 250, 0};
  Write("img/bmp2-2.scale-200.bmp", bmpio::Write24(226, 244, Solid(226, 244, drawn)));
  const Result result = Check(true, 192);
  ASSERT_TRUE(result.preview.has_value());
  const Image& preview = *result.preview;
  ASSERT_EQ(preview.width, 1600);
  ASSERT_EQ(preview.height, 1200);
  // Each black corner pixel is a block of 2 x 2 holes; black in the middle stays black.
  EXPECT_EQ(preview.At(19, 19), kHoleColour);
  EXPECT_EQ(preview.At(20, 19), kSkinColour);
  EXPECT_EQ(preview.At(19, 20), kSkinColour);
  EXPECT_EQ(preview.At(1580, 1180), kHoleColour);
  EXPECT_EQ(preview.At(1579, 1199), kSkinColour);
  EXPECT_EQ(preview.At(801, 601), kBlack);
  // Button 1 scaled by the program at its scaled place, (192, 400), 226 x 244.
  EXPECT_EQ(preview.At(192, 400), NormalColour(1));
  EXPECT_EQ(preview.At(417, 643), NormalColour(1));
  EXPECT_EQ(preview.At(191, 400), kSkinColour);
  EXPECT_EQ(preview.At(418, 643), kSkinColour);
  // Button 2 as drawn for the scale, not scaled from its plain file.
  EXPECT_EQ(preview.At(512, 576), drawn);
  EXPECT_EQ(preview.At(737, 819), drawn);

  // At 150 % the file drawn for 200 % serves, scaled down to 170 x 183.
  const Result smaller = Check(true, 144);
  ASSERT_TRUE(smaller.preview.has_value());
  EXPECT_EQ(smaller.preview->width, 1200);
  EXPECT_EQ(smaller.preview->At(384 + 169, 432 + 182), drawn);
  EXPECT_EQ(smaller.preview->At(384 + 170, 432), kSkinColour);

  const fs::path file = folder_ / "preview.bmp";
  ASSERT_EQ(RunWith({"--preview", file, "--scale", "2", folder_}), kExitMenuWorks) << err_.str();
  EXPECT_NE(out_.str().find(", at 200 %\n"), std::string::npos) << out_.str();
  EXPECT_EQ(rt::CheckBitmapFile(bmpio::ReadFile(file).value_or(bmpio::Bytes{})).height, 1200);
}

// The preview page's data: in every language and at every scale, the window as the menu lays it
// out there, its buttons in keyboard order with the pictures and texts of the language.
TEST_F(SkinCheckTest, ThePageShowsEachLanguageAtEachScaleAsTheMenuLaysItOut) {
  const Rgb german{1, 2, 3};
  for (const std::string look : {"-1", "-2", "-3"}) {
    Write("img/de1" + look + ".bmp", bmpio::Write24(60, 30, Solid(60, 30, german)));
  }
  WriteIni({"Place=101,210\nLabel=One\nLabel[de]=Eins\nTooltip[de-AT]=Tipp\nPictures[DE]=img\\de1",
            "Hidden=yes", "", "", ""});
  const Page page = BuildPage(folder_, Check());
  EXPECT_EQ(page.languages, (std::vector<std::string>{"", "de", "de-AT"}));
  ASSERT_EQ(page.views.size(), 3u * std::size(kPageDpis));
  ASSERT_TRUE(page.windowShown);
  std::vector<std::string> order;
  for (const PageButton& button : page.buttons) order.push_back(button.id);
  EXPECT_EQ(order, (std::vector<std::string>{"Button1", "Button3", "Button4", "Close"}));
  EXPECT_EQ(page.buttons.front().place, (menu::ButtonPlace{101, 210}));
  EXPECT_EQ(page.buttons.front().open, "ZENT\\TEV_setup.exe");
  EXPECT_EQ(page.buttons.back().open, "");

  auto view = [&](const std::string& language, int dpi) -> const PageView& {
    for (const PageView& v : page.views) {
      if (v.language == language && v.dpi == dpi) return v;
    }
    throw std::logic_error("no view");
  };
  auto source = [&](const PageLook& look) {
    return look.picture < 0 ? std::string() : page.pictures[std::size_t(look.picture)].source;
  };
  const struct {
    std::string language;
    int dpi;
    rt::PixelRect button1;
    std::string normal, label, tooltip;
    long holes;  // the two black squares of 10 x 10 pixels in their nearest-neighbour blocks
  } cases[] = {
      {"", 96, {101, 210, 214, 332}, "img\\bmp1-2.bmp", "One", "", 2 * 10 * 10},
      {"", 144, {152, 315, 322, 498}, "img\\bmp1-2.bmp", "One", "", 2 * 15 * 15},
      {"de", 120, {127, 263, 202, 301}, "img\\de1-2.bmp", "Eins", "", 13 * 13 + 12 * 12},
      {"de-AT", 192, {202, 420, 322, 480}, "img\\de1-2.bmp", "Eins", "Tipp", 2 * 20 * 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language + " " + std::to_string(c.dpi));
    const PageView& v = view(c.language, c.dpi);
    ASSERT_GE(v.skin, 0);
    EXPECT_EQ(v.width, rt::Scaled(800, c.dpi));
    EXPECT_EQ(v.strip, rt::Scaled(rt::PixelRect{0, 0, 800, 57}, c.dpi));
    ASSERT_EQ(v.buttons.size(), 4u);
    const PageButtonView& one = v.buttons.front();
    EXPECT_EQ(one.bounds, c.button1);
    EXPECT_EQ(source(one.looks[0]), c.normal);
    EXPECT_EQ(one.looks[0].look, "normal");
    EXPECT_EQ(page.pictures[std::size_t(one.looks[0].picture)].image.width, c.button1.Width());
    EXPECT_EQ(one.label, c.label);
    EXPECT_EQ(one.tooltip, c.tooltip);
    // The built-in name of a button menu.ini leaves unnamed, from the program's string table.
    EXPECT_EQ(v.buttons.back().label, "Close");
    // The skin's black corner squares, and nothing else, are clear.
    const PagePicture& skin = page.pictures[std::size_t(v.skin)];
    const auto holes = std::count(skin.alpha.begin(), skin.alpha.end(), 0);
    EXPECT_EQ(holes, c.holes);
    EXPECT_EQ(skin.alpha[0], 0);
    EXPECT_EQ(std::count(skin.alpha.begin(), skin.alpha.end(), 255) + holes,
              static_cast<long>(skin.alpha.size()));
  }
}

TEST_F(SkinCheckTest, ThePageIsWrittenWithItsPicturesAndItsDataCannotEndItsScript) {
  WriteIni({"Label=\"</script><b>\" & \\ \"x\"\"", "", "", "", ""});
  const fs::path out = folder_ / "page";
  const int status = RunWith({"--html", out, folder_});
  if (!CanWritePages()) {
    EXPECT_EQ(status, kExitUsage);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos) << err_.str();
    return;
  }
  ASSERT_EQ(status, kExitMenuWorks) << err_.str();
  const Page page = BuildPage(folder_, Check());
  for (const PagePicture& picture : page.pictures) EXPECT_TRUE(fs::exists(out / picture.file));
  const bmpio::Bytes bytes = bmpio::ReadFile(out / "index.html").value_or(bmpio::Bytes{});
  const std::string html(bytes.begin(), bytes.end());
  EXPECT_EQ(html.find("/*PAGE-DATA*/"), std::string::npos);
  EXPECT_NE(html.find(R"("\u003c/script\u003e\u003cb\u003e\" \u0026 \\ \"x\")"), std::string::npos);
  EXPECT_EQ(html.find("</script><b>"), std::string::npos);

  // A menu.ini the menu refuses: no window, the findings all the same.
  WriteIni({"Show=tiny", "", "", "", ""});
  const Page refused = BuildPage(folder_, Check());
  EXPECT_FALSE(refused.windowShown);
  EXPECT_TRUE(refused.views.empty());
  EXPECT_FALSE(refused.findings.empty());
}

}  // namespace
}  // namespace skincheck

// A disc's menu.ini in the running menu: read before the window is made, with its faults
// reported by file and line; what each button starts, how, and whether the menu stays; the
// window's title, the buttons' names in the user's language and their tooltips.
#include <gtest/gtest.h>

#include <string>

#include "MenuFixture.h"
#include "MenuSettingsFile.h"
#include "RunTimeError.h"
#include "resource.h"

namespace menu {
namespace {

using namespace testing;

const std::wstring kIni = L"C:\\Menu\\menu.ini";

rt::FileBytes Text(const std::string& text) { return rt::FileBytes(text.begin(), text.end()); }

TEST(MenuSettingsFile, AMissingFileIsTheDesignAndAnyOtherFaultNamesTheFile) {
  const struct {
    const char* what;
    std::optional<std::string> content;  // none: a folder where the file would be
    int error;                           // 0: read without error
    std::wstring detail;
  } cases[] = {
      {"no file", std::string(), 0, L""},
      {"a folder in its place", std::nullopt, rt::kErrPathFileAccess, L""},
      {"a bad value", "[Button1]\r\nShow=tiny\r\n", rt::kErrInvalidProcedureCall, L"Line 2: "},
      {"an unknown section", "; demo\n[Button5]\n", rt::kErrInvalidProcedureCall, L"Line 2: "},
      {"too large", std::string(70000, ';'), rt::kErrInvalidProcedureCall, L"The file has 70000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    rt::FakePlatform platform;
    if (!c.content) platform.folders.insert(kIni);
    if (c.content && !c.content->empty()) platform.files[kIni] = Text(*c.content);
    try {
      EXPECT_EQ(ReadMenuSettings(platform), MenuSettings{});
      EXPECT_EQ(c.error, 0) << "no error raised";
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), c.error);
      EXPECT_EQ(error.Subject(), kIni);
      EXPECT_TRUE(error.Detail().starts_with(c.detail))
          << std::string(error.Detail().begin(), error.Detail().end());
    }
  }
}

class DiscMenu : public MenuTest {
 protected:
  void StartWith(const std::string& ini) {
    platform.files[kIni] = Text(ini);
    Module1::Main(platform, form, ReadMenuSettings(platform));
  }
};

// A start that fails shows the error box, titled with the menu's Title; a button that stays leaves
// the menu open and working, one that closes ends it as designed (the error goes to the top).
TEST_F(DiscMenu, AFailedStartOnAButtonThatStaysKeepsTheMenu) {
  StartWith(
      "[Menu]\nTitle=Example Suite\n[Button2]\nOpen=docs\\Manual.pdf\nAfterStart=stay\n"
      "[Button3]\nOpen=docs\\Guide.pdf\n");
  platform.missingPrograms = {L"C:\\Menu\\docs\\Manual.pdf", L"C:\\Menu\\docs\\Guide.pdf"};
  EXPECT_EQ(form->Title(), L"Example Suite");
  Move(kButton1X, kButton1Y);
  Down(kButton1X, kButton1Y);
  Up(kButton1X, kButton1Y);
  EXPECT_EQ(platform.Lines(L"ShowRunTimeError"),
            std::vector<std::wstring>{L"ShowRunTimeError 53 Example Suite"});
  EXPECT_TRUE(form->Form().Loaded());
  form->cmd_Click(0);  // another button still starts its installer, and closes the menu
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.started[0].program, L"C:\\Menu\\ZENT\\TEV_setup.exe");
  EXPECT_FALSE(form->Form().Loaded());

  form.reset();
  StartWith("[Button3]\nOpen=docs\\Guide.pdf\n");
  EXPECT_THROW(form->cmd_Click(2), rt::RunTimeError);
  EXPECT_EQ(platform.Lines(L"ShowRunTimeError").size(), 1u);  // the one before
}

TEST_F(DiscMenu, AButtonStartsWhatItsSectionSaysAndTheMenuMayStay) {
  StartWith(
      "[Button2]\nOpen=Tools and more\\setup app.exe\nArguments=--mode \"a b\" /x\n"
      "Show=normal\nAfterStart=stay\n");
  form->cmd_Click(1);
  ASSERT_EQ(platform.started.size(), 1u);
  const rt::StartRequest& request = platform.started[0];
  EXPECT_EQ(request.program, L"C:\\Menu\\Tools and more\\setup app.exe");
  EXPECT_EQ(request.arguments, L"--mode \"a b\" /x");
  EXPECT_EQ(request.workingFolder, L"C:\\Menu\\Tools and more");
  EXPECT_FALSE(request.minimized || request.maximized);
  // The menu stays, and works as before.
  ASSERT_TRUE(form->Form().Loaded());
  Move(kButton0X, kButton0Y);
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
  form->cmd_Click(0);  // the design's installer, and the menu closes
  ASSERT_EQ(platform.started.size(), 2u);
  EXPECT_EQ(platform.started[1].program, L"C:\\Menu\\ZENT\\TEV_setup.exe");
  EXPECT_TRUE(platform.started[1].minimized);
  EXPECT_FALSE(form->Form().Loaded());
}

TEST_F(DiscMenu, AddressesOpen64AndTheCloseButtonsOwnStart) {
  platform.is64Bit = true;
  StartWith(
      "[Button1]\nOpen=https://example.com/help\nShow=maximized\n"
      "[Button3]\nOpen=x86\\setup.exe\nOpen64=x64\\setup.exe\n"
      "[Close]\nOpen=readme.txt\n");
  form->cmd_Click(0);
  form->cmd_Click(2);
  form->cmd_Click(14);
  ASSERT_EQ(platform.started.size(), 3u);
  EXPECT_EQ(platform.started[0].program, L"https://example.com/help");
  EXPECT_TRUE(platform.started[0].isAddress && platform.started[0].maximized);
  EXPECT_EQ(platform.started[0].workingFolder, L"");
  EXPECT_EQ(platform.started[1].program, L"C:\\Menu\\x64\\setup.exe");
  EXPECT_EQ(platform.started[2].program, L"C:\\Menu\\readme.txt");
  EXPECT_FALSE(form->Form().Loaded());
}

TEST_F(DiscMenu, TitleLabelsAndTooltipsInTheUsersLanguage) {
  platform.languages = {L"de-AT", L"en-US"};
  platform.strings[IDS_NAME_BUTTON2] = L"built-in";
  StartWith(
      "[Menu]\nTitle=Demo\nTitle[de]=Vorführung\n"
      "[Button1]\nLabel=Install\nLabel[de]=Installieren\nTooltip[de-AT]=Servus\n"
      "[Close]\nLabel=Close\n");
  EXPECT_EQ(platform.windowTitle, L"Vorführung");
  rt::AccessibleWindow* accessible = platform.events->Accessible();
  EXPECT_EQ(accessible->Name(), L"Vorführung");
  EXPECT_EQ(accessible->Child(0).name, L"Installieren");
  EXPECT_EQ(accessible->Child(1).name, L"built-in");
  EXPECT_EQ(accessible->Child(4).name, L"Close");
  ASSERT_EQ(platform.tooltips.size(), 1u);
  EXPECT_EQ(platform.tooltips[0],
            std::make_pair(rt::PixelRect{96, 200, 209, 322}, std::wstring(L"Servus")));
  // A larger hover picture moves the tooltip's area with the button.
  platform.files[Img(L"bmp1-3.bmp")] = BitmapFile(150, 150);
  Move(kButton0X, kButton0Y);
  EXPECT_EQ(platform.tooltips[0].first, (rt::PixelRect{96, 200, 246, 350}));
}

TEST_F(DiscMenu, WithoutTheFileTheWindowHasNoTitleAndNoTooltips) {
  Start();
  EXPECT_EQ(platform.windowTitle, L"");
  EXPECT_TRUE(platform.tooltips.empty());
  EXPECT_TRUE(platform.Lines(L"SetTooltip").empty());
}

}  // namespace
}  // namespace menu

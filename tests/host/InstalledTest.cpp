// Buttons that know what the computer has: versions compared part by part, key paths, the
// conditions against the system's answers (both registry views, the environment, the AND of
// conditions, requirements), and what each state makes of a button on the window: its look, its
// pointer and keyboard, its tooltip, what screen readers hear, and the check on coming back.
#include <gtest/gtest.h>

#include <string>

#include "GreyedLook.h"
#include "Installed.h"
#include "MenuFixture.h"
#include "resource.h"

namespace menu {
namespace {

using namespace testing;
using rt::RegistryHive;
using rt::RegistryView;
using rt::VersionParts;

TEST(InstalledVersion, DottedNumbersComparedPartByPart) {
  const struct {
    const wchar_t* a;
    const wchar_t* b;
    int order;
  } cases[] = {{L"7.10", L"7.9", 1},        {L"7.1", L"7.1.0.0", 0},   {L"7.1", L"7.01", 0},
               {L"10.0.19045", L"10.0", 1}, {L"99", L"10.0.22631", 1}, {L"1.2.3.4", L"1.2.3.5", -1},
               {L"0", L"0.0.0.1", -1},      {L"999999999", L"1000", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(c.a) + L" against " + c.b);
    const auto a = ParseVersion(c.a);
    const auto b = ParseVersion(c.b);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(CompareVersions(*a, *b), c.order);
    EXPECT_EQ(CompareVersions(*b, *a), -c.order);
  }
  for (const wchar_t* refused : {L"", L"7.", L".7", L"7..1", L"1.2.3.4.5", L"1.2.3.4.", L"v7",
                                 L"7.1b", L"1234567890", L"7 .1", L"-1"}) {
    EXPECT_FALSE(ParseVersion(refused)) << refused;
  }
  // What a program wrote into the registry: the dotted numbers it starts with.
  EXPECT_EQ(LeadingVersion(L" 7.1.0 beta"), (VersionParts{7, 1, 0}));
  EXPECT_EQ(LeadingVersion(L"8.2."), (VersionParts{8, 2}));
  EXPECT_EQ(LeadingVersion(L"5.4.3.2.1"), (VersionParts{5, 4, 3, 2}));
  EXPECT_FALSE(LeadingVersion(L"v7"));
  EXPECT_FALSE(LeadingVersion(L""));
}

TEST(InstalledKey, HivesInShortAndLongFormsWithAPathBelow) {
  const struct {
    const wchar_t* text;
    RegistryHive hive;
    const wchar_t* key;
  } accepted[] = {
      {L"HKLM\\SOFTWARE\\Tev", RegistryHive::kLocalMachine, L"SOFTWARE\\Tev"},
      {L"hkey_local_machine\\A\\{B-1}", RegistryHive::kLocalMachine, L"A\\{B-1}"},
      {L"HKCU\\Software\\Tev", RegistryHive::kCurrentUser, L"Software\\Tev"},
      {L"HKEY_CURRENT_USER\\X", RegistryHive::kCurrentUser, L"X"},
  };
  for (const auto& c : accepted) {
    const KeyPathCheck check = ParseKeyPath(c.text);
    ASSERT_TRUE(check.path) << check.refusal;
    EXPECT_EQ(*check.path, (RegistryKeyPath{c.hive, c.key}));
  }
}

TEST(InstalledKeys, EveryKeyOfASectionAsTheParserTakesIt) {
  const MenuIniParse parse = ParseMenuIniText(
      L"[Button6]\nPlace=1,2\nPictures=img\\x\nOpen=x.exe\n"
      L"InstalledKey = \"HKEY_CURRENT_USER\\Software\\X\"\n"
      L"InstalledFile=%ProgramW6432%\\X\\x.exe\nInstalledVersion=7.10\nWhenInstalled=Disable\n"
      L"TooltipInstalled=X is there\nTooltipInstalled[de]=X ist da\nRequiresWindows=6.1\n"
      L"Requires64Bit=YES\nWhenUnavailable=hide\nTooltipUnavailable=X needs 64 bits\n");
  ASSERT_FALSE(parse.error);
  const ButtonSettings& button = *parse.settings.added[1];
  EXPECT_EQ(button.installedKey, (RegistryKeyPath{RegistryHive::kCurrentUser, L"Software\\X"}));
  EXPECT_EQ(button.installedFile, L"%ProgramW6432%\\X\\x.exe");
  EXPECT_EQ(button.installedVersion, (VersionParts{7, 10}));
  EXPECT_EQ(button.whenInstalled, WhenInstalled::kDisable);
  EXPECT_EQ(button.tooltipInstalled.translations.size(), 1u);
  EXPECT_EQ(button.requiresWindows, (VersionParts{6, 1}));
  EXPECT_TRUE(button.requires64Bit);
  EXPECT_EQ(button.whenUnavailable, WhenUnavailable::kHide);
  EXPECT_EQ(button.tooltipUnavailable.plain, L"X needs 64 bits");
}

// Every condition and requirement against the system's answers, by the state it gives.
struct Case {
  const char* what;
  std::string section;  // the lines of [Button1]
  std::function<void(rt::FakeSystemQuery&)> system;
  ButtonState state;
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

class Conditions : public ::testing::TestWithParam<Case> {};

TEST_P(Conditions, GiveTheButtonItsState) {
  const std::string ini = "[Button1]\n" + GetParam().section;
  const MenuIniParse parse = ParseMenuIniText(std::wstring(ini.begin(), ini.end()));
  ASSERT_FALSE(parse.error) << std::string(parse.error->reason.begin(), parse.error->reason.end());
  rt::FakeSystemQuery system;
  system.environment[L"PROGRAMFILES"] = L"C:\\Program Files (x86)";
  system.environment[L"PROGRAMW6432"] = L"C:\\Program Files";
  if (GetParam().system) GetParam().system(system);
  EXPECT_EQ(StateOf(parse.settings.Button(0), system), GetParam().state);
}

const std::wstring kTev = L"SOFTWARE\\Tev";
const std::wstring kTevExe = L"C:\\Program Files\\Tev\\tev.exe";
void Key64(rt::FakeSystemQuery& s) {
  s.is64Bit = true, s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k64Bit);
}

INSTANTIATE_TEST_SUITE_P(
    Installed, Conditions,
    ::testing::Values(
        Case{"no condition asks nothing", "Label=x\n", nullptr, ButtonState::kNormal},
        Case{"the key in the 64-bit view", "InstalledKey=HKLM\\SOFTWARE\\Tev\n", Key64,
             ButtonState::kInstalled},
        Case{"the key in the 32-bit view of 64-bit Windows", "InstalledKey=HKLM\\SOFTWARE\\Tev\n",
             [](auto& s) {
               s.is64Bit = true;
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k32Bit);
             },
             ButtonState::kInstalled},
        Case{"32-bit Windows has one registry", "InstalledKey=HKLM\\SOFTWARE\\Tev\n",
             [](auto& s) { s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::kNative); },
             ButtonState::kInstalled},
        Case{"no views asked of 32-bit Windows", "InstalledKey=HKLM\\SOFTWARE\\Tev\n",
             [](auto& s) { s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k64Bit); },
             ButtonState::kNormal},
        Case{"the user's hive is not the machine's",
             "InstalledKey=HKEY_CURRENT_USER\\SOFTWARE\\Tev\n", Key64, ButtonState::kNormal},
        Case{"7.10 is above 7.9", "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=7.9\n",
             [](auto& s) {
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::kNative,
                        {{L"DisplayVersion", L"7.10"}});
             },
             ButtonState::kInstalled},
        Case{"a lower version offers the update",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=7.10\n",
             [](auto& s) {
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::kNative,
                        {{L"DisplayVersion", L"7.9.9"}});
             },
             ButtonState::kNormal},
        Case{"the newer of the two views counts",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=7.1\n",
             [](auto& s) {
               s.is64Bit = true;
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k64Bit,
                        {{L"DisplayVersion", L"7.0"}});
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k32Bit,
                        {{L"DisplayVersion", L"7.2"}});
             },
             ButtonState::kInstalled},
        Case{"no DisplayVersion: the file's version resource",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledFile=%ProgramW6432%\\Tev\\tev.exe\n"
             "InstalledVersion=7.1\n",
             [](auto& s) {
               Key64(s);
               s.files.insert(kTevExe);
               s.fileVersions[kTevExe] = {7, 1, 0, 12};
             },
             ButtonState::kInstalled},
        Case{"no version anywhere is not installed",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=1\n", Key64, ButtonState::kNormal},
        Case{"an unreadable DisplayVersion counts as absent",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=1\n",
             [](auto& s) {
               s.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::kNative,
                        {{L"DisplayVersion", L"unknown"}});
             },
             ButtonState::kNormal},
        Case{"a file after expansion", "InstalledFile=%PROGRAMW6432%\\Tev\\tev.exe\n",
             [](auto& s) { s.files.insert(kTevExe); }, ButtonState::kInstalled},
        Case{"%ProgramFiles% of a 32-bit program is the x86 folder",
             "InstalledFile=%ProgramFiles%\\Tev\\tev.exe\n",
             [](auto& s) { s.files.insert(kTevExe); }, ButtonState::kNormal},
        Case{"an unset variable leaves no full path", "InstalledFile=%TevHome%\\tev.exe\n",
             [](auto& s) { s.files.insert(L"%TevHome%\\tev.exe"); }, ButtonState::kNormal},
        Case{"every condition must hold",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledFile=C:\\Tev\\tev.exe\n", Key64,
             ButtonState::kNormal},
        Case{"disable", "InstalledKey=HKLM\\SOFTWARE\\Tev\nWhenInstalled=disable\n", Key64,
             ButtonState::kInstalledDisabled},
        Case{"hide", "InstalledKey=HKLM\\SOFTWARE\\Tev\nWhenInstalled=HIDE\n", Key64,
             ButtonState::kHidden},
        Case{"Windows 10 meets 10.0", "RequiresWindows=10.0\n", nullptr, ButtonState::kNormal},
        Case{"Windows 10 does not meet 10.0.22000", "RequiresWindows=10.0.22000\n", nullptr,
             ButtonState::kUnavailable},
        Case{"Windows 99", "RequiresWindows=99\nWhenUnavailable=hide\n", nullptr,
             ButtonState::kHidden},
        Case{"64-bit Windows required", "Requires64Bit=yes\n", nullptr, ButtonState::kUnavailable},
        Case{"Requires64Bit=no requires nothing", "Requires64Bit=no\n", nullptr,
             ButtonState::kNormal},
        Case{"what cannot run here is unavailable, installed or not",
             "InstalledKey=HKLM\\SOFTWARE\\Tev\nRequiresWindows=11\n", Key64,
             ButtonState::kUnavailable}));

TEST(Conditions, EachKeyIsOpenedOnceAndTheOtherViewOnlyWhileTheVersionIsUnmet) {
  const MenuIniParse parse =
      ParseMenuIniText(L"[Button1]\nInstalledKey=HKLM\\SOFTWARE\\Tev\nInstalledVersion=7.1\n");
  rt::FakeSystemQuery system;
  system.is64Bit = true;
  system.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::k64Bit,
                {{L"DisplayVersion", L"7.2"}});
  EXPECT_EQ(StateOf(parse.settings.Button(0), system), ButtonState::kInstalled);
  EXPECT_EQ(system.asked,
            (std::vector<std::wstring>{L"64-bit", L"key 64:HKLM\\SOFTWARE\\Tev DisplayVersion"}));
}

TEST(Conditions, AButtonWithoutConditionsAsksTheSystemNothing) {
  rt::FakeSystemQuery system;
  const ButtonSettings plain;
  EXPECT_EQ(StateOf(&plain, system), ButtonState::kNormal);
  EXPECT_EQ(StateOf(nullptr, system), ButtonState::kNormal);
  EXPECT_TRUE(system.asked.empty());
}

// The window: the demo's files, a menu.ini for [Button1] and the system's answers.
class InstalledMenu : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    for (int state : {1, 2, 3}) {
      platform.files[Img(L"bmp1-" + std::to_wstring(state) + L".bmp")] =
          BitmapFile(113, 122, [](int, int) { return 0x0000FFu; });
    }
    platform.files[Img(L"bmp1-4.bmp")] = BitmapFile(113, 122);
    platform.strings[IDS_ABOUT_BUTTON1] = L"Starts the TEV installer.";
    platform.strings[IDS_STATE_INSTALLED] = L"Installed.";
    platform.strings[IDS_STATE_UNAVAILABLE] = L"Unavailable on this computer.";
  }
  void StartWith(const std::string& section) {
    const std::string ini = "[Button1]\nTooltip=Install TEV\n" + section;
    const MenuIniParse parse = ParseMenuIniText(std::wstring(ini.begin(), ini.end()));
    ASSERT_FALSE(parse.error);
    Module1::Main(platform, form, parse.settings);
    platform.log.clear();
  }
  void Installs() {
    platform.system.AddKey(RegistryHive::kLocalMachine, kTev, RegistryView::kNative);
  }
  // The user goes to another window and comes back.
  void ComesBack() {
    platform.events->OnActivated(false);
    platform.events->OnActivated(true);
  }
  std::wstring Tooltip() {
    return platform.tooltips.contains(0) ? platform.tooltips[0].second : L"";
  }
};

TEST_F(InstalledMenu, MarkShowsTheInstalledLookAndActsAsUsual) {
  Installs();
  StartWith("InstalledKey=HKLM\\SOFTWARE\\Tev\nTooltipInstalled=TEV is installed\n");
  EXPECT_EQ(Shows(0), L"bmp1-4.bmp");
  EXPECT_EQ(Tooltip(), L"TEV is installed");
  Move(kButton0X, kButton0Y);
  EXPECT_EQ(Shows(0), L"bmp1-3.bmp");
  Down(kButton0X, kButton0Y);
  Up(kButton0X, kButton0Y);
  EXPECT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(form->ActiveButtons(), (std::vector<std::int16_t>{0, 1, 2, 3, 14}));
  const rt::AccessibleItem item = form->Child(0);
  EXPECT_EQ(item.description, L"Starts the TEV installer. Installed. TEV is installed");
  EXPECT_FALSE(item.unavailable);
}

TEST_F(InstalledMenu, DisableShowsTheInstalledLookButNeitherLightsNorStarts) {
  Installs();
  StartWith("InstalledKey=HKLM\\SOFTWARE\\Tev\nWhenInstalled=disable\n");
  EXPECT_EQ(Shows(0), L"bmp1-4.bmp");
  Move(kButton0X, kButton0Y);
  Down(kButton0X, kButton0Y);
  Up(kButton0X, kButton0Y);
  form->Press(0);
  EXPECT_EQ(Shows(0), L"bmp1-4.bmp");
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(form->ActiveButtons(), (std::vector<std::int16_t>{1, 2, 3, 14}));
  EXPECT_EQ(form->ListedButtons(), (std::vector<std::int16_t>{0, 1, 2, 3, 14}));
  EXPECT_TRUE(form->Child(0).unavailable);
  // The keyboard enters the row at the next button; readers hear it as the second child.
  platform.events->OnKey({.key = rt::Key::kTab});
  EXPECT_EQ(form->FocusedChild(), 1);
  EXPECT_EQ(platform.Lines(L"AnnounceFocus"), (std::vector<std::wstring>{L"AnnounceFocus 1"}));
}

TEST_F(InstalledMenu, HideTakesTheButtonOffTheWindowAndFromReaders) {
  Installs();
  StartWith("InstalledKey=HKLM\\SOFTWARE\\Tev\nWhenInstalled=hide\n");
  EXPECT_FALSE(form->cmd(0)->Visible());
  EXPECT_EQ(form->ChildCount(), 4);
  EXPECT_EQ(form->ButtonLabel(0), L"");
  EXPECT_EQ(Tooltip(), L"");
}

TEST_F(InstalledMenu, UnavailableIsGreyedFromTheNormalLookWhereTheDiscHasNoPicture) {
  StartWith("RequiresWindows=99\nTooltipUnavailable=TEV needs Windows 99\n");
  EXPECT_EQ(Shows(0), L"made 113x122");
  std::uint32_t pixel = 0;
  form->cmd(0)->CurrentPicture().Data()->ReadPixels({0, 0, 1, 1}, &pixel);
  EXPECT_EQ(pixel, GreyedPixels(std::vector<std::uint32_t>{0x0000FFu})[0]);
  EXPECT_EQ(Tooltip(), L"TEV needs Windows 99");
  Down(kButton0X, kButton0Y);
  Up(kButton0X, kButton0Y);
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(form->Child(0).description,
            L"Starts the TEV installer. Unavailable on this computer. TEV needs Windows 99");
}

TEST_F(InstalledMenu, UnavailableShowsTheDiscsOwnPictureWhereItHasOne) {
  platform.files[Img(L"bmp1-5.bmp")] = BitmapFile(113, 122);
  StartWith("Requires64Bit=yes\n");
  EXPECT_EQ(Shows(0), L"bmp1-5.bmp");
}

TEST(GreyedLook, GreyByBrightnessWashedTowardsWhite) {
  EXPECT_EQ(
      GreyedPixels(std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000}),
      (std::vector<std::uint32_t>{0x808080, 0xFFFFFF, 0xA6A6A6, 0xCBCBCB, 0x8E8E8E}));
}

// Windows activates the window each time the start-up shows it, and deactivates it when it is
// hidden in between: that is no coming back, and the system is asked once.
TEST(InstalledStartUp, TheWindowShownAtStartUpIsCheckedOnce) {
  struct ActivatedWhenShown : rt::FakePlatform {
    void ShowMainWindow(bool visible) override {
      FakePlatform::ShowMainWindow(visible);
      events->OnActivated(visible);
    }
  } platform;
  AddMenuFiles(platform, platform.programFolder);
  const MenuIniParse parse = ParseMenuIniText(L"[Button1]\nInstalledKey=HKLM\\SOFTWARE\\Tev\n");
  std::unique_ptr<frmMain> form;
  Module1::Main(platform, form, parse.settings);
  ASSERT_EQ(platform.Lines(L"Hide").size(), 1u);
  const std::vector<std::wstring> once = platform.system.asked;
  ASSERT_FALSE(once.empty());
  platform.ShowMainWindow(false);
  platform.ShowMainWindow(true);
  EXPECT_EQ(platform.system.asked.size(), 2 * once.size());
}

TEST_F(InstalledMenu, ComingBackToTheMenuChecksAgainAndEverythingFollows) {
  StartWith(
      "InstalledKey=HKLM\\SOFTWARE\\Tev\nTooltipInstalled=TEV is installed\n"
      "WhenInstalled=disable\n");
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  platform.events->OnKey({.key = rt::Key::kTab});
  ASSERT_EQ(form->FocusedChild(), 0);
  Installs();
  // Activated without having been left: nothing asked.
  platform.system.asked.clear();
  platform.events->OnActivated(true);
  EXPECT_TRUE(platform.system.asked.empty());
  ComesBack();
  EXPECT_FALSE(platform.system.asked.empty());
  EXPECT_EQ(Shows(0), L"bmp1-4.bmp");
  EXPECT_EQ(Tooltip(), L"TEV is installed");
  EXPECT_EQ(form->ActiveButtons(), (std::vector<std::int16_t>{1, 2, 3, 14}));
  EXPECT_EQ(form->FocusedChild(), -1);
  // Removed again: the button acts as before.
  platform.system.keys.clear();
  ComesBack();
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  EXPECT_EQ(Tooltip(), L"Install TEV");
  EXPECT_EQ(form->ActiveButtons(), (std::vector<std::int16_t>{0, 1, 2, 3, 14}));
}

TEST_F(InstalledMenu, WithoutConditionsNothingIsAskedAtStartOrOnComingBack) {
  StartWith("Label=TEV\n");
  ComesBack();
  EXPECT_TRUE(platform.system.asked.empty());
}

}  // namespace
}  // namespace menu

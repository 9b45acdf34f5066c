// menu.ini: decoding, the parse and its refusals, the language choice, what each button starts,
// the error box's error, and the demo file shipped on the disc.
#include "MenuIni.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "frmMain.h"

namespace menu {
namespace {

using namespace std::literals;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// UTF-16 LE with its byte-order mark.
std::vector<std::uint8_t> Utf16(std::u16string_view text) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

MenuIniParse Parse(std::string_view utf8) { return ParseMenuIni(Bytes(utf8)); }

MenuSettings Parsed(std::string_view utf8) {
  const MenuIniParse parse = Parse(utf8);
  EXPECT_FALSE(parse.error) << utf8 << "\n" << (parse.error ? parse.error->reason : L"");
  return parse.settings;
}

TEST(MenuIniText, EveryAcceptedFormGivesTheSameText) {
  const std::wstring title = L"D\u00e9mo \u65e5\u672c \U0001F600";
  const std::vector<std::vector<std::uint8_t>> forms = {
      Bytes("[Menu]\nTitle=D\xC3\xA9mo \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\n"),
      Bytes("\xEF\xBB\xBF[Menu]\r\nTitle=D\xC3\xA9mo \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"),
      Utf16(u"[Menu]\r\nTitle=D\u00e9mo \u65e5\u672c \U0001F600\r\n"),
  };
  for (const auto& bytes : forms) {
    const MenuIniParse parse = ParseMenuIni(bytes);
    ASSERT_FALSE(parse.error) << parse.error->reason;
    EXPECT_EQ(parse.settings.title.plain, title);
  }
  for (const auto& empty : {Bytes(""), Bytes("\xEF\xBB\xBF"), Utf16(u"")}) {
    const MenuIniParse parse = ParseMenuIni(empty);
    EXPECT_FALSE(parse.error);
    EXPECT_EQ(parse.settings, MenuSettings{});
  }
}

TEST(MenuIniText, TheSizeLimitIsSixtyFourKilobytesWithTheMark) {
  std::string largest = "\xEF\xBB\xBF[Menu]\n;";
  largest.resize(kMenuIniMaxBytes, 'x');
  EXPECT_FALSE(Parse(largest).error);
  const MenuIniParse over = Parse(largest + "x");
  ASSERT_TRUE(over.error);
  EXPECT_EQ(over.error->line, 0);
  EXPECT_NE(over.error->reason.find(L"65537 bytes"), std::wstring::npos) << over.error->reason;
}

struct Refusal {
  std::vector<std::uint8_t> bytes;
  int line;
  std::wstring_view says;  // a part of the reason
};

// The bytes as text, others in hexadecimal, so that a failing case can be told from the others.
// Semicolons, backslashes and quotes are written in hexadecimal too: CTest reads the list of
// tests with these values beside their names, and would take them for its own syntax there,
// running some cases under a wrong name or not at all.
void PrintTo(const Refusal& refusal, std::ostream* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const std::uint8_t byte : refusal.bytes) {
    if (byte >= 0x20 && byte < 0x7F && byte != ';' && byte != '\\' && byte != '"') {
      *out << static_cast<char>(byte);
    } else {
      *out << "\\x" << kDigits[byte >> 4] << kDigits[byte & 0xF];
    }
  }
}

class MenuIniRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(MenuIniRefuses, WithTheLineAndTheReason) {
  const MenuIniParse parse = ParseMenuIni(GetParam().bytes);
  ASSERT_TRUE(parse.error);
  EXPECT_EQ(parse.error->line, GetParam().line) << parse.error->reason;
  EXPECT_NE(parse.error->reason.find(GetParam().says), std::wstring::npos) << parse.error->reason;
  EXPECT_EQ(parse.settings, MenuSettings{});
}

INSTANTIATE_TEST_SUITE_P(
    Text, MenuIniRefuses,
    ::testing::Values(Refusal{Bytes("[Menu]\nTitle=\xC0\x80"), 2, L"C0 is an overlong"},
                      Refusal{Bytes("\n\nTitle=\xE0\x80\xAF"), 3, L"E0 is an overlong"},
                      Refusal{Bytes("\xF0\x8F\xBF\xBF"), 1, L"overlong"},
                      Refusal{Bytes("\xED\xA0\x80"), 1, L"surrogate U+D800"},
                      Refusal{Bytes("\xED\xBF\xBF"), 1, L"surrogate U+DFFF"},
                      Refusal{Bytes("\xF4\x90\x80\x80"), 1, L"beyond U+10FFFF"},
                      Refusal{Bytes("\xF5\x80\x80\x80"), 1, L"F5 never occurs"},
                      Refusal{Bytes("a\n\x80"), 2, L"80 continues"},
                      Refusal{Bytes("\xE2\x82"), 1, L"cut short by the end"},
                      Refusal{Bytes("\xE2(\xA1"), 1, L"cut short"},
                      Refusal{Bytes("[Menu]\n\nT\0itle=x"sv), 3, L"NUL"},
                      Refusal{Bytes("\xEF\xBB\xBF\xEF\xBB"), 1, L"cut short"},
                      Refusal{Utf16(u"[Menu]\n\xD83D"), 2, L"D83D, without a low surrogate"},
                      Refusal{Utf16(u"\xD83Dx"), 1, L"without a low surrogate"},
                      Refusal{Utf16(u"\n\n\xDE00"), 3, L"DE00, without a high"},
                      Refusal{Utf16(u"a\n\0"sv), 2, L"NUL"},
                      Refusal{Bytes("\xFF\xFE[\0\n"sv), 1, L"ends in the middle"},
                      Refusal{Bytes("\xFE\xFF\0["sv), 1, L"big-endian"},
                      Refusal{Bytes("\xFF\xFE\0\0[\0\0\0"sv), 1, L"UTF-32"},
                      Refusal{Bytes("[Menu]\r\nTitle=a\rb"), 2, L"carriage return"},
                      Refusal{Bytes("[Menu]\r"), 1, L"carriage return"},
                      Refusal{Bytes("[Menu]\nTitle=a\x07"), 2, L"control character U+0007"}));

// One line per fault, the line counted from 1, after a valid first section where it helps.
INSTANTIATE_TEST_SUITE_P(
    Lines, MenuIniRefuses,
    ::testing::Values(
        Refusal{Bytes("; menu\nLabel=x"), 2, L"before any section"},
        Refusal{Bytes("[Button17]"), 1, L"unknown section \"[Button17]\""},
        Refusal{Bytes("[Menu]\n[Button1]\n[menu]"), 3, L"twice (first on line 1)"},
        Refusal{Bytes("[Menu]\n[Button1"), 2, L"does not end with ]"},
        Refusal{Bytes("[Menu] ; the title"), 1, L"does not end with ]"},
        Refusal{Bytes("[Button1]\nColour=red"), 2, L"unknown key \"Colour\" in [Button1]"},
        Refusal{Bytes("[Menu]\nWorking Folder=x"), 2, L"unknown key"},
        Refusal{Bytes("[Button1]\nTitle=x"), 2, L"belongs in [Menu]"},
        Refusal{Bytes("[Menu]\nLabel=x"), 2, L"belongs in a button's"},
        Refusal{Bytes("[Close]\nlabel=a\n\nLABEL = b"), 4, L"twice in [Close] (first on line 2)"},
        Refusal{Bytes("[Button2]\nLabel[pt-br]=a\nLabel[PT-BR]=b"), 3, L"twice"},
        Refusal{Bytes("[Button1]\nOpen[de]=x.exe"), 2, L"Open takes no language"},
        Refusal{Bytes("[Button1]\nLabel[]=x"), 2, L"is empty"},
        Refusal{Bytes("[Button1]\nLabel[pt_BR]=x"), 2, L"\"pt_BR\" is not a language tag"},
        Refusal{Bytes("[Button1]\nLabel[d]=x"), 2, L"not a language tag"},
        Refusal{Bytes("[Button1]\nLabel[de-]=x"), 2, L"not a language tag"},
        Refusal{Bytes("[Button1]\nLabel[de-123456789]=x"), 2, L"not a language tag"},
        Refusal{Bytes("[Button1]\nLabel[de=x"), 2, L"opens a [ that it does not close"},
        Refusal{Bytes("[Button1]\nLabel x"), 2, L"not a section, a key or a comment"},
        Refusal{Bytes("[Button1]\n = x"), 2, L"no key before its ="},
        Refusal{Bytes("[Button1]\nShow=tiny"), 2, L"Show is \"tiny\""},
        Refusal{Bytes("[Button1]\nAfterStart=later"), 2, L"close or stay"},
        Refusal{Bytes("[Button1]\nOpen="), 2, L"Open is empty"},
        Refusal{Bytes("[Button1]\nOpen=\"\""), 2, L"Open is empty"},
        Refusal{Bytes("[Button1]\nOpen64= "), 2, L"Open64 is empty"},
        Refusal{Bytes("[Button1]\nWorkingFolder="), 2, L"WorkingFolder is empty"},
        Refusal{Bytes("[Button1]\nLabel="), 2, L"Label is empty"},
        Refusal{Bytes("[Button1]\nOpen=ftp://example.com/x"), 2, L"\"ftp:\" is not one"},
        Refusal{Bytes("[Button1]\nOpen=https:example.com"), 2, L"no host"},
        Refusal{Bytes("[Button1]\nOpen=mailto:"), 2, L"no recipient"},
        Refusal{Bytes("[Button1]\nOpen=C:setup.exe"), 2, L"current folder of drive C:"},
        Refusal{Bytes("[Button1]\nOpen=\\ZENT\\x.exe"), 2, L"root of the current drive"},
        Refusal{Bytes("[Button1]\nOpen=\\\\"), 2, L"names no server and share"},
        Refusal{Bytes("[Button1]\nOpen=\\\\srv\\"), 2, L"names no server and share"},
        Refusal{Bytes("[Button1]\nOpen=\\\\srv\\share"), 2, L"no file on it"},
        Refusal{Bytes("[Button1]\nOpen=\\\\?\\UNC\\srv\\share\\"), 2, L"no file on it"},
        Refusal{Bytes("[Button1]\nOpen=\\\\.\\pipe\\x"), 2, L"neither a drive nor a share"},
        Refusal{Bytes("[Button1]\nOpen=\\\\?\\x.exe"), 2, L"neither a drive nor a share"},
        Refusal{Bytes("[Button1]\nWorkingFolder=//srv"), 2, L"names no server and share"},
        Refusal{Bytes("[Button1]\nOpen=\"setup.exe\" /S"), 2, L"holds \""},
        Refusal{Bytes("[Button1]\nOpen=a|b.exe"), 2, L"holds |"},
        Refusal{Bytes("[Button1]\nOpen=C:\\a:b"), 2, L"holds :"},
        Refusal{Bytes("[Button1]\nWorkingFolder=https://example.com"), 2, L"not an address"},
        Refusal{Bytes("[Close]\nLabel=x\nShow=normal\n[Menu]"), 3, L"Show in [Close] needs"},
        Refusal{Bytes("[Close]\nArguments=/x"), 2, L"Arguments in [Close] needs"}));

// The conditions on what the computer has, each refused with its line.
INSTANTIATE_TEST_SUITE_P(
    Installed, MenuIniRefuses,
    ::testing::Values(
        Refusal{Bytes("[Button1]\nInstalledKey=HKCR\\x"), 2, L"does not start with HKLM"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLMx\\y"), 2, L"does not start with HKLM"},
        Refusal{Bytes("[Button1]\nInstalledKey="), 2, L"the key path is empty"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLM"), 2, L"names no key below its hive"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKCU\\"), 2, L"names no key below its hive"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLM\\SOFTWARE\\"), 2, L"ends with a backslash"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLM\\A\\\\B"), 2, L"an empty name"},
        Refusal{Bytes("[Button1]\nInstalledFile="), 2, L"InstalledFile is empty"},
        Refusal{Bytes("[Button1]\nInstalledFile=tev.exe"), 2, L"not a full path"},
        Refusal{Bytes("[Button1]\nInstalledFile=https://x.org/a"), 2, L"is an address"},
        Refusal{Bytes("[Button1]\nInstalledFile=C:\\a|b"), 2, L"holds |"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLM\\x\nInstalledVersion=7.x"), 3,
                L"InstalledVersion is \"7.x\"; it takes a version"},
        Refusal{Bytes("[Button1]\nRequiresWindows=ten"), 2, L"RequiresWindows is \"ten\""},
        Refusal{Bytes("[Button1]\nRequiresWindows=10."), 2, L"RequiresWindows is"},
        Refusal{Bytes("[Button1]\nRequires64Bit=maybe"), 2,
                L"Requires64Bit is \"maybe\"; it takes yes or no"},
        Refusal{Bytes("[Button1]\nInstalledKey=HKLM\\x\nWhenInstalled=grey"), 3,
                L"WhenInstalled is \"grey\"; it takes mark, disable or hide"},
        Refusal{Bytes("[Button1]\nRequires64Bit=yes\nWhenUnavailable=mark"), 3,
                L"WhenUnavailable is \"mark\"; it takes disable or hide"},
        Refusal{Bytes("[Button1]\nInstalledVersion=7\n[Menu]"), 2,
                L"InstalledVersion in [Button1] needs an InstalledKey or an InstalledFile"},
        Refusal{Bytes("[Close]\nWhenInstalled=hide"), 2, L"WhenInstalled in [Close] needs"},
        Refusal{Bytes("[Button2]\nRequires64Bit=no\nWhenUnavailable=hide"), 3,
                L"needs a RequiresWindows or Requires64Bit=yes"},
        Refusal{Bytes("[Button1]\nInstalledKey[de]=HKLM\\x"), 2, L"takes no language"}));

// Every fault of a file at once, in the order found, and none that only follows from another: the
// keys under a refused section line are passed over, a section is judged once it ends.
TEST(MenuIniParse, EveryFaultIsFoundWithItsLine) {
  const struct {
    std::string_view text;
    std::vector<std::pair<int, std::wstring>> faults;
  } cases[] = {
      {"[Button1]\nShow=tiny\nAfterStart=later\n[Buton2]\nLabel=x\nLabel=y\n[Button3]\n"
       "Colour=red\nLabel=fine\n",
       {{2, L"Show is"}, {3, L"AfterStart is"}, {4, L"unknown section"}, {8, L"unknown key"}}},
      {"Label=a\nTooltip=b\n[Button1]\nLabel=c", {{1, L"before any"}, {2, L"before any"}}},
      {"[Close]\nShow=normal\n[Button1]\nLabel=a\nLabel=b\n",
       {{2, L"Show in [Close] needs"}, {5, L"twice in [Button1] (first on line 4)"}}},
      // The menu stops at the unknown section, as it always has; the [Close] fault comes to light
      // when the section ends.
      {"[Close]\nShow=normal\n[Oops]\nLabel=x\n[Menu]\n",
       {{3, L"unknown section"}, {2, L"Show in [Close] needs"}}},
      {"[Menu]\nTitle=a\n[Menu]\nTitle=b\n[Button1\nOpen=\n", {{3, L"twice"}, {5, L"end with ]"}}},
      {"[Menu]\nTitle=\xC0\x80\n[Buton]\n", {{2, L"overlong"}}},  // text that is not text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    const MenuIniParse parse = Parse(c.text);
    ASSERT_EQ(parse.errors.size(), c.faults.size());
    for (std::size_t i = 0; i < c.faults.size(); ++i) {
      EXPECT_EQ(parse.errors[i].line, c.faults[i].first) << parse.errors[i].reason;
      EXPECT_NE(parse.errors[i].reason.find(c.faults[i].second), std::wstring::npos)
          << parse.errors[i].reason;
    }
    EXPECT_EQ(parse.error, parse.errors.front());  // what the menu reports
    EXPECT_EQ(parse.settings, MenuSettings{});
  }
}

TEST(MenuIniParse, KeysSectionsSpacingQuotesAndComments) {
  const MenuSettings settings = Parsed(
      "  ; comment\n# comment\n\n[ menu ]\n  TITLE  =  Disc  \n"
      "[BUTTON1]\r\nlabel=\"  spaced  \"\r\nOPEN = docs\\read me.pdf\r\n"
      "Arguments=\"C:\\My Files\" /S\nShow=Maximized\nafterstart=STAY\n\t;indented\n"
      "Tooltip=#1; not a comment\nLabel[DE-de]=Installieren\nLabel[fr]=\"\"\"Installer\"\"\"\n"
      "[Close]\nOpen64=https://example.com/?a=1#b\nShow=normal\n");
  EXPECT_EQ(settings.title.plain, L"Disc");
  const ButtonSettings& first = settings.installers[0];
  EXPECT_EQ(first.label.plain, L"  spaced  ");
  const std::vector<std::pair<std::wstring, std::wstring>> translations = {
      {L"DE-de", L"Installieren"}, {L"fr", L"\"\"Installer\"\""}};
  EXPECT_EQ(first.label.translations, translations);
  EXPECT_EQ(first.open, L"docs\\read me.pdf");
  EXPECT_EQ(first.arguments, L"\"C:\\My Files\" /S");
  EXPECT_EQ(first.show, ShowState::kMaximized);
  EXPECT_EQ(first.afterStart, AfterStart::kStay);
  EXPECT_EQ(first.tooltip.plain, L"#1; not a comment");
  EXPECT_EQ(settings.installers[1], ButtonSettings{});
  EXPECT_EQ(settings.close.open64, L"https://example.com/?a=1#b");
  EXPECT_EQ(settings.close.show, ShowState::kNormal);
  EXPECT_EQ(settings.Button(14), &settings.close);
  EXPECT_EQ(settings.Button(3), &settings.installers[3]);
  for (const int other : {-1, 4, 13, 15})
    EXPECT_EQ(settings.Button(static_cast<std::int16_t>(other)), nullptr);
}

TEST(MenuIniLanguage, ExactTagThenTheLanguageAloneForEachPreferenceThenThePlainKey) {
  const MenuSettings settings = Parsed(
      "[Menu]\nTitle=Menu\nTitle[de]=Men\xC3\xBC\nTitle[pt-BR]=Brasil\nTitle[PT]=Portugal\n"
      "Title[zh-Hant-TW]=Taiwan\n");
  const struct {
    std::vector<std::wstring> preferred;
    std::wstring_view expected;
  } cases[] = {
      {{}, L"Menu"},
      {{L"en-US"}, L"Menu"},
      {{L"de-DE", L"pt-BR"}, L"Men\u00fc"},
      {{L"pt-br"}, L"Brasil"},
      {{L"pt-PT"}, L"Portugal"},
      {{L"fr-FR", L"pt-BR", L"de"}, L"Brasil"},
      {{L"fr-FR", L"pt-AO", L"de"}, L"Portugal"},
      {{L"zh-Hant-TW"}, L"Taiwan"},
      {{L"zh-Hant-HK"}, L"Menu"},
      {{L"", L"DE"}, L"Men\u00fc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseText(settings.title, c.preferred), c.expected)
        << (c.preferred.empty() ? std::wstring() : c.preferred[0]);
  }
  const std::vector<std::wstring> german = {L"de-AT"};
  EXPECT_EQ(ChooseText(Parsed("[Button1]\nLabel[de]=Los").installers[0].label, german), L"Los");
  EXPECT_EQ(ChooseText(Parsed("[Button1]\nLabel[de]=Los").installers[0].label, {}), std::nullopt);
}

struct Start {
  std::wstring folder;
  std::string_view section;  // the keys of [Button1]
  bool is64;
  std::wstring target;
  bool address;
  std::optional<std::wstring> workingFolder;
};

TEST(MenuIniStart, PathsAndAddressesAgainstTheProgramFolder) {
  const std::wstring longFolder = L"C:\\" + std::wstring(260, L'x');
  const Start cases[] = {
      {L"E:\\", "Open=setup.exe", false, L"E:\\setup.exe", false, L"E:\\"},
      {L"E:\\", "Open=ZENT/TEV.exe", false, L"E:\\ZENT\\TEV.exe", false, L"E:\\ZENT"},
      {L"C:\\My Disc", "Open=..\\setup.exe", false, L"C:\\My Disc\\..\\setup.exe", false,
       L"C:\\My Disc\\.."},
      {L"D:\\\u00c4rger \u65e5\u672c", "Open=docs\\\xC3\xBC.pdf", false,
       L"D:\\\u00c4rger \u65e5\u672c\\docs\\\u00fc.pdf", false,
       L"D:\\\u00c4rger \u65e5\u672c\\docs"},
      {longFolder, "Open=a\\b.exe", false, longFolder + L"\\a\\b.exe", false, longFolder + L"\\a"},
      {L"E:\\", "Open=C:\\Tools\\x.exe", false, L"C:\\Tools\\x.exe", false, L"C:\\Tools"},
      {L"E:\\", "Open=D:\\x.exe", false, L"D:\\x.exe", false, L"D:\\"},
      {L"E:\\", "Open=\\\\srv\\share\\x.exe", false, L"\\\\srv\\share\\x.exe", false,
       L"\\\\srv\\share"},
      {L"E:\\", "Open=\\\\?\\F:\\x.exe", false, L"\\\\?\\F:\\x.exe", false, L"\\\\?\\F:\\"},
      {L"E:\\", "Open=HTTPS://example.com/a b", false, L"HTTPS://example.com/a b", true,
       std::nullopt},
      {L"E:\\", "Open=mailto:a@example.com", false, L"mailto:a@example.com", true, std::nullopt},
      {L"E:\\", "Open=http://x\nWorkingFolder=tmp", false, L"http://x", true, L"E:\\tmp"},
      {L"C:\\Menu", "Open=a.exe\nWorkingFolder=\\\\srv\\w", false, L"C:\\Menu\\a.exe", false,
       L"\\\\srv\\w"},
      {L"E:\\", "Open=\\\\?\\unc\\srv\\s\\x.exe", false, L"\\\\?\\unc\\srv\\s\\x.exe", false,
       L"\\\\?\\unc\\srv\\s"},
      {L"E:\\", "Open=//srv/s/x.exe", false, L"\\\\srv\\s\\x.exe", false, L"\\\\srv\\s"},
      {L"C:\\Menu", "Open=a.exe\nOpen64=b64.exe", true, L"C:\\Menu\\b64.exe", false, L"C:\\Menu"},
      {L"C:\\Menu", "Open=a.exe\nOpen64=b64.exe", false, L"C:\\Menu\\a.exe", false, L"C:\\Menu"},
      {L"E:\\", "Open64=x64\\s.exe", true, L"E:\\x64\\s.exe", false, L"E:\\x64"},
      {L"E:\\", "Open64=x64\\s.exe", false, L"E:\\\\ZENT\\TEV_setup.exe", false, L"E:\\\\ZENT"},
      {L"E:\\", "WorkingFolder=.", false, L"E:\\\\ZENT\\TEV_setup.exe", false, L"E:\\."},
  };
  for (const Start& c : cases) {
    const MenuSettings settings = Parsed("[Button1]\n" + std::string(c.section));
    const ButtonAction action = ResolveButton(settings.installers[0], 0, c.folder, c.is64);
    ASSERT_TRUE(action.start) << c.section;
    EXPECT_EQ(action.start->target, c.target) << c.section;
    EXPECT_EQ(action.start->workingFolder, c.workingFolder) << c.section;
    EXPECT_EQ(action.start->isAddress, c.address) << c.section;
  }
}

TEST(MenuIniStart, WithoutTheFileEachButtonDoesWhatTheDesignSays) {
  for (const std::wstring folder :
       {L"E:\\", L"C:\\Menu", L"D:\\My Disc (v2)\\\u65e5\u672c", L"\\\\srv\\share"}) {
    for (std::int16_t index = 0; index < 4; ++index) {
      const ButtonAction action = ResolveButton(ButtonSettings{}, index, folder, true);
      const std::wstring program = InstallerPath(folder, index);
      const StartPlan expected{program, false, L"", program.substr(0, program.find_last_of(L'\\')),
                               ShowState::kMinimized};
      EXPECT_EQ(action, (ButtonAction{expected, true})) << folder << index;
    }
    EXPECT_EQ(ResolveButton(ButtonSettings{}, 14, folder, false), ButtonAction{});
    EXPECT_EQ(ResolveButton(ButtonSettings{}, 5, folder, false), ButtonAction{});
  }
  const MenuSettings keys = Parsed(
      "[Button2]\nArguments=/S /D=C:\\x\nShow=normal\nAfterStart=stay\n"
      "[Close]\nOpen=https://example.com\nAfterStart=stay\n");
  const ButtonAction second = ResolveButton(keys.installers[1], 1, L"C:\\Menu", false);
  EXPECT_EQ(second, (ButtonAction{StartPlan{L"C:\\Menu\\ZENT\\MOLAN_setup.exe", false,
                                            L"/S /D=C:\\x", L"C:\\Menu\\ZENT", ShowState::kNormal},
                                  false}));
  const ButtonAction close = ResolveButton(keys.close, 14, L"C:\\Menu", false);
  EXPECT_EQ(close, (ButtonAction{StartPlan{L"https://example.com", true, L"", std::nullopt,
                                           ShowState::kMinimized},
                                 false}));
}

TEST(MenuIniError, TheBoxNamesTheFileTheLineAndTheReason) {
  EXPECT_EQ(MenuIniPath(L"E:\\"), L"E:\\menu.ini");
  EXPECT_EQ(MenuIniPath(L"C:\\My Disc"), L"C:\\My Disc\\menu.ini");
  const MenuIniParse parse = Parse("[Button1]\n\nShow=tiny\n");
  ASSERT_TRUE(parse.error);
  const rt::RunTimeError error = MenuIniRunTimeError(L"E:\\menu.ini", *parse.error);
  EXPECT_EQ(error.Number(), rt::kErrInvalidProcedureCall);
  EXPECT_EQ(rt::FormatErrorReport(error),
            L"Run-time error '5':\nInvalid procedure call or argument\n\n"
            L"Could not read the menu settings\nE:\\menu.ini\n\n"
            L"Line 3: Show is \"tiny\"; it takes minimized, normal or maximized");
  const rt::RunTimeError whole =
      MenuIniRunTimeError(L"E:\\menu.ini", *Parse(std::string(kMenuIniMaxBytes + 1, ';')).error);
  EXPECT_EQ(whole.Detail(), L"The file has 65537 bytes, more than the 65536 it may have");
  const rt::RunTimeError unreadable = MenuIniUnreadableError(L"E:\\menu.ini", 5, L"Access denied.");
  EXPECT_EQ(unreadable.Number(), rt::kErrPathFileAccess);
  EXPECT_EQ(unreadable.Subject(), L"E:\\menu.ini");
  EXPECT_EQ(unreadable.SystemCode(), 5u);
}

TEST(MenuIniDemo, TheDiscsFileNamesTheButtonsAndKeepsTheDesignsStarts) {
  std::ifstream in(MENU_DEMO_INI, std::ios::binary);
  ASSERT_TRUE(in) << MENU_DEMO_INI;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  const MenuIniParse parse = ParseMenuIni(bytes);
  ASSERT_FALSE(parse.error) << parse.error->line << L": " << parse.error->reason;
  const std::wstring_view labels[] = {
      L"Install TEV \u2013 3D Design", L"Install MOLAN \u2013 Audio Studio",
      L"Install PIRUK \u2013 Photo Editor", L"Install DASEF \u2013 Video Suite", L"Close"};
  const std::int16_t indexes[] = {0, 1, 2, 3, 14};
  for (std::size_t i = 0; i < std::size(indexes); ++i) {
    const ButtonSettings& button = *parse.settings.Button(indexes[i]);
    EXPECT_EQ(ChooseText(button.label, std::vector<std::wstring>{L"de-DE"}), labels[i]);
    for (const bool is64 : {false, true}) {
      EXPECT_EQ(ResolveButton(button, indexes[i], L"E:\\", is64),
                ResolveButton(ButtonSettings{}, indexes[i], L"E:\\", is64));
    }
  }
  EXPECT_EQ(ChooseText(parse.settings.title, {}), std::nullopt);
}

}  // namespace
}  // namespace menu

// A disc's own layout from menu.ini: the keys that place, picture, hide and add buttons with their
// refusals, and the window, the keyboard and screen readers following them.
#include <gtest/gtest.h>

#include <string>

#include "MenuFixture.h"
#include "MenuIni.h"
#include "MenuSettingsFile.h"

namespace menu {
namespace {

using namespace testing;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

struct LayoutRefusal {
  const char* ini;
  int line;
  const wchar_t* words;
};

class LayoutRefused : public ::testing::TestWithParam<LayoutRefusal> {};

TEST_P(LayoutRefused, WithTheLineAndTheReason) {
  const MenuIniParse parse = ParseMenuIni(Bytes(GetParam().ini));
  ASSERT_TRUE(parse.error) << GetParam().ini;
  EXPECT_EQ(parse.error->line, GetParam().line);
  EXPECT_NE(parse.error->reason.find(GetParam().words), std::wstring::npos)
      << std::string(parse.error->reason.begin(), parse.error->reason.end());
  EXPECT_EQ(parse.settings, MenuSettings{});
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LayoutRefused,
    ::testing::Values(
        LayoutRefusal{"[Button1]\nPlace=10", 2, L"Place is \"10\""},
        LayoutRefusal{"[Button1]\nPlace=10,", 2, L"two whole numbers"},
        LayoutRefusal{"[Button1]\nPlace=-1,0", 2, L"two whole numbers"},
        LayoutRefusal{"[Button1]\nPlace=32768,0", 2, L"0 to 32767"},
        LayoutRefusal{"[Button1]\nPlace=1.5,2", 2, L"two whole numbers"},
        LayoutRefusal{"[Button1]\nPlace=1,2,3", 2, L"two whole numbers"},
        LayoutRefusal{"[Button1]\nPlace=000001,2", 2, L"two whole numbers"},
        LayoutRefusal{"[Close]\nPictures=https://example.com/b", 2, L"is an address"},
        LayoutRefusal{"[Button2]\nPictures=C:img\\b", 2, L"current folder of drive C:"},
        LayoutRefusal{"[Button2]\nPictures[de]=", 2, L"Pictures is empty"},
        LayoutRefusal{"[Menu]\nSkin=\\img\\main.bmp", 2, L"root of the current drive"},
        LayoutRefusal{"[Menu]\nSkin[de]=img\\a|b.bmp", 2, L"which no path may hold"},
        LayoutRefusal{"[Button1]\nHidden=maybe", 2, L"yes or no"},
        LayoutRefusal{"[Button1]\nSkin=img\\s.bmp", 2, L"belongs in [Menu]"},
        LayoutRefusal{"[Menu]\nPlace=1,2", 2, L"belongs in a button's"},
        LayoutRefusal{"[Button1]\nHidden[de]=yes", 2, L"Hidden takes no language"},
        LayoutRefusal{"[Button17]\nPlace=1,2", 1, L"[Button1] to [Button16]"},
        LayoutRefusal{"[Menu]\n[Button5]\nPictures=img\\a\nOpen=a.exe\n", 2, L"has no Place"},
        LayoutRefusal{"[Button9]\nPlace=1,2\nOpen=a.exe\n[Menu]", 1, L"[Button9] has no Pictures"},
        LayoutRefusal{"[Button16]\nPlace=1,2\nPictures[de]=img\\a\nOpen=a.exe", 1,
                      L"has no Pictures"},
        LayoutRefusal{"[Button5]\nPlace=1,2\nPictures=img\\a\nTooltip=x", 1, L"has no Open"}));

TEST(LayoutKeys, AreReadAsWrittenWithTheirLanguages) {
  const MenuIniParse parse = ParseMenuIni(
      Bytes("[Menu]\nSkin=img/wide.bmp\nSkin[de]=img\\breit.bmp\n"
            "[Button3]\nplace= 0 , 32767 \nHIDDEN=Yes\n"
            "[Button12]\nPlace=5,6\nPictures=img\\x\nPictures[de-AT]=\"img\\x at\"\nOpen64=y.exe\n"
            "[Close]\nHidden=no\n"));
  ASSERT_FALSE(parse.error) << std::string(parse.error->reason.begin(), parse.error->reason.end());
  const MenuSettings& settings = parse.settings;
  EXPECT_EQ(settings.skin.plain, L"img/wide.bmp");
  ASSERT_EQ(settings.skin.translations.size(), 1u);
  EXPECT_EQ(settings.installers[2].place, (ButtonPlace{0, 32767}));
  EXPECT_TRUE(settings.installers[2].hidden);
  EXPECT_FALSE(settings.close.hidden);
  for (std::size_t i = 0; i < kAddedButtons; ++i) EXPECT_EQ(settings.added[i].has_value(), i == 7);
  const ButtonSettings* added = settings.Button(FindButton(22)->index);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(FindButton(22)->section, L"Button12");
  EXPECT_EQ(added->place, (ButtonPlace{5, 6}));
  const std::wstring austrian = L"de-AT";
  EXPECT_EQ(ChooseText(added->pictures, std::span(&austrian, 1)), L"img\\x at");
  EXPECT_EQ(settings.Button(15), nullptr);  // [Button5] not given
}

// A disc of six buttons: [Button2] hidden, [Button1] moved, three added, German pictures and skin.
// (The top strip lies over every button, so none is placed under it.)
class DiscLayout : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    platform.languages = {L"de-DE"};
    platform.files[Img(L"wide.bmp")] = BitmapFile(640, 400);
    platform.files[Img(L"breit.bmp")] = BitmapFile(640, 400);
    for (const wchar_t* base : {L"p5", L"p6", L"p7", L"p5de", L"p6de", L"p7de"}) {
      for (const wchar_t* look : {L"-1.bmp", L"-2.bmp", L"-3.bmp"}) {
        platform.files[Img(std::wstring(base) + look)] = BitmapFile(60, 30);
      }
    }
    platform.files[L"C:\\Menu\\menu.ini"] = Bytes(
        "[Menu]\nSkin=img\\wide.bmp\nSkin[de]=img\\breit.bmp\n"
        "[Button1]\nPlace=20,80\n[Button2]\nHidden=yes\n"
        "[Button5]\nPlace=300,80\nPictures=img\\p5\nPictures[de]=img/p5de\nOpen=five.exe\n"
        "Label=Five\nLabel[de]=F\xC3\xBCnf\nTooltip[de]=Tipp\n"
        "[Button6]\nPlace=300,140\nPictures=img\\p6\nPictures[de]=img\\p6de\nOpen=six.exe\n"
        "[Button7]\nPlace=300,200\nPictures=img\\p7\nPictures[de]=img\\p7de\nOpen=seven.exe\n"
        "AfterStart=stay\n");
  }
  void StartDisc() {
    Module1::Main(platform, form, ReadMenuSettings(platform));
    platform.log.clear();
  }
};

TEST_F(DiscLayout, TheWindowShowsTheDiscsButtonsWhereItPlacesThem) {
  StartDisc();
  EXPECT_EQ(form->SkinWidth(), 640);
  EXPECT_EQ(form->cmd(1), nullptr);  // hidden: not on the window at all
  EXPECT_EQ(Shows(0), L"bmp1-2.bmp");
  EXPECT_EQ(form->cmd(0)->Bounds(), (rt::PixelRect{20, 80, 133, 202}));
  EXPECT_EQ(Shows(15), L"p5de-2.bmp");
  EXPECT_EQ(form->cmd(15)->Bounds(), (rt::PixelRect{300, 80, 360, 110}));
  EXPECT_EQ(form->cmd(17)->Bounds(), (rt::PixelRect{300, 200, 360, 230}));
  ASSERT_EQ(platform.tooltips.count(15), 1u);
  EXPECT_EQ(platform.tooltips[15].second, L"Tipp");
  // Hover, press and start an added button, by the pointer.
  Move(310, 90);
  EXPECT_EQ(Shows(15), L"p5de-3.bmp");
  EXPECT_EQ(Tag(15), L"1");
  Move(500, 300);  // the bare skin
  EXPECT_EQ(Shows(15), L"p5de-2.bmp");
  EXPECT_EQ(Tag(15), L"");
  Move(330, 150);
  EXPECT_EQ(Shows(16), L"p6de-3.bmp");
  Down(305, 210);
  EXPECT_EQ(Shows(17), L"p7de-1.bmp");
  Up(305, 210);
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.started[0].program, L"C:\\Menu\\seven.exe");
  EXPECT_TRUE(form->Form().Loaded());  // AfterStart=stay
}

TEST_F(DiscLayout, KeyboardAndScreenReadersFollowTheDiscsOrder) {
  StartDisc();
  const std::vector<std::int16_t> order = {0, 2, 3, 15, 16, 17, kCloseButton};
  EXPECT_EQ(form->ActiveButtons(), order);
  ASSERT_EQ(form->ChildCount(), 7);
  EXPECT_EQ(form->Child(3).name, L"F\u00fcnf");
  EXPECT_EQ(form->Child(4).name, L"Button6");  // no Label: the section's name
  EXPECT_EQ(form->Child(3).bounds, (rt::PixelRect{300, 80, 360, 110}));
  EXPECT_EQ(form->ChildAt(305, 205), 5);
  EXPECT_EQ(form->ChildAt(300, 300), -1);
  for (const std::int16_t expected : order) {
    platform.events->OnKey({.key = rt::Key::kTab});
    ASSERT_NE(form->Form().FocusedControl(), nullptr);
    EXPECT_EQ(form->Form().FocusedControl()->Index(), expected);
  }
  platform.events->OnKey({.key = rt::Key::kTab});
  EXPECT_EQ(form->Form().FocusedControl()->Index(), 0);  // round again
}

TEST_F(DiscLayout, PlacesScaleWithTheDisplay) {
  platform.screenDpi = 120;
  StartDisc();
  EXPECT_EQ(form->cmd(15)->Bounds().left, 375);
  EXPECT_EQ(form->cmd(15)->Bounds().top, 100);
  EXPECT_EQ(form->cmd(0)->Bounds().left, 25);
  EXPECT_EQ(form->cmd(15)->Bounds().Width(), 75);
}

TEST_F(DiscLayout, WithoutTheUsersLanguageThePlainPicturesServe) {
  platform.languages = {L"fr-FR"};
  StartDisc();
  EXPECT_EQ(Shows(16), L"p6-2.bmp");
  EXPECT_EQ(form->Child(3).name, L"Five");
}

TEST_F(DiscLayout, EscapeClosesAMenuWhoseCloseButtonIsHidden) {
  platform.files[L"C:\\Menu\\menu.ini"] = Bytes("[Close]\nHidden=yes\nOpen=x.exe\n");
  StartDisc();
  EXPECT_EQ(form->cmd(kCloseButton), nullptr);
  EXPECT_EQ(form->ChildCount(), 4);
  platform.events->OnKey({.key = rt::Key::kEscape});
  EXPECT_TRUE(platform.started.empty());
  EXPECT_FALSE(form->Form().Loaded());
}

}  // namespace
}  // namespace menu

// The keyboard: key sequences mixed with pointer moves, presses and lost capture or focus, and
// the pictures, markers, focus and commands they leave; the focus rectangle; the window as a
// screen reader sees it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "FocusOrder.h"
#include "MenuFixture.h"
#include "resource.h"

namespace menu {
namespace {

using namespace testing;

struct KeyCase {
  const char* name;
  const char* steps;
  int focused;                       // the focused button, -1 for none
  std::vector<int> lit;              // the buttons showing their hover look
  const wchar_t* started = nullptr;  // the installer started, if any
  bool open = true;                  // whether the menu is still up
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name << ": " << c.steps; }

class Keys : public MenuTest, public ::testing::WithParamInterface<KeyCase> {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Start();
  }

  void Key(const rt::KeyEvent& event) {
    ASSERT_NE(platform.events, nullptr) << "the window is gone";
    platform.events->OnKey(event);
  }

  // Steps: Tab S-Tab Left Right Up Down Esc, Space Enter (down) Space^ Enter^ (up), Space* Enter*
  // Esc* (a key held down, repeating), A-Space (with Alt), move:N (the pointer over button N)
  // move:skin, down:N up:N (the left mouse button), lost:capture lost:focus.
  void Run(const std::string& steps) {
    const auto centre = [&](int index) {
      const rt::PixelRect b = form->cmd(static_cast<std::int16_t>(index))->Bounds();
      return std::pair{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    };
    std::istringstream words(steps);
    for (std::string step; words >> step;) {
      const auto colon = step.find(':');
      const std::string what = step.substr(0, colon);
      const std::string where = colon == std::string::npos ? "" : step.substr(colon + 1);
      const bool pointer = what == "move" || what == "down" || what == "up";
      const auto [x, y] =
          !pointer || where == "skin" ? std::pair{kSkinX, kSkinY} : centre(std::stoi(where));
      const auto down = [](rt::Key key) { return rt::KeyEvent{.key = key}; };
      const auto held = [](rt::Key key) { return rt::KeyEvent{.key = key, .repeat = true}; };
      const auto up = [](rt::Key key) {
        return rt::KeyEvent{.action = rt::KeyAction::kUp, .key = key};
      };
      if (step == "Tab")
        Key(down(rt::Key::kTab));
      else if (step == "S-Tab")
        Key({.key = rt::Key::kTab, .shift = true});
      else if (step == "Left")
        Key(down(rt::Key::kLeft));
      else if (step == "Right")
        Key(down(rt::Key::kRight));
      else if (step == "Up")
        Key(down(rt::Key::kUp));
      else if (step == "Down")
        Key(down(rt::Key::kDown));
      else if (step == "Esc")
        Key(down(rt::Key::kEscape));
      else if (step == "Esc*")
        Key(held(rt::Key::kEscape));
      else if (step == "Space")
        Key(down(rt::Key::kSpace));
      else if (step == "Space*")
        Key(held(rt::Key::kSpace));
      else if (step == "A-Space")
        Key({.key = rt::Key::kSpace, .alt = true});
      else if (step == "Space^")
        Key(up(rt::Key::kSpace));
      else if (step == "Enter")
        Key(down(rt::Key::kEnter));
      else if (step == "Enter*")
        Key(held(rt::Key::kEnter));
      else if (step == "Enter^")
        Key(up(rt::Key::kEnter));
      else if (what == "move")
        Move(x, y);
      else if (what == "down")
        MenuTest::Down(x, y);
      else if (what == "up")
        MenuTest::Up(x, y);
      else if (step == "lost:capture")
        platform.events->OnCaptureLost();
      else if (step == "lost:focus")
        platform.events->OnFocusLost();
      else
        FAIL() << "unknown step " << step;
    }
  }
};

TEST_P(Keys, LeaveTheFocusLooksAndCommandsTheyShould) {
  const KeyCase& c = GetParam();
  Run(c.steps);
  if (c.started != nullptr) {
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program, L"C:\\Menu\\ZENT\\" + std::wstring(c.started));
    EXPECT_TRUE(platform.started[0].minimized);
  } else {
    EXPECT_TRUE(platform.started.empty());
  }
  EXPECT_EQ(form->Form().Loaded(), c.open);
  if (!c.open) return;
  const rt::Control* focused = form->Form().FocusedControl();
  EXPECT_EQ(focused != nullptr ? focused->Index() : -1, c.focused);
  for (const std::int16_t index : kActiveButtons) {
    const bool lit = std::find(c.lit.begin(), c.lit.end(), index) != c.lit.end();
    EXPECT_EQ(Shows(index).ends_with(L"-3.bmp"), lit)
        << "button " << index << " shows " << Shows(index);
    if (lit) {
      EXPECT_EQ(Tag(index), L"1") << "button " << index;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Keys,
    ::testing::Values(
        KeyCase{"nothing", "", -1, {}}, KeyCase{"tab", "Tab", 0, {0}},
        KeyCase{"tab twice", "Tab Tab", 1, {1}},
        KeyCase{"shift tab enters from the end", "S-Tab", 14, {14}},
        KeyCase{"tab wraps", "Tab Tab Tab Tab Tab Tab", 0, {0}},
        KeyCase{"shift tab wraps", "Tab S-Tab", 14, {14}},
        KeyCase{"arrows", "Right Down Down Left", 1, {1}},
        KeyCase{"up from nothing", "Up", 14, {14}},
        KeyCase{
            "enter starts the second", "Tab Tab Enter Enter^", -1, {}, L"MOLAN_setup.exe", false},
        KeyCase{"space on close", "S-Tab Space Space^", -1, {}, nullptr, false},
        KeyCase{"escape", "Esc", -1, {}, nullptr, false},
        KeyCase{"escape with a focus", "Tab Tab Esc", -1, {}, nullptr, false},
        KeyCase{"held space shows pressed", "Tab Space Space*", 0, {}},
        // A key already held when the focus came, or when a press was cancelled, only repeats:
        // it presses, clicks and closes nothing.
        KeyCase{"a repeating space presses nothing", "Tab Space* Space^", 0, {0}},
        KeyCase{"a repeating enter after a cancel", "Tab Enter Tab Enter* Enter^", 1, {1}},
        KeyCase{"a repeating escape stays", "Tab Esc*", 0, {0}},
        KeyCase{"alt space belongs to the system", "Tab A-Space Space^", 0, {0}},
        KeyCase{"another key's release", "Tab Space Enter^", 0, {}},
        KeyCase{"tab cancels a press", "Tab Space Tab Space^", 1, {1}},
        KeyCase{"lost focus cancels a press", "Tab Space lost:focus Space^", 0, {}},
        KeyCase{"mouse press cancels a press", "Tab Space down:skin up:skin Space^", 0, {}},
        KeyCase{"bare skin unlights the focus", "Tab move:skin", 0, {}},
        KeyCase{"pointer takes the focus", "Tab move:2", 2, {2}},
        KeyCase{"pointer alone moves no focus", "move:0 move:1", -1, {0, 1}},
        KeyCase{"tab after two lit", "move:0 move:1 Tab", 0, {0}},
        KeyCase{"released button lights on focus", "move:0 down:0 lost:capture Tab", 0, {0}},
        KeyCase{
            "mouse click after tab", "Tab move:3 down:3 up:3", -1, {}, L"DASEF_setup.exe", false},
        KeyCase{"no focus, enter does nothing", "Enter Enter^ Space Space^", -1, {}}),
    [](const ::testing::TestParamInfo<KeyCase>& param) {
      std::string name = param.param.name;
      std::replace_if(
          name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
      return name;
    });

// The keyboard goes round the row; screen readers hear that nothing lies past either end.
TEST(FocusOrder, EntersTheRowFromEitherEndAndGoesRoundOnlyForTheKeyboard) {
  const struct {
    int from, step, count, round, nothing;
  } cases[] = {
      {-1, 1, 5, 0, 0},  {-1, -1, 5, 4, 4},  {0, 1, 5, 1, 1},     {3, 1, 5, 4, 4},
      {4, 1, 5, 0, -1},  {0, -1, 5, 4, -1},  {2, -1, 5, 1, 1},    {0, 1, 1, 0, -1},
      {0, -1, 1, 0, -1}, {-1, 1, 0, -1, -1}, {-1, -1, 0, -1, -1}, {5, 1, 5, 0, 0},
      {5, -1, 5, 4, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::NextInRow(c.from, c.step, c.count), c.round)
        << "from " << c.from << " by " << c.step << " of " << c.count;
    EXPECT_EQ(rt::NextInRow(c.from, c.step, c.count, rt::RowEnds::kNothing), c.nothing)
        << "from " << c.from << " by " << c.step << " of " << c.count << ", ends";
  }
}

class KeyboardCues : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Start();
  }
};

TEST_F(KeyboardCues, TheFocusRectangleAppearsAfterTheFirstKeyAndFollowsTheCues) {
  platform.Paint();
  EXPECT_EQ(std::count_if(platform.painted.begin(), platform.painted.end(),
                          [](const std::wstring& s) { return s.starts_with(L"focus"); }),
            0);
  platform.events->OnKey({.key = rt::Key::kTab});
  EXPECT_EQ(platform.Lines(L"ShowFocusCues").size(), 1u);
  platform.Paint();
  EXPECT_EQ(platform.painted.back(), L"focus 94,198,211,324");  // button 0, two pixels around
  platform.events->OnFocusCues(false);
  platform.Paint();
  EXPECT_FALSE(platform.painted.back().starts_with(L"focus"));
}

TEST_F(KeyboardCues, ScreenReadersHearTheButtonsAndCanPressThem) {
  for (int id = IDS_NAME_BUTTON1; id <= IDS_NAME_CLOSE; ++id) {
    platform.strings[id] = L"name " + std::to_wstring(id);
  }
  platform.strings[IDS_PRODUCT] = L"Product";
  rt::AccessibleWindow* accessible = platform.events->Accessible();
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->Name(), L"Product");
  ASSERT_EQ(accessible->ChildCount(), 5);
  const rt::AccessibleItem close = accessible->Child(4);
  EXPECT_EQ(close.name, L"name 205");
  EXPECT_EQ(close.bounds, (rt::PixelRect{632, 544, 712, 572}));
  EXPECT_FALSE(close.focused || close.hot || close.pressed);
  EXPECT_EQ(accessible->ChildAt(kButton1X, kButton1Y), 1);
  EXPECT_EQ(accessible->ChildAt(kSkinX, kSkinY), -1);
  EXPECT_EQ(accessible->ChildAt(kDisabledX, kDisabledY), -1);

  accessible->Focus(2);
  EXPECT_EQ(accessible->FocusedChild(), 2);
  EXPECT_TRUE(accessible->Child(2).focused && accessible->Child(2).hot);
  EXPECT_EQ(platform.Lines(L"AnnounceFocus"), std::vector<std::wstring>{L"AnnounceFocus 2"});
  platform.events->OnKey({.key = rt::Key::kSpace});
  EXPECT_TRUE(accessible->Child(2).pressed);

  accessible->Press(4);
  EXPECT_FALSE(form->Form().Loaded());
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(platform.events, nullptr);
}

}  // namespace
}  // namespace menu

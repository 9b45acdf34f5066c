// The buttons' commands and the window drag.
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using namespace testing;

class Commands : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Start();
  }
};

class CommandOf : public Commands, public ::testing::WithParamInterface<int> {};

TEST_P(CommandOf, OnlyTheInstallerButtonsAndTheCloseButtonAct) {
  const int i = GetParam();
  const wchar_t* installers[] = {L"TEV", L"MOLAN", L"PIRUK", L"DASEF"};
  form->cmd_Click(static_cast<std::int16_t>(i));
  if (i >= 0 && i <= 3) {
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].program,
              std::wstring(L"C:\\Menu\\ZENT\\") + installers[i] + L"_setup.exe");
    EXPECT_FALSE(form->Form().Loaded());
  } else if (i == 14) {
    EXPECT_TRUE(platform.started.empty());
    EXPECT_FALSE(form->Form().Loaded());
    EXPECT_FALSE(platform.windowExists);
  } else {
    EXPECT_TRUE(platform.started.empty());
    EXPECT_TRUE(form->Form().Loaded());
  }
}

INSTANTIATE_TEST_SUITE_P(Indexes, CommandOf, ::testing::Range(-1, 16));

TEST(InstallerPath, TheLiteralAlwaysBeginsWithASeparator) {
  EXPECT_EQ(InstallerPath(L"E:\\", 0), L"E:\\\\ZENT\\TEV_setup.exe");
  EXPECT_EQ(InstallerPath(L"C:\\Menu", 3), L"C:\\Menu\\ZENT\\DASEF_setup.exe");
  EXPECT_EQ(InstallerPath(L"C:\\Menu", 4), L"");
  EXPECT_EQ(InstallerPath(L"C:\\Menu", -1), L"");
}

TEST_F(Commands, AStartIsMinimizedInTheInstallersFolderAndThenTheMenuCloses) {
  Move(kButton0X, kButton0Y);
  Down(kButton0X, kButton0Y);
  Up(kButton0X, kButton0Y);
  ASSERT_EQ(platform.started.size(), 1u);
  const rt::StartRequest& request = platform.started[0];
  EXPECT_EQ(request.program, L"C:\\Menu\\ZENT\\TEV_setup.exe");
  EXPECT_EQ(request.workingFolder, L"C:\\Menu\\ZENT");
  EXPECT_TRUE(request.minimized);
  const std::vector<std::wstring> tail(platform.log.end() - 2, platform.log.end());
  EXPECT_EQ(tail[0].rfind(L"StartProgram ", 0), 0u);
  EXPECT_EQ(tail[1], L"DestroyWindow");
}

TEST(DriveRoot, TheInstallerPathHoldsTwoSeparators) {
  rt::FakePlatform root;
  root.programFolder = L"E:\\";
  AddMenuFiles(root, L"E:\\");
  std::unique_ptr<frmMain> menu;
  Module1::Main(root, menu);
  menu->cmd_Click(1);
  ASSERT_EQ(root.started.size(), 1u);
  EXPECT_EQ(root.started[0].program, L"E:\\\\ZENT\\MOLAN_setup.exe");
  EXPECT_EQ(root.started[0].workingFolder, L"E:\\\\ZENT");
}

TEST_F(Commands, AMissingInstallerIsAnErrorAndTheMenuIsNotUnloaded) {
  platform.missingPrograms.push_back(L"C:\\Menu\\ZENT\\PIRUK_setup.exe");
  try {
    form->cmd_Click(2);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
    EXPECT_EQ(error.Subject(), L"C:\\Menu\\ZENT\\PIRUK_setup.exe");
  }
  EXPECT_TRUE(platform.started.empty());
  EXPECT_TRUE(form->Form().Loaded());
}

TEST_F(Commands, ThePressOfAnyButtonOnTheStripDragsTheWindow) {
  for (rt::MouseButton button :
       {rt::MouseButton::kLeft, rt::MouseButton::kRight, rt::MouseButton::kMiddle}) {
    platform.log.clear();
    Down(kStripX, kStripY, button);
    EXPECT_EQ(platform.Lines(L"DragWindow").size(), 1u);
    EXPECT_FALSE(platform.captured);
    Up(kStripX, kStripY, button);
  }
}

TEST_F(Commands, PressesElsewhereNeverDragTheWindow) {
  Down(kSkinX, kSkinY);
  Up(kSkinX, kSkinY);
  Down(kButton0X, kButton0Y, rt::MouseButton::kRight);
  Up(kButton0X, kButton0Y, rt::MouseButton::kRight);
  Down(kDisabledX, kDisabledY);
  Up(kDisabledX, kDisabledY);
  EXPECT_TRUE(platform.Lines(L"DragWindow").empty());
}

TEST_F(Commands, TheCloseButtonClosesWithoutStartingAnything) {
  Move(kCloseX, kCloseY);
  Down(kCloseX, kCloseY);
  Up(kCloseX, kCloseY);
  EXPECT_TRUE(platform.started.empty());
  EXPECT_FALSE(platform.windowExists);
  EXPECT_EQ(platform.events, nullptr);
}

}  // namespace
}  // namespace menu

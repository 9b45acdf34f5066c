// A menu on the recording platform: every picture file present, helpers to drive the pointer.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "FakePlatform.h"
#include "Module1.h"
#include "frmMain.h"

namespace menu::testing {

// A 24-bit bitmap file of the given size, white or painted by `pixel` (0x00BBGGRR).
inline rt::FileBytes BitmapFile(int width, int height,
                                const std::function<std::uint32_t(int x, int y)>& pixel = nullptr) {
  std::vector<bmpio::Rgb> colours(
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
      bmpio::Rgb{255, 255, 255});
  if (pixel) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t c = pixel(x, y);
        colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)] = {static_cast<std::uint8_t>(c),
                                                static_cast<std::uint8_t>(c >> 8),
                                                static_cast<std::uint8_t>(c >> 16)};
      }
    }
  }
  return bmpio::Write24(width, height, colours);
}

// Folder C:\Menu with the skin and all fifteen pictures of series "bmp", at their real sizes.
inline void AddMenuFiles(rt::FakePlatform& platform, const std::wstring& folder) {
  const std::wstring img = folder + (folder.back() == L'\\' ? L"img\\" : L"\\img\\");
  platform.files[img + L"main.bmp"] = BitmapFile(800, 600);
  const rt::FileBytes button = BitmapFile(113, 122);
  for (int number : {1, 2, 3, 4}) {
    for (int state : {1, 2, 3}) {
      platform
          .files[img + L"bmp" + std::to_wstring(number) + L"-" + std::to_wstring(state) + L".bmp"] =
          button;
    }
  }
  const rt::FileBytes close = BitmapFile(80, 28);
  for (int state : {1, 2, 3})
    platform.files[img + L"bmp15-" + std::to_wstring(state) + L".bmp"] = close;
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override { AddMenuFiles(platform, platform.programFolder); }

  void Start() {
    Module1::Main(platform, form);
    platform.log.clear();
  }

  std::wstring Img(const std::wstring& file) const {
    return platform.programFolder + L"\\img\\" + file;
  }

  // The file name of the picture button `index` shows, or empty without one.
  std::wstring Shows(std::int16_t index) {
    const rt::Picture& picture = form->cmd(index)->CurrentPicture();
    if (!picture) return {};
    const auto& source = static_cast<const rt::FakePicture*>(picture.Data())->Source();
    return source.substr(source.find_last_of(L'\\') + 1);
  }

  const std::wstring& Tag(std::int16_t index) { return form->cmd(index)->Tag(); }

  std::vector<std::wstring> Loads() const { return platform.Lines(L"LoadPicture"); }

  void Pointer(rt::PointerAction action, int x, int y, rt::MouseButton button, int held) {
    rt::PointerEvent event;
    event.action = action;
    event.x = x;
    event.y = y;
    event.button = button;
    event.buttons = held;
    ASSERT_NE(platform.events, nullptr) << "the window is gone";
    platform.events->OnPointer(event);
  }
  void Move(int x, int y, int held = 0) {
    Pointer(rt::PointerAction::kMove, x, y, rt::MouseButton::kNone, held);
  }
  void Down(int x, int y, rt::MouseButton button = rt::MouseButton::kLeft) {
    Pointer(rt::PointerAction::kDown, x, y, button, static_cast<int>(button));
  }
  void Up(int x, int y, rt::MouseButton button = rt::MouseButton::kLeft) {
    Pointer(rt::PointerAction::kUp, x, y, button, 0);
  }

  rt::FakePlatform platform;
  std::unique_ptr<frmMain> form;
};

// Button indexes as the handlers receive them.
inline constexpr std::array<std::int16_t, 4> kInstallerButtons = {0, 1, 2, 3};
inline constexpr std::array<std::int16_t, 4> kDisabledButtons = {6, 7, 8, 9};
inline constexpr std::array<std::int16_t, 9> kMembers = {0, 1, 2, 3, 6, 7, 8, 9, 14};
inline constexpr std::array<std::int16_t, 8> kNonMembers = {-1, 4, 5, 10, 11, 12, 13, 15};

// Points inside each button and on the bare skin.
inline constexpr int kButton0X = 150, kButton0Y = 260;
inline constexpr int kButton1X = 300, kButton1Y = 340;
inline constexpr int kButton3X = 650, kButton3Y = 330;
inline constexpr int kCloseX = 660, kCloseY = 556;
inline constexpr int kSkinX = 400, kSkinY = 150;
inline constexpr int kDisabledX = 200, kDisabledY = 480;  // over cmd(6)
inline constexpr int kStripX = 400, kStripY = 20;         // over Picture1

}  // namespace menu::testing

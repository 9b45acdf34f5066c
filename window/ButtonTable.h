// The menu's buttons, all in one table: for every member of the control array cmd, its role, its
// designed place and size, its pictures, what it starts by default, its menu.ini section, the
// names screen readers give it and whether it is enabled. The window's definition, the handlers,
// the keyboard order, what screen readers see, the path rule, menu.ini and the folder check all
// read it; nothing else lists buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Geometry.h"
#include "resource.h"

namespace menu {

// The control array every button belongs to.
inline constexpr std::wstring_view kButtonArray = L"cmd";

enum class ButtonRole {
  kInstaller,  // starts its installer in ZENT unless menu.ini says otherwise
  kClose,      // closes the menu unless menu.ini says otherwise
  kDisabled,   // on the window as designed, never enabled and never shown
  kAdded,      // there only when the disc's menu.ini gives its section
};

// The state suffixes of a series' picture files, by the look each one gives.
struct LookSuffixes {
  std::wstring_view normal;
  std::wstring_view hover;
  std::wstring_view pressed;
};
// Series "bmp" has a look for each state; pictures a disc names take the same three.
inline constexpr LookSuffixes kBmpLooks = {L"-2.bmp", L"-3.bmp", L"-1.bmp"};
// Series "cmd" has no pressed look of its own: "-1.bmp" is normal and pressed.
inline constexpr LookSuffixes kCmdLooks = {L"-1.bmp", L"-3.bmp", L"-1.bmp"};

// The design's picture series: "bmp" for the buttons it shows, "cmd" for every other index.
inline constexpr std::wstring_view kShownSeries = L"bmp";
inline constexpr std::wstring_view kOtherSeries = kButtonArray;

struct ButtonRecord {
  std::int16_t index;  // member of cmd
  ButtonRole role;
  rt::PixelRect place;          // designed place and size, in pixels at 100 %; added: none
  int pictureResource;          // the design-time picture; 0 for none
  std::wstring_view series;     // the design's picture files: img\ + series + index + 1 + suffix
  LookSuffixes looks;           // the suffixes of its three looks
  std::wstring_view installer;  // started from ZENT without an Open; empty for none
  std::wstring_view section;    // in menu.ini; empty for none
  int number;                   // the section's number: [Button5] is 5; 0 for none
  int nameString;               // the built-in name screen readers say; 0 for none
  int aboutString;              // what the button does, for screen readers; 0 for none

  // Whether it takes the pointer and the keyboard and is named to screen readers.
  constexpr bool Enabled() const { return role != ButtonRole::kDisabled; }
};

namespace table {

constexpr ButtonRecord Installer(std::int16_t index, rt::PixelRect place, int picture,
                                 std::wstring_view installer, std::wstring_view section,
                                 int nameString, int aboutString) {
  return {index,        ButtonRole::kInstaller,
          place,        picture,
          kShownSeries, kBmpLooks,
          installer,    section,
          index + 1,    nameString,
          aboutString};
}
// Its pictures are the disc's, named by its section; the index alone names none.
constexpr ButtonRecord Added(std::int16_t index, std::wstring_view section, int number) {
  return {index, ButtonRole::kAdded, {}, 0, kOtherSeries, kBmpLooks, {}, section, number, 0, 0};
}
constexpr ButtonRecord Disabled(std::int16_t index, rt::PixelRect place) {
  return {index, ButtonRole::kDisabled, place, 0, kOtherSeries, kCmdLooks, {}, {}, 0, 0, 0};
}

}  // namespace table

// In the order the keyboard visits the active ones and screen readers list them: [Button1] to
// [Button16], then [Close]; the buttons disabled by design last, in the order their markers are
// reset. A disc's buttons [Button5] and on are the members after the close button.
inline constexpr std::array<ButtonRecord, 21> kButtons = {{
    table::Installer(0, {96, 200, 209, 322}, IDB_BUTTON1, L"TEV_setup.exe", L"Button1",
                     IDS_NAME_BUTTON1, IDS_ABOUT_BUTTON1),
    table::Installer(1, {256, 288, 369, 410}, IDB_BUTTON2, L"MOLAN_setup.exe", L"Button2",
                     IDS_NAME_BUTTON2, IDS_ABOUT_BUTTON2),
    table::Installer(2, {440, 312, 553, 434}, IDB_BUTTON3, L"PIRUK_setup.exe", L"Button3",
                     IDS_NAME_BUTTON3, IDS_ABOUT_BUTTON3),
    table::Installer(3, {600, 280, 713, 402}, IDB_BUTTON4, L"DASEF_setup.exe", L"Button4",
                     IDS_NAME_BUTTON4, IDS_ABOUT_BUTTON4),
    table::Added(15, L"Button5", 5),
    table::Added(16, L"Button6", 6),
    table::Added(17, L"Button7", 7),
    table::Added(18, L"Button8", 8),
    table::Added(19, L"Button9", 9),
    table::Added(20, L"Button10", 10),
    table::Added(21, L"Button11", 11),
    table::Added(22, L"Button12", 12),
    table::Added(23, L"Button13", 13),
    table::Added(24, L"Button14", 14),
    table::Added(25, L"Button15", 15),
    table::Added(26, L"Button16", 16),
    {14,
     ButtonRole::kClose,
     {632, 544, 712, 572},
     0,
     kShownSeries,
     kBmpLooks,
     {},
     L"Close",
     0,
     IDS_NAME_CLOSE,
     IDS_ABOUT_CLOSE},
    table::Disabled(6, {192, 472, 304, 507}),
    table::Disabled(7, {448, 472, 560, 507}),
    table::Disabled(8, {320, 472, 432, 507}),
    table::Disabled(9, {576, 472, 688, 507}),
}};

// The section number of the first button a disc adds: [Button5].
inline constexpr int kFirstAddedNumber = 5;

// The folder the installers lie in, beside the menu.
inline constexpr std::wstring_view kInstallerFolder = L"ZENT";

// The record of member `index`, or null for an index that is not one.
constexpr const ButtonRecord* FindButton(std::int16_t index) {
  for (const ButtonRecord& record : kButtons) {
    if (record.index == index) return &record;
  }
  return nullptr;
}

// The close button's index.
inline constexpr std::int16_t kCloseButton = [] {
  for (const ButtonRecord& record : kButtons) {
    if (record.role == ButtonRole::kClose) return record.index;
  }
  return std::int16_t{-1};
}();

// The buttons that act without a menu.ini, in the order the keyboard visits them.
constexpr bool DesignActive(const ButtonRecord& record) {
  return record.Enabled() && record.role != ButtonRole::kAdded;
}
inline constexpr std::size_t kDesignActiveCount = [] {
  std::size_t count = 0;
  for (const ButtonRecord& record : kButtons) count += DesignActive(record) ? 1u : 0u;
  return count;
}();
inline constexpr std::array<std::int16_t, kDesignActiveCount> kActiveButtons = [] {
  std::array<std::int16_t, kDesignActiveCount> order{};
  std::size_t at = 0;
  for (const ButtonRecord& record : kButtons) {
    if (DesignActive(record)) order[at++] = record.index;
  }
  return order;
}();

}  // namespace menu

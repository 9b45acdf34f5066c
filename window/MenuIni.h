// menu.ini, the disc maker's settings: its text decoded, parsed into the menu's settings, the text
// of a key in the user's languages, and what each button starts. Portable; the caller reads the
// file and asks the system for its languages and bitness.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RunTimeError.h"

namespace menu {

inline constexpr std::wstring_view kMenuIniFileName = L"menu.ini";
// Larger files are refused: read at most one byte more than this to find them.
inline constexpr std::size_t kMenuIniMaxBytes = 64 * 1024;

// The program folder + "menu.ini", joined by the path rule (E:\menu.ini, C:\Menu\menu.ini).
std::wstring MenuIniPath(std::wstring_view programFolder);

// Why the file cannot be used, and where.
struct MenuIniError {
  int line = 0;         // from 1; 0 when the fault is the file as a whole (its size)
  std::wstring reason;  // plain words, starting in lower case ("unknown key \"Colour\" ...")
  bool operator==(const MenuIniError&) const = default;
};

// The file's bytes as text: UTF-8 with or without a byte-order mark, or UTF-16 LE with one. The
// text holds UTF-16 code units where wchar_t has 16 bits (Windows) and code points elsewhere.
struct MenuIniText {
  std::wstring text;
  std::optional<MenuIniError> error;  // set: `text` is empty
};
MenuIniText DecodeMenuIniText(std::span<const std::uint8_t> bytes);
// The fault of a file of `size` bytes, more than kMenuIniMaxBytes: known before it is read.
MenuIniError MenuIniSizeError(std::uint64_t size);

// A text key as given plainly (Label=) and per language (Label[de]=), in the file's order.
struct LocalizedText {
  std::optional<std::wstring> plain;
  std::vector<std::pair<std::wstring, std::wstring>> translations;  // tag as written, text
  bool operator==(const LocalizedText&) const = default;
};

enum class ShowState { kMinimized, kNormal, kMaximized };

// A button's top-left corner in the design's pixels, at 100 %.
struct ButtonPlace {
  int x = 0;
  int y = 0;
  bool operator==(const ButtonPlace&) const = default;
};
// The largest coordinate Place takes.
inline constexpr int kMaxPlace = 32767;
enum class AfterStart { kClose, kStay };

// One button's section. Values are as written, after trimming and unquoting; an absent key is
// an empty optional (or the default below).
struct ButtonSettings {
  LocalizedText label;    // the accessible name; none: the built-in name
  LocalizedText tooltip;  // none or empty: no tooltip
  std::optional<std::wstring> open;
  std::optional<std::wstring> open64;  // instead of `open` on 64-bit Windows
  std::wstring arguments;              // empty: none
  std::optional<std::wstring> workingFolder;
  ShowState show = ShowState::kMinimized;
  AfterStart afterStart = AfterStart::kClose;
  std::optional<ButtonPlace> place;  // none: the design's place
  LocalizedText pictures;            // the base of the three looks' files; none: the design's
  bool hidden = false;
  bool operator==(const ButtonSettings&) const = default;
};

// The sections [Button5] and on that a disc may add.
inline constexpr std::size_t kAddedButtons = 12;

// The whole file. A default-constructed value is the menu without a menu.ini.
struct MenuSettings {
  LocalizedText title;                       // [Menu]; none: the window has an empty name
  LocalizedText skin;                        // [Menu]; none: the design's skin
  std::array<ButtonSettings, 4> installers;  // [Button1] to [Button4]
  ButtonSettings close;                      // [Close]
  // [Button5] to [Button16], where the file gives them.
  std::array<std::optional<ButtonSettings>, kAddedButtons> added;
  bool operator==(const MenuSettings&) const = default;

  // The section of button `index`, or null for an index that has none.
  const ButtonSettings* Button(std::int16_t index) const;
  ButtonSettings* Button(std::int16_t index);
};

struct MenuIniParse {
  MenuSettings settings;
  std::optional<MenuIniError> error;  // set: the first fault, and `settings` is the default
  std::vector<MenuIniError> errors;   // every fault, the first first; empty without one
};
// Decodes and parses the file's bytes; nothing is skipped or guessed. The menu reports the first
// fault; the parse goes on past it to find the others.
MenuIniParse ParseMenuIni(std::span<const std::uint8_t> bytes);
// Parses text that is already decoded (what DecodeMenuIniText gives).
MenuIniParse ParseMenuIniText(std::wstring_view text);

// The text of a key for a user whose interface languages are `preferred`, most wanted first
// (de-DE, en-US): for each tag the key in exactly that tag, then in its language alone (de); at
// last the plain key. Tags compare case-insensitively. None: the key's default applies.
std::optional<std::wstring> ChooseText(const LocalizedText& text,
                                       std::span<const std::wstring> preferred);

// What a button starts. `target` is a full path (to a program or a document the shell opens
// with its program) or an address kept as it was written.
struct StartPlan {
  std::wstring target;
  bool isAddress = false;  // https:, http: or mailto:
  std::wstring arguments;  // handed to the shell apart from the target; empty: none
  std::optional<std::wstring> workingFolder;  // none: an address without a WorkingFolder
  ShowState show = ShowState::kMinimized;
  bool operator==(const StartPlan&) const = default;
};

// What a click on a button does: start something, or nothing (the close button's default), and
// then close the menu or leave it open.
struct ButtonAction {
  std::optional<StartPlan> start;
  bool closesMenu = true;
  bool operator==(const ButtonAction&) const = default;
};

// The full path of the installer that button `index` starts without an Open, or empty for an
// index without one: the folder + "\ZENT\" + the installer the button table names, with the
// separator also at a drive root (E:\\ZENT\...).
std::wstring InstallerPath(std::wstring_view programFolder, std::int16_t index);

// Button `index` (the installers have theirs; the close button and others have none) with its
// section: Open64 on 64-bit Windows, else Open, else the installer. Relative paths are joined to
// the program folder by the path rule, forward slashes become backslashes. Without Open the
// installer is exactly InstallerPath's path (E:\\ZENT\... at a drive root). Without
// WorkingFolder a path's working folder is its own folder (E:\ for E:\setup.exe). `button`
// holds values as the parser accepted them.
ButtonAction ResolveButton(const ButtonSettings& button, std::int16_t index,
                           std::wstring_view programFolder, bool is64BitWindows);

// The error box's error for a file whose content is refused: number 5 (invalid procedure call or
// argument: a value the menu was given is not one it takes), the file's full path as the subject,
// "Line N: reason" as the detail.
rt::RunTimeError MenuIniRunTimeError(std::wstring_view iniPath, const MenuIniError& error);
// For a file that exists but cannot be read: number 75 (path/file access error) with the
// system's own error code and text.
rt::RunTimeError MenuIniUnreadableError(std::wstring_view iniPath, std::uint32_t systemCode,
                                        std::wstring systemText);

}  // namespace menu

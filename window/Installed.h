// What a button knows of its product on this computer: the values of its conditions read from
// menu.ini, whether the product is installed and can run here, and the state that gives the
// button. Portable; the system is asked through rt::SystemQuery.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "MenuIni.h"
#include "SystemQuery.h"

namespace menu {

// A version as menu.ini writes it: one to four whole numbers of at most nine digits, with a dot
// between them ("7.1", "10.0.19045", "99"); none for anything else.
std::optional<rt::VersionParts> ParseVersion(std::wstring_view text);
// The version a program wrote into the registry, read as leniently as such values need: the
// dotted numbers it starts with ("7.1.0 beta" is 7.1.0); none where it starts with none.
std::optional<rt::VersionParts> LeadingVersion(std::wstring_view text);
// Part by part as numbers, a missing part counting as 0: -1, 0 or 1. 7.10 is above 7.9, 7.1
// equals 7.1.0.
int CompareVersions(const rt::VersionParts& a, const rt::VersionParts& b);

// A key path as InstalledKey takes it (HKLM\..., HKEY_CURRENT_USER\...), or why it is refused.
struct KeyPathCheck {
  std::optional<RegistryKeyPath> path;
  std::wstring refusal;  // when `path` is none
};
KeyPathCheck ParseKeyPath(std::wstring_view text);

// The registry views a key is looked for in: both on 64-bit Windows (an installer may be either),
// the one there is on 32-bit Windows.
std::vector<rt::RegistryView> ViewsOf(bool is64BitWindows);

// Whether every condition of `button` holds: its key in either view, its file after the
// environment's expansion (a path that does not come out full is absent), and its version (the
// key's DisplayVersion in a view that has the key, else the file's version resource) at least
// the one given. False without a condition.
bool IsInstalled(const ButtonSettings& button, rt::SystemQuery& system);
// Whether the computer meets every requirement of `button`.
bool IsAvailable(const ButtonSettings& button, rt::SystemQuery& system);

// What a button does and shows by what the computer has.
enum class ButtonState {
  kNormal,             // as without the conditions
  kInstalled,          // the installed look; hover, press and click as usual
  kInstalledDisabled,  // the installed look; no hover, press or click; skipped by the keyboard
  kUnavailable,        // the unavailable look; no hover, press or click; skipped by the keyboard
  kHidden,             // not on the window, as with Hidden=yes
};
// The state of a button with section `button` (null: none). A product this computer cannot run
// is unavailable, installed or not; nothing is asked of the system for a button without
// conditions.
ButtonState StateOf(const ButtonSettings* button, rt::SystemQuery& system);

// Whether a button in `state` takes the pointer, the keyboard and a reader's press.
constexpr bool Acts(ButtonState state) {
  return state == ButtonState::kNormal || state == ButtonState::kInstalled;
}

}  // namespace menu

// menu.ini as the menu reads it: the file's faults with their lines, the buttons' names for screen
// readers in every language given, and what the buttons open on the medium.
#pragma once

#include <cstdint>
#include <optional>

#include "MenuIni.h"
#include "Report.h"

namespace skincheck {

// The folder's menu.ini as the menu takes it.
struct MenuIniRead {
  std::optional<menu::MenuSettings> settings;  // none without a file, or with a fault in it
  bool refused = false;  // the menu stops on the file: nothing it says can be judged further
};

// Reads the folder's menu.ini, when there is one, with the menu's own parser and reports every
// reason the menu could not use it, each with its line.
MenuIniRead CheckMenuIni(Report& report);

// Buttons without a Label for every language, and languages given for some buttons' Label or
// Tooltip but not for others'.
void CheckButtonTexts(Report& report, const menu::MenuSettings& settings);

// The files and folders inside the folder that Open and Open64 name, each looked up as Windows
// finds it: one that is missing is an error, as a click on its button ends in the error box;
// addresses and full paths are noted, not checked.
void CheckOpenTargets(Report& report, const menu::MenuSettings& settings);

// Whether button `index` starts its installer in ZENT: without an Open it does, on 32-bit Windows
// even where an Open64 is given.
bool StartsInstaller(const menu::MenuSettings& settings, std::int16_t index);

}  // namespace skincheck

// menu.ini as the menu reads it: the file's faults with their lines, the buttons' names for screen
// readers in every language given, and what the buttons open on the medium.
#pragma once

#include <cstdint>
#include <optional>

#include "MenuIni.h"
#include "Report.h"

namespace skincheck {

// Reads the folder's menu.ini, when there is one, with the menu's own parser and reports why the
// menu could not use it. Returns its settings; none without a file or with a fault in it.
std::optional<menu::MenuSettings> CheckMenuIni(Report& report);

// Buttons without a Label for every language, and languages given for some buttons' Label or
// Tooltip but not for others'.
void CheckButtonTexts(Report& report, const menu::MenuSettings& settings);

// The files and folders inside the folder that Open and Open64 name, each looked up as Windows
// finds it; addresses and full paths are noted, not checked.
void CheckOpenTargets(Report& report, const menu::MenuSettings& settings);

// Whether button `index` starts its installer in ZENT: without an Open it does, on 32-bit Windows
// even where an Open64 is given.
bool StartsInstaller(const menu::MenuSettings& settings, std::int16_t index);

}  // namespace skincheck

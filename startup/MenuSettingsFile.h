// Reading menu.ini from the program folder at start-up, before the window is made.
#pragma once

#include "MenuIni.h"
#include "Platform.h"

namespace menu {

// The settings of the menu.ini beside the program; the design's own where there is none. A file
// that cannot be read or is refused raises the run-time error that names it, its line and why.
MenuSettings ReadMenuSettings(rt::Platform& platform);

}  // namespace menu

// The start-up module: Main, which brings up the menu's window.
#pragma once

#include <memory>

#include "MenuIni.h"
#include "Platform.h"
#include "frmMain.h"

namespace menu::Module1 {

// Creates frmMain, with the disc's settings, if it does not exist yet and shows it, which loads
// it.
void Main(rt::Platform& platform, std::unique_ptr<frmMain>& instance,
          const MenuSettings& settings = {});

}  // namespace menu::Module1

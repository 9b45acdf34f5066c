// The start-up module: Main, which brings up the menu's window.
#pragma once

#include <memory>

#include "Platform.h"
#include "frmMain.h"

namespace menu::Module1 {

// Creates frmMain if it does not exist yet and shows it, which loads it.
void Main(rt::Platform& platform, std::unique_ptr<frmMain>& instance);

}  // namespace menu::Module1

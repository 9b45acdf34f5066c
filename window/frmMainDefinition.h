// The definition of the menu's one window, frmMain, and of every control on it.
#pragma once

#include "Forms.h"

namespace menu {

const rt::FormDefinition& frmMainDefinition();

}  // namespace menu

// The definition of the menu's one window, frmMain, and of every control on it, laid out from the
// button table and the disc's menu.ini.
#pragma once

#include <span>
#include <vector>

#include "ButtonTable.h"
#include "Forms.h"
#include "MenuIni.h"

namespace menu {

// A button on the disc's window: its record in the table with what the disc's menu.ini says.
struct DiscButton {
  const ButtonRecord* record = nullptr;
  const ButtonSettings* settings = nullptr;  // its section; null for a button without one
  rt::PixelRect place;  // in pixels at 100 %; a picture gives a button its size when it comes
};

// The buttons on the window that `settings` lay out, in the table's order: every button of the
// design that is not hidden and every button the disc adds that is not. They point into
// `settings`, which must outlive them.
std::vector<DiscButton> LayOutButtons(const MenuSettings& settings);

// frmMain's definition with the buttons `buttons` as the members of cmd.
class WindowDefinition {
 public:
  explicit WindowDefinition(std::span<const DiscButton> buttons);
  WindowDefinition(const WindowDefinition&) = delete;
  WindowDefinition& operator=(const WindowDefinition&) = delete;

  const rt::FormDefinition& Form() const { return form_; }

 private:
  std::vector<rt::ControlDefinition> controls_;
  rt::FormDefinition form_;
};

// The window as designed, without a menu.ini.
const rt::FormDefinition& frmMainDefinition();

}  // namespace menu

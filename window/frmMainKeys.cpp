// frmMain by keyboard: Tab, Shift+Tab and the arrows move the focus through the active buttons,
// Space or Enter press the focused one, Escape closes. The focused button looks as a button under
// the pointer does, by the same handlers.
#include "frmMain.h"

#include <algorithm>
#include <utility>

#include "FocusOrder.h"

namespace menu {

std::int16_t frmMain::FocusedButton() const {
  const rt::Control* focused = form_.FocusedControl();
  return focused != nullptr ? focused->Index() : -1;
}

void frmMain::KeyDown(const rt::KeyEvent& key) {
  // Keys with Alt belong to the system (Alt+Space opens the window menu, Alt+F4 closes).
  if (key.alt) return;
  switch (key.key) {
    case rt::Key::kTab:
      MoveFocus(key.shift ? -1 : 1);
      break;
    case rt::Key::kRight:
    case rt::Key::kDown:
      MoveFocus(1);
      break;
    case rt::Key::kLeft:
    case rt::Key::kUp:
      MoveFocus(-1);
      break;
    case rt::Key::kSpace:
    case rt::Key::kEnter:
      // The press shows while the key is held; the click follows its release.
      if (heldButton_ < 0 && !key.repeat && FocusedButton() >= 0) {
        heldKey_ = key.key;
        heldButton_ = FocusedButton();
        cmd_MouseDown(heldButton_);
      }
      break;
    case rt::Key::kEscape:
      // A disc that hides the close button still lets Escape close the menu.
      if (key.repeat) break;
      if (cmd(kCloseButton) != nullptr) {
        cmd_Click(kCloseButton);
      } else {
        CloseMenu();
      }
      break;
    case rt::Key::kOther:
      break;
  }
}

void frmMain::KeyUp(const rt::KeyEvent& key) {
  if (heldButton_ < 0 || key.key != heldKey_) return;
  const std::int16_t index = std::exchange(heldButton_, -1);
  heldKey_ = rt::Key::kOther;
  cmd_MouseUp(index);
  cmd_Click(index);
}

// A press that another key, the pointer or another window interrupts ends without a click.
void frmMain::CancelKeyPress() {
  if (heldButton_ < 0) return;
  const std::int16_t index = std::exchange(heldButton_, -1);
  heldKey_ = rt::Key::kOther;
  cmd_MouseUp(index);
}

void frmMain::MoveFocus(int step) {
  CancelKeyPress();
  platform_->ShowFocusCues();
  const auto at = std::find(active_.begin(), active_.end(), FocusedButton());
  const int from = at != active_.end() ? static_cast<int>(at - active_.begin()) : -1;
  const int next = rt::NextInRow(from, step, static_cast<int>(active_.size()));
  if (next < 0) return;
  FocusButton(active_[static_cast<std::size_t>(next)]);
}

void frmMain::FocusButton(std::int16_t index) {
  const auto at = std::find(active_.begin(), active_.end(), index);
  if (at == active_.end()) return;
  // The button losing the focus goes back to normal, as the bare skin would make it, and so does
  // any other the pointer left lit; the one gaining it lights up as under the pointer.
  ResetMarkedButtons(index);
  // A button released away from the pointer keeps its marker with its normal look; gaining the
  // focus lights it all the same.
  Shown& shown = *ShownButton(index);
  if (shown.look != Look::kHover) SetMarked(shown, false);
  form_.SetFocus(shown.control);
  cmd_MouseMove(index);
  platform_->AnnounceFocus(static_cast<int>(at - active_.begin()));
}

}  // namespace menu

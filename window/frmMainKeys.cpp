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
      if (!key.repeat) cmd_Click(kCloseButton);
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
  const auto at = std::find(kActiveButtons.begin(), kActiveButtons.end(), FocusedButton());
  const int from = at != kActiveButtons.end() ? static_cast<int>(at - kActiveButtons.begin()) : -1;
  const int next = rt::NextInRow(from, step, static_cast<int>(kActiveButtons.size()));
  FocusButton(kActiveButtons[static_cast<std::size_t>(next)]);
}

void frmMain::FocusButton(std::int16_t index) {
  const auto at = std::find(kActiveButtons.begin(), kActiveButtons.end(), index);
  if (at == kActiveButtons.end()) return;
  // The button losing the focus goes back to normal, as the bare skin would make it, and so does
  // any other the pointer left lit; the one gaining it lights up as under the pointer.
  ResetMarkedButtons(index);
  // A button released away from the pointer keeps its marker with its normal look; gaining the
  // focus lights it all the same.
  rt::Control* button = cmd(index);
  if (looks_[static_cast<std::size_t>(index)] != Look::kHover) button->SetTag(std::wstring());
  form_.SetFocus(button);
  cmd_MouseMove(index);
  platform_->AnnounceFocus(static_cast<int>(at - kActiveButtons.begin()));
}

}  // namespace menu

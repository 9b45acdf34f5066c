// frmMain as screen readers see it: the window by its product's name, and the five active buttons
// as push buttons with their names, what they do, their state and their place.
#include <algorithm>

#include "frmMain.h"
#include "resource.h"

namespace menu {

namespace {

constexpr std::array<int, 5> kNames = {IDS_NAME_BUTTON1, IDS_NAME_BUTTON2, IDS_NAME_BUTTON3,
                                       IDS_NAME_BUTTON4, IDS_NAME_CLOSE};
constexpr std::array<int, 5> kDescriptions = {
    IDS_ABOUT_BUTTON1, IDS_ABOUT_BUTTON2, IDS_ABOUT_BUTTON3, IDS_ABOUT_BUTTON4, IDS_ABOUT_CLOSE};

// The child a button is, or -1 for one that is not active.
int ChildOf(std::int16_t index) {
  const auto at = std::find(kActiveButtons.begin(), kActiveButtons.end(), index);
  return at != kActiveButtons.end() ? static_cast<int>(at - kActiveButtons.begin()) : -1;
}

bool IsChild(int child) { return child >= 0 && child < static_cast<int>(kActiveButtons.size()); }

}  // namespace

std::wstring frmMain::ButtonLabel(std::int16_t index) {
  const int child = ChildOf(index);
  if (child < 0) return {};
  const std::wstring label = Localized(settings_.Button(index)->label);
  return !label.empty() ? label
                        : platform_->LoadResourceString(kNames[static_cast<std::size_t>(child)]);
}

std::wstring frmMain::Name() {
  return !form_.Caption().empty() ? form_.Caption() : platform_->LoadResourceString(IDS_PRODUCT);
}

rt::AccessibleItem frmMain::Child(int child) {
  rt::AccessibleItem item;
  if (!IsChild(child)) return item;
  const std::int16_t index = kActiveButtons[static_cast<std::size_t>(child)];
  const rt::Control* button = cmd(index);
  const Look look = looks_[static_cast<std::size_t>(index)];
  item.name = ButtonLabel(index);
  item.description = platform_->LoadResourceString(kDescriptions[static_cast<std::size_t>(child)]);
  item.bounds = button->Bounds();
  item.focused = form_.FocusedControl() == button;
  item.hot = look == Look::kHover;
  item.pressed = look == Look::kPressed;
  return item;
}

std::wstring frmMain::DefaultAction() { return platform_->LoadResourceString(IDS_ACTION_PRESS); }

int frmMain::FocusedChild() { return ChildOf(FocusedButton()); }

int frmMain::ChildAt(int x, int y) {
  for (const std::int16_t index : kActiveButtons) {
    const rt::Control* button = cmd(index);
    if (button->Visible() && button->Bounds().Contains(x, y)) return ChildOf(index);
  }
  return -1;
}

void frmMain::Focus(int child) {
  if (!IsChild(child)) return;
  CancelKeyPress();
  FocusButton(kActiveButtons[static_cast<std::size_t>(child)]);
}

void frmMain::Press(int child) {
  if (IsChild(child)) cmd_Click(kActiveButtons[static_cast<std::size_t>(child)]);
}

}  // namespace menu

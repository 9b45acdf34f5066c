// frmMain as screen readers see it: the window by its product's name, and the active buttons as
// push buttons with their names, what they do, their state and their place.
#include <algorithm>

#include "frmMain.h"
#include "resource.h"

namespace menu {

namespace {

// The child a button is among `active`, or -1 for one that is not active.
int ChildOf(const std::vector<std::int16_t>& active, std::int16_t index) {
  const auto at = std::find(active.begin(), active.end(), index);
  return at != active.end() ? static_cast<int>(at - active.begin()) : -1;
}

}  // namespace

std::wstring frmMain::ButtonLabel(std::int16_t index) {
  const Shown* shown = ShownButton(index);
  if (shown == nullptr || ChildOf(active_, index) < 0) return {};
  const ButtonRecord& record = *shown->button->record;
  const std::wstring label = Localized(shown->button->settings->label);
  if (!label.empty()) return label;
  // A button the disc adds has no built-in name: its section's name stands in.
  return record.nameString != 0 ? platform_->LoadResourceString(record.nameString)
                                : std::wstring(record.section);
}

std::wstring frmMain::Name() {
  return !form_.Caption().empty() ? form_.Caption() : platform_->LoadResourceString(IDS_PRODUCT);
}

rt::AccessibleItem frmMain::Child(int child) {
  rt::AccessibleItem item;
  if (child < 0 || child >= ChildCount()) return item;
  const std::int16_t index = active_[static_cast<std::size_t>(child)];
  const Shown& shown = *ShownButton(index);
  const int about = shown.button->record->aboutString;
  item.name = ButtonLabel(index);
  item.description = about != 0 ? platform_->LoadResourceString(about) : std::wstring();
  item.bounds = shown.control->Bounds();
  item.focused = form_.FocusedControl() == shown.control;
  item.hot = shown.look == Look::kHover;
  item.pressed = shown.look == Look::kPressed;
  return item;
}

std::wstring frmMain::DefaultAction() { return platform_->LoadResourceString(IDS_ACTION_PRESS); }

int frmMain::FocusedChild() { return ChildOf(active_, FocusedButton()); }

int frmMain::ChildAt(int x, int y) {
  for (const std::int16_t index : active_) {
    const rt::Control* button = cmd(index);
    if (button->Visible() && button->Bounds().Contains(x, y)) return ChildOf(active_, index);
  }
  return -1;
}

void frmMain::Focus(int child) {
  if (child < 0 || child >= ChildCount()) return;
  CancelKeyPress();
  FocusButton(active_[static_cast<std::size_t>(child)]);
}

void frmMain::Press(int child) {
  if (child >= 0 && child < ChildCount()) cmd_Click(active_[static_cast<std::size_t>(child)]);
}

}  // namespace menu

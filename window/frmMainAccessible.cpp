// frmMain as screen readers see it: the window by its product's name, and the listed buttons as
// push buttons with their names, what they do, their state and their place. A button that the
// computer's programs leave unable to act is listed as unavailable, and one whose product is
// installed says so.
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
  if (shown == nullptr || ChildOf(listed_, index) < 0) return {};
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

std::wstring frmMain::Description(const Shown& shown) {
  const int about = shown.button->record->aboutString;
  std::wstring description = about != 0 ? platform_->LoadResourceString(about) : std::wstring();
  int state = 0;
  if (shown.state == ButtonState::kInstalled || shown.state == ButtonState::kInstalledDisabled) {
    state = IDS_STATE_INSTALLED;
  } else if (shown.state == ButtonState::kUnavailable) {
    state = IDS_STATE_UNAVAILABLE;
  }
  if (state == 0) return description;
  // The state, then why, as the disc's tooltip for the state says it.
  for (const std::wstring& part : {platform_->LoadResourceString(state), TooltipText(shown)}) {
    if (part.empty() || description.find(part) != std::wstring::npos) continue;
    description += (description.empty() ? L"" : L" ") + part;
  }
  return description;
}

rt::AccessibleItem frmMain::Child(int child) {
  rt::AccessibleItem item;
  if (child < 0 || child >= ChildCount()) return item;
  const std::int16_t index = listed_[static_cast<std::size_t>(child)];
  const Shown& shown = *ShownButton(index);
  item.name = ButtonLabel(index);
  item.description = Description(shown);
  item.bounds = shown.control->Bounds();
  item.focused = form_.FocusedControl() == shown.control;
  item.hot = shown.look == Look::kHover;
  item.pressed = shown.look == Look::kPressed;
  item.unavailable = !Acts(shown.state);
  return item;
}

std::wstring frmMain::DefaultAction() { return platform_->LoadResourceString(IDS_ACTION_PRESS); }

int frmMain::FocusedChild() { return ChildOf(listed_, FocusedButton()); }

int frmMain::ChildAt(int x, int y) {
  for (const std::int16_t index : listed_) {
    const rt::Control* button = cmd(index);
    if (button->Visible() && button->Bounds().Contains(x, y)) return ChildOf(listed_, index);
  }
  return -1;
}

void frmMain::Focus(int child) {
  if (child < 0 || child >= ChildCount()) return;
  CancelKeyPress();
  FocusButton(listed_[static_cast<std::size_t>(child)]);
}

void frmMain::Press(int child) {
  if (child >= 0 && child < ChildCount()) cmd_Click(listed_[static_cast<std::size_t>(child)]);
}

}  // namespace menu

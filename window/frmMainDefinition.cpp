// frmMain: a borderless window of 799 x 600 pixels painted with the skin, the top strip that drags
// it, the measuring image and the buttons of the control array cmd. Places are pixels.
#include "frmMainDefinition.h"

#include <algorithm>

#include "resource.h"

namespace menu {

namespace {

using rt::ControlDefinition;
using rt::ControlKind;

// The system colour of the active window border; the skin covers it everywhere.
constexpr int kColorActiveBorder = 10;

}  // namespace

std::vector<DiscButton> LayOutButtons(const MenuSettings& settings) {
  std::vector<DiscButton> buttons;
  for (const ButtonRecord& record : kButtons) {
    const ButtonSettings* section = settings.Button(record.index);
    if (record.role == ButtonRole::kAdded && section == nullptr) continue;
    if (section != nullptr && section->hidden) continue;
    rt::PixelRect place = record.place;
    if (section != nullptr && section->place) {
      place = {section->place->x, section->place->y, section->place->x + place.Width(),
               section->place->y + place.Height()};
    }
    buttons.push_back({&record, section, place});
  }
  return buttons;
}

WindowDefinition::WindowDefinition(std::span<const DiscButton> buttons)
    : form_{L"frmMain", 799, 600, IDB_SKIN, kColorActiveBorder, IDI_MENU, {}} {
  // In stacking order as stored, the first on top: the strip, the measuring image, then the
  // buttons from the highest index down.
  controls_.push_back({L"Picture1", -1, ControlKind::kPictureBox, {0, 0, 800, 57}, IDB_SKIN, true});
  controls_.push_back({L"img", -1, ControlKind::kImage, {776, 584, 799, 601}, 0, true});
  std::vector<const DiscButton*> members;
  for (const DiscButton& button : buttons) members.push_back(&button);
  std::sort(members.begin(), members.end(), [](const DiscButton* a, const DiscButton* b) {
    return a->record->index > b->record->index;
  });
  for (const DiscButton* button : members) {
    const ButtonRecord& record = *button->record;
    controls_.push_back({kButtonArray, record.index, ControlKind::kImage, button->place,
                         record.pictureResource, record.Enabled()});
  }
  form_.controls = controls_;
}

const rt::FormDefinition& frmMainDefinition() {
  static const MenuSettings kNone;
  static const std::vector<DiscButton> kDesigned = LayOutButtons(kNone);
  static const WindowDefinition kFrmMain(kDesigned);
  return kFrmMain.Form();
}

}  // namespace menu

// frmMain as designed: a borderless window of 799 x 600 pixels painted with the skin, the top strip
// that drags it, the measuring image and the buttons of the control array cmd. Places are pixels.
#include "frmMainDefinition.h"

#include <array>

#include "resource.h"

namespace menu {

namespace {

using rt::ControlDefinition;
using rt::ControlKind;

constexpr ControlDefinition Image(std::wstring_view name, int index, int left, int top, int width,
                                  int height, int picture, bool enabled) {
  return {name,    index,  ControlKind::kImage, {left, top, left + width, top + height},
          picture, enabled};
}

// In stacking order as stored; the first lies on top.
constexpr std::array<ControlDefinition, 11> kControls = {{
    {L"Picture1", -1, ControlKind::kPictureBox, {0, 0, 800, 57}, IDB_SKIN, true},
    Image(L"img", -1, 776, 584, 23, 17, 0, true),
    Image(L"cmd", 14, 632, 544, 80, 28, 0, true),
    Image(L"cmd", 9, 576, 472, 112, 35, 0, false),
    Image(L"cmd", 8, 320, 472, 112, 35, 0, false),
    Image(L"cmd", 7, 448, 472, 112, 35, 0, false),
    Image(L"cmd", 6, 192, 472, 112, 35, 0, false),
    Image(L"cmd", 3, 600, 280, 113, 122, IDB_BUTTON4, true),
    Image(L"cmd", 2, 440, 312, 113, 122, IDB_BUTTON3, true),
    Image(L"cmd", 1, 256, 288, 113, 122, IDB_BUTTON2, true),
    Image(L"cmd", 0, 96, 200, 113, 122, IDB_BUTTON1, true),
}};

// The system colour of the active window border; the skin covers it everywhere.
constexpr int kColorActiveBorder = 10;

constexpr rt::FormDefinition kFrmMain = {
    L"frmMain", 799, 600, IDB_SKIN, kColorActiveBorder, IDI_MENU, kControls,
};

}  // namespace

const rt::FormDefinition& frmMainDefinition() { return kFrmMain; }

}  // namespace menu

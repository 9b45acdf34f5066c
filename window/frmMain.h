// frmMain: the menu's window with its event handlers, its keyboard operation and what screen
// readers are told about it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ButtonTable.h"
#include "Forms.h"
#include "Installed.h"
#include "MenuIni.h"
#include "PathRule.h"
#include "ScaledPictures.h"
#include "SkinRegion.h"
#include "frmMainDefinition.h"

namespace menu {

class frmMain : public rt::FormHandlers, public rt::AccessibleWindow {
 public:
  // `settings` are the disc's, from its menu.ini; the default is the menu as designed.
  explicit frmMain(rt::Platform& platform, const MenuSettings& settings = {});

  rt::Form& Form() { return form_; }
  void Show() { form_.Show(); }
  // The window's name, menu.ini's Title in the user's language; empty without one.
  const std::wstring& Title() const { return form_.Caption(); }

  rt::Control& Picture1() { return *picture1_; }
  rt::Control& img() { return *img_; }
  // Member `index` of the control array cmd, or null for an index that is not a member.
  rt::Control* cmd(std::int16_t index);

  // Event handlers.
  void Form_Load();
  void Form_MouseMove();
  void cmd_MouseMove(std::int16_t index);
  void cmd_MouseDown(std::int16_t index);
  void cmd_MouseUp(std::int16_t index);
  void cmd_Click(std::int16_t index);
  void Picture1_MouseDown();

  void CloseMenu();

  // The size of the skin in pixels as the outline build measured it.
  int SkinWidth() const { return skinSize_.width; }
  int SkinHeight() const { return skinSize_.height; }

  // The name screen readers give an active button: the disc's label in the user's language, else
  // the program's string table.
  std::wstring ButtonLabel(std::int16_t index);

  // The buttons that act, in the order the keyboard visits them.
  const std::vector<std::int16_t>& ActiveButtons() const { return active_; }
  // The buttons screen readers list, in the same order: those that act and those shown unable
  // to act by what the computer has.
  const std::vector<std::int16_t>& ListedButtons() const { return listed_; }
  // What button `index` does and shows by what the computer has; normal for one not on the window.
  ButtonState State(std::int16_t index);

  // AccessibleWindow: the listed buttons, as children from 0 in their order.
  std::wstring Name() override;
  int ChildCount() override { return static_cast<int>(listed_.size()); }
  rt::AccessibleItem Child(int child) override;
  std::wstring DefaultAction() override;
  int FocusedChild() override;
  int ChildAt(int x, int y) override;
  void Focus(int child) override;
  void Press(int child) override;

 private:
  // The look a button shows now, as its handlers last loaded it.
  enum class Look { kNone, kNormal, kHover, kPressed };
  // A button on the window with the one record of its look. Its Tag, the hover marker, is
  // written from `marked`.
  struct Shown {
    const DiscButton* button;
    rt::Control* control;
    Look look = Look::kNone;
    bool marked = false;
    ButtonState state = ButtonState::kNormal;
  };

  // What the forms layer raises, handed on to the handlers above.
  void Load() override { Form_Load(); }
  void MouseDown(const rt::MouseArgs&) override { CancelKeyPress(); }
  void MouseMove(const rt::MouseArgs&) override { Form_MouseMove(); }
  void ControlMouseDown(rt::Control& control, const rt::MouseArgs&) override;
  void ControlMouseMove(rt::Control& control, const rt::MouseArgs&) override;
  void ControlMouseUp(rt::Control& control, const rt::MouseArgs&) override;
  void ControlClick(rt::Control& control) override;
  void KeyDown(const rt::KeyEvent& key) override;
  void KeyUp(const rt::KeyEvent& key) override;
  void FocusLost() override { CancelKeyPress(); }
  void DpiChanged(int dpi) override;
  void Activated(bool active) override;

  // The button `index` on the window, or null for an index that is not one.
  Shown* ShownButton(std::int16_t index);
  // Marks button `index` as lit by the pointer or not.
  void SetMarked(Shown& shown, bool marked);
  // The base of a button's picture files: the disc's for the user's languages, else the design's.
  std::wstring PictureBase(const Shown& shown);
  // Loads the picture file of `suffix`, which gives `look`, into button `index`.
  void LoadButtonPicture(bool hasTrailingSeparator, std::int16_t index, std::wstring_view suffix,
                         Look look);
  void ShowButtonPicture(Shown& shown, rt::Picture picture, Look look);
  // Loads the look button `index` shows at rest in its state: the normal, installed or
  // unavailable one; where the disc has no unavailable picture, a greyed copy of the normal one.
  void LoadNormalLook(bool hasTrailingSeparator, std::int16_t index);
  std::wstring_view NormalSuffix(const Shown& shown) const;
  // The greyed copy of the picture at `path`, made once for each picture the file gives.
  rt::Picture Greyed(const std::wstring& path);

  // What the computer has, asked again; every button whose state changes follows at once.
  void CheckInstalled();
  // Puts a button into `state`: shown or not, taking the pointer or not.
  void SetState(Shown& shown, ButtonState state);
  // The listed and the active buttons from the states.
  void ListButtons();
  // The skin's file: the disc's for the user's languages, else the design's.
  std::wstring SkinPath(bool hasTrailingSeparator);
  // Loads the skin into the window and the top strip and gives the window its outline.
  void ShowSkin(bool hasTrailingSeparator);
  // Gives the window the skin's per-pixel alpha, drawn as the buttons now placed allow.
  void ShowSoftEdges();
  // Whether no button, nor its focus rectangle, covers a half-transparent pixel of the skin.
  bool SoftPixelsClearOfButtons() const;
  // Gives every marked button but `keep` its normal look again, marker cleared first.
  void ResetMarkedButtons(std::int16_t keep);

  // The text of a disc's key in the user's languages; empty for none.
  std::wstring Localized(const LocalizedText& text);
  // Shows the disc's tooltip of button `index` for its state, where it has one, over the button's
  // place now; with `replacing`, a button without one loses the one it had.
  void PlaceTooltip(std::int16_t index, bool replacing = false);
  std::wstring TooltipText(const Shown& shown);
  // What screen readers are told a button does, with its state where it is not normal.
  std::wstring Description(const Shown& shown);

  // Keyboard operation.
  std::int16_t FocusedButton() const;
  void MoveFocus(int step);
  void FocusButton(std::int16_t index);
  void CancelKeyPress();

  rt::Platform* platform_;
  MenuSettings settings_;
  std::vector<DiscButton> buttons_;
  WindowDefinition definition_;
  rt::Form form_;
  PathRule paths_;
  ScaledPictures pictures_;
  rt::Control* picture1_;
  rt::Control* img_;
  SkinSize skinSize_;
  // How the window is drawn with per-pixel alpha, if it is; whether with the alpha of the skin as
  // shown last; whether its outline is cut to the skin's opaque pixels.
  std::optional<rt::AlphaDrawing> alphaGiven_;
  bool alphaCurrent_ = false;
  bool opaqueOutline_ = false;
  std::vector<std::wstring> languages_;
  bool languagesKnown_ = false;
  // In the table's order; `listed_` lists those screen readers see, `active_` those that act, in
  // the keyboard's order.
  std::vector<Shown> shown_;
  std::vector<std::int16_t> listed_;
  std::vector<std::int16_t> active_;
  // Whether any button has a condition on what the computer has, and whether the window has been
  // inactive since they were last checked.
  bool hasConditions_ = false;
  bool inactiveSinceCheck_ = false;
  struct GreyedCopy {
    rt::Picture from;  // kept so that its identity stays valid
    rt::Picture greyed;
  };
  std::map<std::wstring, GreyedCopy> greyed_;
  // A Space or Enter held down on the focused button, and the button it went down on.
  rt::Key heldKey_ = rt::Key::kOther;
  std::int16_t heldButton_ = -1;
};

}  // namespace menu

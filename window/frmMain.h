// frmMain: the menu's window with its event handlers, its keyboard operation and what screen
// readers are told about it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ButtonTable.h"
#include "Forms.h"
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

  // The buttons that act, in the order the keyboard visits them and screen readers list them.
  const std::vector<std::int16_t>& ActiveButtons() const { return active_; }

  // AccessibleWindow: the active buttons, as children from 0 in their order.
  std::wstring Name() override;
  int ChildCount() override { return static_cast<int>(active_.size()); }
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

  // The button `index` on the window, or null for an index that is not one.
  Shown* ShownButton(std::int16_t index);
  // Marks button `index` as lit by the pointer or not.
  void SetMarked(Shown& shown, bool marked);
  // The base of a button's picture files: the disc's for the user's languages, else the design's.
  std::wstring PictureBase(const Shown& shown);
  // Loads the picture file of `suffix`, which gives `look`, into button `index`.
  void LoadButtonPicture(bool hasTrailingSeparator, std::int16_t index, std::wstring_view suffix,
                         Look look);
  // The skin's file: the disc's for the user's languages, else the design's.
  std::wstring SkinPath(bool hasTrailingSeparator);
  // Loads the skin into the window and the top strip and gives the window its outline.
  void ShowSkin(bool hasTrailingSeparator);
  // Gives every marked button but `keep` its normal look again, marker cleared first.
  void ResetMarkedButtons(std::int16_t keep);

  // The text of a disc's key in the user's languages; empty for none.
  std::wstring Localized(const LocalizedText& text);
  // Shows the disc's tooltip of button `index`, where it has one, over the button's place now.
  void PlaceTooltip(std::int16_t index);

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
  std::vector<std::wstring> languages_;
  bool languagesKnown_ = false;
  // In the table's order; `active_` lists those that act, in the keyboard's order.
  std::vector<Shown> shown_;
  std::vector<std::int16_t> active_;
  // A Space or Enter held down on the focused button, and the button it went down on.
  rt::Key heldKey_ = rt::Key::kOther;
  std::int16_t heldButton_ = -1;
};

}  // namespace menu

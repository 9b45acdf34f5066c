// frmMain: the menu's window with its event handlers.
#pragma once

#include <cstdint>
#include <string>

#include "Forms.h"
#include "PathRule.h"
#include "SkinRegion.h"

namespace menu {

class frmMain : public rt::FormHandlers {
 public:
  explicit frmMain(rt::Platform& platform);

  rt::Form& Form() { return form_; }
  void Show() { form_.Show(); }

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

 private:
  // What the forms layer raises, handed on to the handlers above.
  void Load() override { Form_Load(); }
  void MouseMove(const rt::MouseArgs&) override { Form_MouseMove(); }
  void ControlMouseDown(rt::Control& control, const rt::MouseArgs&) override;
  void ControlMouseMove(rt::Control& control, const rt::MouseArgs&) override;
  void ControlMouseUp(rt::Control& control, const rt::MouseArgs&) override;
  void ControlClick(rt::Control& control) override;

  // Loads the picture file of `suffix` into button `index`.
  void LoadButtonPicture(bool hasTrailingSeparator, std::int16_t index, std::wstring_view suffix);

  rt::Platform* platform_;
  rt::Form form_;
  PathRule paths_;
  rt::Control* picture1_;
  rt::Control* img_;
  SkinSize skinSize_;
};

// The full path of the installer that button `index` starts, or empty for an index without one.
// The literal always begins with a separator, also at a drive root (E:\\ZENT\TEV_setup.exe).
std::wstring InstallerPath(std::wstring_view programFolder, std::int16_t index);

}  // namespace menu

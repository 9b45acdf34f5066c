// frmMain's event handlers: start-up, the buttons' pictures, their commands and the window drag.
#include "frmMain.h"

#include <array>

#include "RunTimeError.h"
#include "SkinRegion.h"
#include "frmMainDefinition.h"

namespace {

// The skin as designed; the window takes the size of whatever skin it gets.
constexpr int kDesignedSkinWidth = 800;
constexpr int kDesignedSkinHeight = 600;

}  // namespace

namespace menu {

namespace {

// The marker of a button that has shown its hover look and has not been reset since.
constexpr std::wstring_view kMarked = L"1";

// The members of cmd, in the order a reset visits them.
constexpr std::array<std::int16_t, 9> kResetOrder = {0, 1, 2, 3, 14, 6, 7, 8, 9};

bool TakesHover(std::int16_t index) { return IsBmpSeries(index) || (index >= 6 && index <= 9); }

}  // namespace

frmMain::frmMain(rt::Platform& platform, const MenuSettings& settings)
    : platform_(&platform),
      form_(platform, frmMainDefinition()),
      paths_(platform),
      pictures_(platform),
      picture1_(form_.Find(L"Picture1")),
      img_(form_.Find(L"img")),
      settings_(settings) {
  form_.SetHandlers(this);
  form_.SetAccessible(this);
  form_.SetCaption(Localized(settings_.title));
  // The screen's scale, unless the window would not fit its work area at it.
  const rt::PixelRect work = platform.WorkArea();
  const int dpi = rt::FittingDpi(platform.ScreenDpi(), kDesignedSkinWidth, kDesignedSkinHeight,
                                 work.Width(), work.Height());
  form_.SetDpi(dpi);
  pictures_.SetDpi(dpi);
}

std::wstring frmMain::Localized(const LocalizedText& text) {
  if (!text.plain && text.translations.empty()) return {};
  if (!languagesKnown_) {
    languages_ = platform_->PreferredLanguages();
    languagesKnown_ = true;
  }
  return ChooseText(text, languages_).value_or(std::wstring());
}

void frmMain::PlaceTooltip(std::int16_t index) {
  const ButtonSettings* button = settings_.Button(index);
  if (button == nullptr) return;
  const std::wstring text = Localized(button->tooltip);
  if (!text.empty()) platform_->SetTooltip(index, cmd(index)->Bounds(), text);
}

rt::Control* frmMain::cmd(std::int16_t index) { return form_.Find(L"cmd", index); }

void frmMain::LoadButtonPicture(bool hasTrailingSeparator, std::int16_t index,
                                std::wstring_view suffix, Look look) {
  rt::Control* button = cmd(index);
  if (button == nullptr) return;
  const rt::PixelRect before = button->Bounds();
  button->SetPicture(pictures_.Load(paths_.ButtonPicturePath(hasTrailingSeparator, index, suffix)));
  looks_[static_cast<std::size_t>(index)] = look;
  // The tooltip follows the button's place, which each picture may change.
  if (before != button->Bounds()) PlaceTooltip(index);
}

void frmMain::Form_Load() {
  form_.Show();
  form_.SetVisible(false);
  platform_->DoEvents();

  ShowSkin(paths_.HasTrailingSeparator());
  form_.SetVisible(true);

  const bool buttonSeparator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : kActiveButtons) {
    LoadButtonPicture(buttonSeparator, index, kBmpLooks.normal, Look::kNormal);
  }
  for (const std::int16_t index : kActiveButtons) PlaceTooltip(index);
}

void frmMain::ShowSkin(bool skinSeparator) {
  form_.SetPicture(pictures_.Load(paths_.SkinPicturePath(skinSeparator)));
  Picture1().SetPicture(pictures_.Load(paths_.SkinPicturePath(skinSeparator)));
  rt::Region region =
      BuildSkinRegion(form_, img(), pictures_, paths_.SkinPicturePath(skinSeparator), skinSize_);
  platform_->SetWindowRgn(std::move(region));
}

void frmMain::DpiChanged(int dpi) {
  // Everything shown is shown again as drawn for the new scale, each button in its present look.
  pictures_.SetDpi(dpi);
  // The outline's build measures the skin in twips, as at start-up.
  form_.SetScaleMode(rt::kScaleTwips);
  ShowSkin(paths_.HasTrailingSeparator());
  const bool separator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : kActiveButtons) {
    const Look look = looks_[static_cast<std::size_t>(index)];
    const LookSuffixes& suffixes = LooksOf(index);
    if (look == Look::kHover) LoadButtonPicture(separator, index, suffixes.hover, look);
    if (look == Look::kPressed) LoadButtonPicture(separator, index, suffixes.pressed, look);
    if (look == Look::kNormal) LoadButtonPicture(separator, index, suffixes.normal, look);
  }
}

void frmMain::cmd_MouseMove(std::int16_t index) {
  const bool separator = paths_.HasTrailingSeparator();
  rt::Control* button = cmd(index);
  if (button == nullptr || !TakesHover(index) || !button->Tag().empty()) return;
  // The marker follows the picture: a load that fails leaves the button unmarked.
  LoadButtonPicture(separator, index, LooksOf(index).hover, Look::kHover);
  button->SetTag(std::wstring(kMarked));
}

void frmMain::cmd_MouseDown(std::int16_t index) {
  LoadButtonPicture(paths_.HasTrailingSeparator(), index, LooksOf(index).pressed, Look::kPressed);
}

void frmMain::cmd_MouseUp(std::int16_t index) {
  LoadButtonPicture(paths_.HasTrailingSeparator(), index, LooksOf(index).normal, Look::kNormal);
}

void frmMain::Form_MouseMove() { ResetMarkedButtons(-1); }

void frmMain::ResetMarkedButtons(std::int16_t keep) {
  const bool separator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : kResetOrder) {
    rt::Control* button = cmd(index);
    if (index == keep || button == nullptr || button->Tag() != kMarked) continue;
    button->SetTag(std::wstring());
    LoadButtonPicture(separator, index, LooksOf(index).normal, Look::kNormal);
  }
}

std::wstring InstallerPath(std::wstring_view programFolder, std::int16_t index) {
  static constexpr std::array<std::wstring_view, 4> kInstallers = {
      L"\\ZENT\\TEV_setup.exe", L"\\ZENT\\MOLAN_setup.exe", L"\\ZENT\\PIRUK_setup.exe",
      L"\\ZENT\\DASEF_setup.exe"};
  if (index < 0 || index > 3) return {};
  return std::wstring(programFolder) + std::wstring(kInstallers[static_cast<std::size_t>(index)]);
}

void frmMain::cmd_Click(std::int16_t index) {
  const ButtonSettings* button = settings_.Button(index);
  if (button == nullptr) return;
  // Without an Open of its own the close button only closes, as designed.
  if (index == kCloseButton && !button->open && !button->open64) {
    CloseMenu();
    return;
  }
  const ButtonAction action =
      ResolveButton(*button, index, platform_->ProgramFolder(),
                    button->open64.has_value() && platform_->Is64BitSystem());
  if (action.start) {
    const StartPlan& plan = *action.start;
    rt::StartRequest request;
    request.program = plan.target;
    request.arguments = plan.arguments;
    request.workingFolder = plan.workingFolder.value_or(std::wstring());
    request.minimized = plan.show == ShowState::kMinimized;
    request.maximized = plan.show == ShowState::kMaximized;
    request.isAddress = plan.isAddress;
    if (action.closesMenu) {
      platform_->StartProgram(request);  // a failure ends the menu with its error box
    } else {
      try {
        platform_->StartProgram(request);
      } catch (const rt::RunTimeError& error) {
        // A button that stays keeps the menu open: the user reads why, and may go on.
        platform_->ShowRunTimeError(error, Title());
        return;
      }
    }
  }
  if (action.closesMenu) form_.Unload();
}

void frmMain::CloseMenu() { form_.Unload(); }

void frmMain::Picture1_MouseDown() { platform_->DragMainWindow(); }

void frmMain::ControlMouseDown(rt::Control& control, const rt::MouseArgs&) {
  CancelKeyPress();
  if (&control == picture1_) {
    Picture1_MouseDown();
  } else if (control.Name() == L"cmd") {
    cmd_MouseDown(control.Index());
  }
}

void frmMain::ControlMouseMove(rt::Control& control, const rt::MouseArgs&) {
  if (control.Name() != L"cmd") return;
  const std::int16_t index = control.Index();
  cmd_MouseMove(index);
  // Once the keyboard has given a button the focus, the focus goes where the pointer lights a
  // button, so that the pointer and the focus never leave two buttons lit.
  const std::int16_t focused = FocusedButton();
  if (focused >= 0 && focused != index && form_.Loaded()) FocusButton(index);
}

void frmMain::ControlMouseUp(rt::Control& control, const rt::MouseArgs&) {
  if (control.Name() == L"cmd") cmd_MouseUp(control.Index());
}

void frmMain::ControlClick(rt::Control& control) {
  if (control.Name() == L"cmd") cmd_Click(control.Index());
}

}  // namespace menu

// frmMain's event handlers: start-up, the buttons' pictures, their commands and the window drag.
#include "frmMain.h"

#include <algorithm>
#include <utility>

#include "GreyedLook.h"
#include "RunTimeError.h"
#include "SkinRegion.h"

namespace {

// The skin as designed; the window takes the size of whatever skin it gets.
constexpr int kDesignedSkinWidth = 800;
constexpr int kDesignedSkinHeight = 600;

}  // namespace

namespace menu {

namespace {

// The marker of a button that has shown its hover look and has not been reset since.
constexpr std::wstring_view kMarked = L"1";

bool HasCondition(const ButtonSettings* button) {
  return button != nullptr && (button->HasInstalledCondition() || button->HasRequirement());
}

bool Contains(const std::vector<std::int16_t>& buttons, std::int16_t index) {
  return std::find(buttons.begin(), buttons.end(), index) != buttons.end();
}

}  // namespace

frmMain::frmMain(rt::Platform& platform, const MenuSettings& settings)
    : platform_(&platform),
      settings_(settings),
      buttons_(LayOutButtons(settings_)),
      definition_(buttons_),
      form_(platform, definition_.Form()),
      paths_(platform),
      pictures_(platform),
      picture1_(form_.Find(L"Picture1")),
      img_(form_.Find(L"img")) {
  for (const DiscButton& button : buttons_) {
    shown_.push_back({&button, form_.Find(kButtonArray, button.record->index)});
    hasConditions_ = hasConditions_ || HasCondition(button.settings);
  }
  // Without a condition the system is not asked anything.
  if (hasConditions_) {
    for (Shown& shown : shown_) SetState(shown, StateOf(shown.button->settings, platform.Query()));
  }
  ListButtons();
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

std::wstring frmMain::TooltipText(const Shown& shown) {
  const ButtonSettings* settings = shown.button->settings;
  if (settings == nullptr || shown.state == ButtonState::kHidden) return {};
  std::wstring text;
  if (shown.state == ButtonState::kInstalled || shown.state == ButtonState::kInstalledDisabled) {
    text = Localized(settings->tooltipInstalled);
  } else if (shown.state == ButtonState::kUnavailable) {
    text = Localized(settings->tooltipUnavailable);
  }
  return !text.empty() ? text : Localized(settings->tooltip);
}

void frmMain::PlaceTooltip(std::int16_t index, bool replacing) {
  const Shown* shown = ShownButton(index);
  if (shown == nullptr || shown->button->settings == nullptr) return;
  const std::wstring text = TooltipText(*shown);
  if (!text.empty() || replacing) platform_->SetTooltip(index, shown->control->Bounds(), text);
}

ButtonState frmMain::State(std::int16_t index) {
  const Shown* shown = ShownButton(index);
  return shown != nullptr ? shown->state : ButtonState::kNormal;
}

void frmMain::SetState(Shown& shown, ButtonState state) {
  shown.state = state;
  shown.control->SetVisible(state != ButtonState::kHidden);
  shown.control->SetEnabled(shown.button->record->Enabled() && Acts(state));
}

void frmMain::ListButtons() {
  listed_.clear();
  active_.clear();
  for (const Shown& shown : shown_) {
    if (!shown.button->record->Enabled() || shown.state == ButtonState::kHidden) continue;
    listed_.push_back(shown.button->record->index);
    if (Acts(shown.state)) active_.push_back(shown.button->record->index);
  }
}

void frmMain::Activated(bool active) {
  if (!hasConditions_) return;
  if (!active) {
    inactiveSinceCheck_ = true;
    return;
  }
  // Coming back, the user may have installed or removed something meanwhile.
  if (std::exchange(inactiveSinceCheck_, false)) CheckInstalled();
}

void frmMain::CheckInstalled() {
  std::vector<std::int16_t> changed;
  for (Shown& shown : shown_) {
    const ButtonState state = StateOf(shown.button->settings, platform_->Query());
    if (state == shown.state) continue;
    SetState(shown, state);
    changed.push_back(shown.button->record->index);
  }
  if (changed.empty()) return;
  CancelKeyPress();
  ListButtons();
  if (!Contains(active_, FocusedButton())) form_.SetFocus(nullptr);
  const rt::Platform::PictureBatch batch(*platform_);
  const bool separator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : changed) {
    SetMarked(*ShownButton(index), false);
    if (Contains(listed_, index)) LoadNormalLook(separator, index);
    PlaceTooltip(index, true);
  }
  ShowSoftEdges();
}

rt::Control* frmMain::cmd(std::int16_t index) {
  Shown* shown = ShownButton(index);
  return shown != nullptr ? shown->control : nullptr;
}

frmMain::Shown* frmMain::ShownButton(std::int16_t index) {
  for (Shown& shown : shown_) {
    if (shown.button->record->index == index) return &shown;
  }
  return nullptr;
}

void frmMain::SetMarked(Shown& shown, bool marked) {
  shown.marked = marked;
  shown.control->SetTag(marked ? std::wstring(kMarked) : std::wstring());
}

std::wstring frmMain::PictureBase(const Shown& shown) {
  const ButtonSettings* settings = shown.button->settings;
  std::wstring base = settings != nullptr ? Localized(settings->pictures) : std::wstring();
  return !base.empty() ? base : DesignPictureBase(shown.button->record->index);
}

std::wstring frmMain::SkinPath(bool hasTrailingSeparator) {
  const std::wstring skin = Localized(settings_.skin);
  return paths_.PicturePath(hasTrailingSeparator, !skin.empty() ? skin : kDesignSkin);
}

void frmMain::LoadButtonPicture(bool hasTrailingSeparator, std::int16_t index,
                                std::wstring_view suffix, Look look) {
  Shown* shown = ShownButton(index);
  if (shown == nullptr) return;
  // A picture with alpha is shown drawn over the skin where it lies.
  const rt::PixelRect at = shown->control->Bounds();
  ShowButtonPicture(
      *shown,
      pictures_.LoadOver(paths_.PicturePath(hasTrailingSeparator, PictureBase(*shown), suffix),
                         form_.CurrentPicture(), at.left, at.top),
      look);
}

void frmMain::ShowButtonPicture(Shown& shown, rt::Picture picture, Look look) {
  rt::Control* button = shown.control;
  const rt::PixelRect before = button->Bounds();
  button->SetPicture(std::move(picture));
  shown.look = look;
  if (before == button->Bounds()) return;
  // The tooltip follows the button's place, which each picture may change.
  PlaceTooltip(shown.button->record->index);
  // A look of another size may reach half-transparent pixels drawn apart, behind the window,
  // where the window's outline would cut it off.
  if (alphaCurrent_ && alphaGiven_ == rt::AlphaDrawing::kSoftBehind) ShowSoftEdges();
}

std::wstring_view frmMain::NormalSuffix(const Shown& shown) const {
  switch (shown.state) {
    case ButtonState::kInstalled:
    case ButtonState::kInstalledDisabled:
      return kInstalledLook;
    case ButtonState::kUnavailable:
      return kUnavailableLook;
    case ButtonState::kNormal:
    case ButtonState::kHidden:
      break;
  }
  return LooksOf(shown.button->record->index).normal;
}

void frmMain::LoadNormalLook(bool hasTrailingSeparator, std::int16_t index) {
  Shown* shown = ShownButton(index);
  if (shown == nullptr) return;
  if (shown->state == ButtonState::kUnavailable) {
    const std::wstring own =
        paths_.PicturePath(hasTrailingSeparator, PictureBase(*shown), kUnavailableLook);
    // A file that is there but cannot be read is reported as any picture is, by its load.
    if (platform_->IsMissing(own)) {
      ShowButtonPicture(*shown,
                        Greyed(paths_.PicturePath(hasTrailingSeparator, PictureBase(*shown),
                                                  LooksOf(index).normal)),
                        Look::kNormal);
      return;
    }
  }
  LoadButtonPicture(hasTrailingSeparator, index, NormalSuffix(*shown), Look::kNormal);
}

rt::Picture frmMain::Greyed(const std::wstring& path) {
  const rt::Picture from = pictures_.Load(path);
  GreyedCopy& copy = greyed_[path];
  if (!copy.greyed || copy.from.Data() != from.Data()) {
    copy = {from, GreyedPicture(*platform_, from)};
  }
  return copy.greyed;
}

void frmMain::Form_Load() {
  const rt::Platform::PictureBatch batch(*platform_);
  form_.Show();
  form_.SetVisible(false);
  platform_->DoEvents();

  ShowSkin(paths_.HasTrailingSeparator());
  form_.SetVisible(true);

  const bool buttonSeparator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : listed_) LoadNormalLook(buttonSeparator, index);
  for (const std::int16_t index : listed_) PlaceTooltip(index);
  ShowSoftEdges();
}

void frmMain::ShowSkin(bool skinSeparator) {
  form_.SetPicture(pictures_.Load(SkinPath(skinSeparator)));
  Picture1().SetPicture(pictures_.Load(SkinPath(skinSeparator)));
  rt::Region region = BuildSkinRegion(form_, img(), pictures_, SkinPath(skinSeparator), skinSize_);
  // Half-transparent pixels are drawn apart, behind the window, wherever the buttons leave them
  // (ShowSoftEdges): the window is cut to its opaque pixels from the start, so that its outline is
  // set once, and no half-transparent pixel shows as opaque meanwhile.
  const SoftAlpha& soft = skinSize_.soft;
  opaqueOutline_ = !soft.alpha.empty() && !soft.opaque.empty();
  if (opaqueOutline_) region = form_.CreateOutline(soft.opaque);
  platform_->SetWindowRgn(std::move(region));
  alphaCurrent_ = false;
}

// Soft edges and shadows are blended with the desktop; a skin without them is drawn as it is.
// Where they lie clear of every button as placed and sized now, and of its focus rectangle, they
// are drawn apart, behind the window cut to its opaque pixels: a hover then repaints as on a bitmap
// skin, and a click on them reaches what lies behind, as on a shadow. Where a button covers them,
// or nothing opaque would be left, the whole window is drawn with alpha.
void frmMain::ShowSoftEdges() {
  const SoftAlpha& soft = skinSize_.soft;
  if (soft.alpha.empty()) {
    if (std::exchange(alphaGiven_, std::nullopt)) {
      platform_->SetWindowAlpha(0, 0, {}, rt::AlphaDrawing::kWhole);
    }
    return;
  }
  // Once drawn whole, a skin stays so until it is shown again: the look that reached its
  // half-transparent pixels may come back with any hover.
  const bool apart = !(alphaCurrent_ && alphaGiven_ == rt::AlphaDrawing::kWhole) &&
                     !soft.opaque.empty() && SoftPixelsClearOfButtons();
  const rt::AlphaDrawing drawing = apart ? rt::AlphaDrawing::kSoftBehind : rt::AlphaDrawing::kWhole;
  if (alphaCurrent_ && alphaGiven_ == drawing) return;
  // Drawn whole, the outline keeps the half-transparent pixels.
  if (apart != opaqueOutline_) {
    platform_->SetWindowRgn(form_.CreateOutline(apart ? soft.opaque : soft.outline));
    opaqueOutline_ = apart;
  }
  platform_->SetWindowAlpha(skinSize_.width, skinSize_.height, soft.alpha, drawing);
  alphaGiven_ = drawing;
  alphaCurrent_ = true;
}

bool frmMain::SoftPixelsClearOfButtons() const {
  for (const Shown& shown : shown_) {
    if (shown.control != nullptr &&
        HasSoftPixels(skinSize_.soft.alpha, skinSize_.width, rt::FocusBounds(*shown.control))) {
      return false;
    }
  }
  return true;
}

void frmMain::DpiChanged(int dpi) {
  // Everything shown is shown again as drawn for the new scale, each button in its present look.
  const rt::Platform::PictureBatch batch(*platform_);
  pictures_.SetDpi(dpi);
  // The outline's build measures the skin in twips, as at start-up.
  form_.SetScaleMode(rt::kScaleTwips);
  ShowSkin(paths_.HasTrailingSeparator());
  const bool separator = paths_.HasTrailingSeparator();
  for (const std::int16_t index : listed_) {
    const Look look = ShownButton(index)->look;
    const LookSuffixes& suffixes = LooksOf(index);
    if (look == Look::kHover) LoadButtonPicture(separator, index, suffixes.hover, look);
    if (look == Look::kPressed) LoadButtonPicture(separator, index, suffixes.pressed, look);
    if (look == Look::kNormal) LoadNormalLook(separator, index);
  }
  ShowSoftEdges();
}

void frmMain::cmd_MouseMove(std::int16_t index) {
  const bool separator = paths_.HasTrailingSeparator();
  Shown* shown = ShownButton(index);
  if (shown == nullptr || shown->marked) return;
  // The marker follows the picture: a load that fails leaves the button unmarked.
  LoadButtonPicture(separator, index, LooksOf(index).hover, Look::kHover);
  SetMarked(*shown, true);
}

void frmMain::cmd_MouseDown(std::int16_t index) {
  LoadButtonPicture(paths_.HasTrailingSeparator(), index, LooksOf(index).pressed, Look::kPressed);
}

void frmMain::cmd_MouseUp(std::int16_t index) {
  LoadNormalLook(paths_.HasTrailingSeparator(), index);
}

void frmMain::Form_MouseMove() { ResetMarkedButtons(-1); }

void frmMain::ResetMarkedButtons(std::int16_t keep) {
  const bool separator = paths_.HasTrailingSeparator();
  // In the keyboard's order, then the buttons disabled by design: the table's order with the
  // close button moved behind the disc's own.
  auto reset = [&](Shown& shown) {
    const std::int16_t index = shown.button->record->index;
    if (index == keep || !shown.marked) return;
    SetMarked(shown, false);
    LoadNormalLook(separator, index);
  };
  for (const std::int16_t index : active_) reset(*ShownButton(index));
  for (Shown& shown : shown_) {
    if (!shown.button->record->Enabled()) reset(shown);
  }
}

void frmMain::cmd_Click(std::int16_t index) {
  const Shown* shown = ShownButton(index);
  if (shown == nullptr || shown->button->settings == nullptr || !Acts(shown->state)) return;
  const ButtonSettings* button = shown->button->settings;
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
  } else if (control.Name() == kButtonArray) {
    cmd_MouseDown(control.Index());
  }
}

void frmMain::ControlMouseMove(rt::Control& control, const rt::MouseArgs&) {
  if (control.Name() != kButtonArray) return;
  const std::int16_t index = control.Index();
  cmd_MouseMove(index);
  // Once the keyboard has given a button the focus, the focus goes where the pointer lights a
  // button, so that the pointer and the focus never leave two buttons lit.
  const std::int16_t focused = FocusedButton();
  if (focused >= 0 && focused != index && form_.Loaded()) FocusButton(index);
}

void frmMain::ControlMouseUp(rt::Control& control, const rt::MouseArgs&) {
  if (control.Name() == kButtonArray) cmd_MouseUp(control.Index());
}

void frmMain::ControlClick(rt::Control& control) {
  if (control.Name() == kButtonArray) cmd_Click(control.Index());
}

}  // namespace menu

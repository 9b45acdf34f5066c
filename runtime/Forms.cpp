// The forms layer: window and control properties, loading, painting.
#include "Forms.h"
#include "BitmapCheck.h"

#include <cmath>

#include "Decimal.h"
#include "RunTimeError.h"

namespace rt {

namespace {

// Sizes set in twips land on whole pixels.
int TwipsToPixels(float twips) {
  return static_cast<int>(std::lround(twips / static_cast<float>(kTwipsPerPixel)));
}

// A picture box's own colour where it has no picture (the system's button face).
constexpr int kPictureBoxBackColor = 15;

}  // namespace

// The focus rectangle lies just outside the control, so that it never hides the control's picture.
PixelRect FocusBounds(const Control& control) {
  const PixelRect b = control.Bounds();
  return {b.left - 2, b.top - 2, b.right + 2, b.bottom + 2};
}

Control::Control(Form& form, const ControlDefinition& definition)
    : form_(&form),
      definition_(&definition),
      bounds_(definition.bounds),
      enabled_(definition.enabled) {}

float Control::Width() const {
  return static_cast<float>(bounds_.Width()) * form_->UnitsPerPixel();
}

float Control::Height() const {
  return static_cast<float>(bounds_.Height()) * form_->UnitsPerPixel();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  form_->InvalidateArea(bounds_);
}

void Control::SetPicture(Picture picture) {
  const PixelRect old = bounds_;
  picture_ = std::move(picture);
  if (definition_->kind == ControlKind::kImage) {
    bounds_.right = bounds_.left + picture_.Width();
    bounds_.bottom = bounds_.top + picture_.Height();
  }
  if (!visible_) return;
  // Both places change: the old one may show the skin again, the new one the picture.
  form_->InvalidateArea(old);
  if (bounds_ != old) form_->InvalidateArea(bounds_);
}

void Control::PlaceFor(int dpi) {
  const PixelRect designed = Scaled(definition_->bounds, dpi);
  const bool sized = definition_->kind == ControlKind::kImage && picture_;
  bounds_ = {designed.left, designed.top, sized ? designed.left + picture_.Width() : designed.right,
             sized ? designed.top + picture_.Height() : designed.bottom};
}

void Control::Paint(Painter& painter, const PixelRect& area) const {
  if (!visible_) return;
  const PixelRect part = Intersect(area, bounds_);
  if (part.Empty()) return;
  if (definition_->kind == ControlKind::kPictureBox) {
    const PixelRect covered =
        Intersect(part, {bounds_.left, bounds_.top, bounds_.left + picture_.Width(),
                         bounds_.top + picture_.Height()});
    if (covered != part) painter.FillSystemColor(part, kPictureBoxBackColor);
  }
  if (picture_) painter.DrawPicture(picture_, bounds_.left, bounds_.top, part);
}

Form::Form(const FormDefinition& definition)
    : platform_(nullptr),
      definition_(&definition),
      width_(definition.clientWidth),
      height_(definition.clientHeight) {
  controls_.reserve(definition.controls.size());
  for (const ControlDefinition& control : definition.controls)
    controls_.emplace_back(*this, control);
}

Form::Form(Platform& platform, const FormDefinition& definition) : Form(definition) {
  platform_ = &platform;
}

Form::~Form() {
  if (loaded_) platform_->DestroyMainWindow();
}

void Form::Load() {
  if (platform_ == nullptr) return;
  loading_ = true;
  // Centred in the work area, so that the taskbar never covers it.
  const PixelPoint corner = CentredIn(platform_->WorkArea(), width_, height_);
  SystemError error;
  if (!platform_->CreateMainWindow({.left = corner.x,
                                    .top = corner.y,
                                    .width = width_,
                                    .height = height_,
                                    .iconResource = definition_->iconResource,
                                    .title = caption_},
                                   *this, error)) {
    throw RunTimeError(kErrOutOfMemory, rt::AsciiText("Could not create the window"), Name())
        .WithSystemError(error);
  }
  loaded_ = true;
  if (definition_->pictureResource != 0) {
    picture_ = platform_->LoadResourcePicture(definition_->pictureResource);
  }
  for (Control& control : controls_) {
    if (control.definition_->pictureResource != 0) {
      control.SetPicture(platform_->LoadResourcePicture(control.definition_->pictureResource));
    }
  }
  if (handlers_ != nullptr) handlers_->Load();
  loading_ = false;
}

Region Form::CreateOutline(const std::vector<PixelRect>& rects) {
  Region region = platform_->CreateRegion(rects);
  if (!region)
    throw RunTimeError(kErrOutOfMemory, rt::AsciiText("Could not make the window's outline"),
                       Name());
  return region;
}

void Form::Show() {
  if (!loaded_ && !loading_) Load();
  if (loaded_) SetVisible(true);
}

void Form::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  visible_ = false;
  focused_ = nullptr;
  captureControl_ = nullptr;
  clickCandidate_ = nullptr;
  captureForm_ = false;
  heldButtons_ = 0;
  platform_->DestroyMainWindow();
  // The controls stay in place (a handler may still hold one); only their pictures go.
  picture_ = Picture();
  for (Control& control : controls_) control.picture_ = Picture();
}

void Form::SetVisible(bool visible) {
  if (!loaded_ && !loading_) Load();
  if (!loaded_) return;
  visible_ = visible;
  platform_->ShowMainWindow(visible);
}

float Form::Width() const { return static_cast<float>(width_ * kTwipsPerPixel); }
float Form::Height() const { return static_cast<float>(height_ * kTwipsPerPixel); }
void Form::SetWidth(float twips) { Resize(TwipsToPixels(twips), height_); }
void Form::SetHeight(float twips) { Resize(width_, TwipsToPixels(twips)); }

void Form::Resize(int width, int height) {
  if (width < 0 || height < 0) {
    throw RunTimeError(kErrInvalidProcedureCall, rt::AsciiText("Could not size the window"),
                       std::wstring(definition_->name));
  }
  width_ = width;
  height_ = height;
  if (loaded_) platform_->ResizeMainWindow(width_, height_);
}

void Form::SetScaleMode(int mode) {
  if (mode != kScaleTwips && mode != kScalePixels) {
    throw RunTimeError(kErrInvalidProcedureCall, rt::AsciiText("Unsupported scale mode"),
                       rt::DecimalText(mode));
  }
  scaleMode_ = mode;
}

float Form::UnitsPerPixel() const {
  return scaleMode_ == kScalePixels ? 1.0f : static_cast<float>(kTwipsPerPixel);
}

float Form::ScaleWidth() const { return static_cast<float>(width_) * UnitsPerPixel(); }
float Form::ScaleHeight() const { return static_cast<float>(height_) * UnitsPerPixel(); }

NativeHandle Form::hWnd() const { return loaded_ ? platform_->WindowHandle() : 0; }

void Form::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  InvalidateArea(ClientRect());
}

Control* Form::Find(std::wstring_view name, int index) {
  for (Control& control : controls_) {
    if (control.Name() == name && control.definition_->index == index) return &control;
  }
  return nullptr;
}

void Form::InvalidateArea(const PixelRect& area) {
  const PixelRect part = Intersect(area, ClientRect());
  if (loaded_ && !part.Empty()) platform_->Invalidate(part);
}

void Form::OnPaint(Painter& painter, const PixelRect& area) {
  const PixelRect part = Intersect(area, ClientRect());
  if (part.Empty()) return;
  const PixelRect covered = Intersect(part, {0, 0, picture_.Width(), picture_.Height()});
  if (covered != part) painter.FillSystemColor(part, definition_->backColorSystemIndex);
  if (picture_) painter.DrawPicture(picture_, 0, 0, part);
  // Bottom of the stack first, so that what lies on top is drawn last.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) it->Paint(painter, part);
  if (focusCues_ && focused_ != nullptr && focused_->Visible() &&
      !Intersect(part, FocusBounds(*focused_)).Empty()) {
    painter.DrawFocusRect(FocusBounds(*focused_));
  }
}

void Form::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  for (Control& control : controls_) control.PlaceFor(dpi);
  if (!loaded_) {
    width_ = Scaled(definition_->clientWidth, dpi);
    height_ = Scaled(definition_->clientHeight, dpi);
  }
  InvalidateArea(ClientRect());
}

void Form::OnDpiChanged(int dpi) {
  if (!loaded_ || dpi == dpi_) return;
  SetDpi(dpi);
  if (handlers_ != nullptr) handlers_->DpiChanged(dpi);
}

void Form::SetFocus(Control* control) {
  if (control == focused_) return;
  if (focused_ != nullptr && focusCues_) InvalidateArea(FocusBounds(*focused_));
  focused_ = control;
  if (focused_ != nullptr && focusCues_) InvalidateArea(FocusBounds(*focused_));
}

void Form::OnKey(const KeyEvent& event) {
  if (!loaded_ || handlers_ == nullptr) return;
  if (event.action == KeyAction::kDown) {
    handlers_->KeyDown(event);
  } else {
    handlers_->KeyUp(event);
  }
}

void Form::OnFocusLost() {
  if (loaded_ && handlers_ != nullptr) handlers_->FocusLost();
}

void Form::OnActivated(bool active) {
  // Activations while the form loads belong to its showing, not to the user's coming back.
  if (loaded_ && !loading_ && handlers_ != nullptr) handlers_->Activated(active);
}

void Form::OnFocusCues(bool visible) {
  if (visible == focusCues_) return;
  focusCues_ = visible;
  if (focused_ != nullptr) InvalidateArea(FocusBounds(*focused_));
}

}  // namespace rt

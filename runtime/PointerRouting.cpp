// Pointer routing: which control receives a move, press or release, mouse capture, and clicks.
#include <cstdint>

#include "Forms.h"

namespace rt {

namespace {

constexpr int kPrimary = static_cast<int>(MouseButton::kLeft);

}  // namespace

Control* Form::HitTest(int x, int y) {
  // The first control of the stacking order lies on top.
  for (Control& control : controls_) {
    if (control.Visible() && control.Enabled() && control.Bounds().Contains(x, y)) return &control;
  }
  return nullptr;
}

MouseArgs Form::ArgsFor(const Control* target, const PointerEvent& event) const {
  const int left = target != nullptr ? target->Bounds().left : 0;
  const int top = target != nullptr ? target->Bounds().top : 0;
  const float unit = UnitsPerPixel();
  MouseArgs args;
  args.button =
      event.action == PointerAction::kMove ? event.buttons : static_cast<int>(event.button);
  args.shift = event.modifiers;
  args.x = static_cast<float>(event.x - left) * unit;
  args.y = static_cast<float>(event.y - top) * unit;
  return args;
}

void Form::EndCapture() {
  const bool had = captureControl_ != nullptr || captureForm_;
  captureControl_ = nullptr;
  captureForm_ = false;
  heldButtons_ = 0;
  clickCandidate_ = nullptr;
  // State goes first: letting the capture go makes the system report its loss right away.
  if (had && loaded_) platform_->SetMouseCapture(false);
}

void Form::OnPointer(const PointerEvent& event) {
  if (!loaded_ || handlers_ == nullptr) return;
  const bool captured = captureControl_ != nullptr || captureForm_;
  Control* const target = captured ? captureControl_ : HitTest(event.x, event.y);

  switch (event.action) {
    case PointerAction::kMove:
      if (target != nullptr) {
        handlers_->ControlMouseMove(*target, ArgsFor(target, event));
      } else {
        handlers_->MouseMove(ArgsFor(nullptr, event));
      }
      return;

    case PointerAction::kDown: {
      const int button = static_cast<int>(event.button);
      if (!captured) {
        captureControl_ = target;
        captureForm_ = target == nullptr;
        clickCandidate_ = nullptr;
        platform_->SetMouseCapture(true);
      }
      heldButtons_ |= button;
      if (button == kPrimary) clickCandidate_ = target;
      if (target != nullptr) {
        handlers_->ControlMouseDown(*target, ArgsFor(target, event));
      } else {
        handlers_->MouseDown(ArgsFor(nullptr, event));
      }
      return;
    }

    case PointerAction::kUp: {
      const int button = static_cast<int>(event.button);
      if (captured && (heldButtons_ & button) == 0) return;  // its press went elsewhere
      const bool clicks = button == kPrimary && target != nullptr && clickCandidate_ == target &&
                          HitTest(event.x, event.y) == target;
      heldButtons_ &= ~button;
      if (button == kPrimary) clickCandidate_ = nullptr;
      if (heldButtons_ == 0) EndCapture();
      if (target != nullptr) {
        handlers_->ControlMouseUp(*target, ArgsFor(target, event));
        if (clicks && loaded_) handlers_->ControlClick(*target);
      }
      return;
    }
  }
}

void Form::OnCaptureLost() {
  // Taken away mid-press: a release without a click, so nothing stays pressed.
  Control* const target = captureControl_;
  const int held = heldButtons_;
  if (target == nullptr && !captureForm_) return;
  captureControl_ = nullptr;
  captureForm_ = false;
  heldButtons_ = 0;
  clickCandidate_ = nullptr;
  if (target != nullptr && handlers_ != nullptr && loaded_) {
    MouseArgs args;
    args.button = held;
    handlers_->ControlMouseUp(*target, args);
  }
}

}  // namespace rt

// The forms layer: a window and its controls made from a definition, with the properties handlers
// use (pictures, sizes in twips, scale mode, visibility, Tag) and the painting of the whole face.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Geometry.h"
#include "Picture.h"
#include "Platform.h"
#include "Scale.h"

namespace rt {

// Twips in one pixel. Controls are placed by pixels, so this holds at any screen setting.
constexpr int kTwipsPerPixel = 15;

enum ScaleModeValue : int { kScaleTwips = 1, kScalePixels = 3 };

enum class ControlKind { kPictureBox, kImage };

// One row of a window definition.
struct ControlDefinition {
  std::wstring_view name;
  int index;  // member of a control array; -1 for a control of its own
  ControlKind kind;
  PixelRect bounds;
  int pictureResource;  // 0: no design-time picture
  bool enabled;
};

struct FormDefinition {
  std::wstring_view name;
  int clientWidth;
  int clientHeight;
  int pictureResource;
  int backColorSystemIndex;
  int iconResource;
  // In stacking order as stored: the first lies on top.
  std::span<const ControlDefinition> controls;
};

// Mouse event arguments as the handlers receive them.
struct MouseArgs {
  int button = 0;  // MouseButton bits
  int shift = 0;   // the keys held, as the pointer event's modifiers
  float x = 0;     // in the scale of the form
  float y = 0;
};

class Control;

// The event handlers of a form. Defaults do nothing.
class FormHandlers {
 public:
  virtual ~FormHandlers() = default;
  virtual void Load() {}
  virtual void MouseDown(const MouseArgs&) {}
  virtual void MouseMove(const MouseArgs&) {}
  virtual void ControlMouseDown(Control&, const MouseArgs&) {}
  virtual void ControlMouseMove(Control&, const MouseArgs&) {}
  virtual void ControlMouseUp(Control&, const MouseArgs&) {}
  virtual void ControlClick(Control&) {}
  virtual void KeyDown(const KeyEvent&) {}
  virtual void KeyUp(const KeyEvent&) {}
  // The window lost the keyboard focus to another window.
  virtual void FocusLost() {}
  // The window went to a screen of another scale; the form has placed its controls for it.
  virtual void DpiChanged(int) {}
  // The loaded window became the active window (true), or stopped being it (false).
  virtual void Activated(bool) {}
};

class Form;

class Control {
 public:
  Control(Form& form, const ControlDefinition& definition);

  std::wstring_view Name() const { return definition_->name; }
  // The control-array index, a 16-bit signed number; -1 for a control of its own.
  std::int16_t Index() const { return static_cast<std::int16_t>(definition_->index); }
  ControlKind Kind() const { return definition_->kind; }

  // Size in the scale of the form.
  float Width() const;
  float Height() const;
  PixelRect Bounds() const { return bounds_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Whether it takes the pointer: as defined until a handler says otherwise.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  const std::wstring& Tag() const { return tag_; }
  void SetTag(std::wstring tag) { tag_ = std::move(tag); }

  // An image control takes the size of its new picture and keeps its place; a picture box keeps
  // its size.
  void SetPicture(Picture picture);
  const Picture& CurrentPicture() const { return picture_; }

 private:
  friend class Form;
  void Paint(Painter& painter, const PixelRect& area) const;
  void PlaceFor(int dpi);

  Form* form_;
  const ControlDefinition* definition_;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_;
  std::wstring tag_;
  Picture picture_;
};

// Where the focus rectangle of `control` is drawn: just outside its bounds.
PixelRect FocusBounds(const Control& control);

class Form : public WindowEvents {
 public:
  Form(Platform& platform, const FormDefinition& definition);
  // A form without a window: its properties and its painting work as usual, but it is never
  // loaded or shown. A preview composes the window's face with it.
  explicit Form(const FormDefinition& definition);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The form's name, as run-time errors about its window give it.
  std::wstring Name() const { return std::wstring(definition_->name); }

  void SetHandlers(FormHandlers* handlers) { handlers_ = handlers; }
  Platform& GetPlatform() { return *platform_; }

  // Shows the form modeless; a form not loaded yet is loaded first, which runs its Load handler to
  // the end before the show completes.
  void Show();
  bool Loaded() const { return loaded_; }
  // Destroys the window and its controls' pictures; with the last form gone the program ends.
  void Unload();

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // Outer size in twips; the window has no frame, so this is its inner size too.
  float Width() const;
  float Height() const;
  void SetWidth(float twips);
  void SetHeight(float twips);

  // The display scale in dots per inch. At a scale above the design's 96 the window's designed
  // size and every control's place (and the size of those without a picture) are the design's
  // figures scaled; pictures bring their own sizes.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi);

  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode);
  float ScaleWidth() const;
  float ScaleHeight() const;
  // Pixels in one unit of the current scale.
  float UnitsPerPixel() const;

  NativeHandle hWnd() const;
  // A region of the given rectangles, which must not overlap, for the window's outline; raises a
  // run-time error naming the form where the system cannot make it.
  Region CreateOutline(const std::vector<PixelRect>& rects);

  void SetPicture(Picture picture);
  const Picture& CurrentPicture() const { return picture_; }

  // The control named `name`, or member `index` of the control array `name`; null if none.
  Control* Find(std::wstring_view name, int index = -1);

  PixelRect ClientRect() const { return {0, 0, width_, height_}; }
  void InvalidateArea(const PixelRect& area);

  // The control with the keyboard focus, or null. Its focus rectangle is drawn around it while
  // the system's keyboard cues are on, which they are not until a key is used.
  Control* FocusedControl() const { return focused_; }
  void SetFocus(Control* control);
  bool FocusCuesVisible() const { return focusCues_; }

  // The window's name for Alt+Tab and screen readers, given before it is loaded.
  void SetCaption(std::wstring caption) { caption_ = std::move(caption); }
  const std::wstring& Caption() const { return caption_; }

  // What screen readers are told about the form; null for nothing.
  void SetAccessible(AccessibleWindow* accessible) { accessible_ = accessible; }

  // WindowEvents
  void OnPaint(Painter& painter, const PixelRect& area) override;
  void OnPointer(const PointerEvent& event) override;
  void OnCaptureLost() override;
  void OnKey(const KeyEvent& event) override;
  void OnFocusLost() override;
  void OnFocusCues(bool visible) override;
  void OnDpiChanged(int dpi) override;
  void OnActivated(bool active) override;
  AccessibleWindow* Accessible() override { return loaded_ ? accessible_ : nullptr; }

 private:
  void Load();
  void Resize(int width, int height);
  // The enabled, visible control under a point, or null where the form's own surface lies.
  Control* HitTest(int x, int y);
  MouseArgs ArgsFor(const Control* target, const PointerEvent& event) const;
  void EndCapture();

  Platform* platform_;
  const FormDefinition* definition_;
  FormHandlers* handlers_ = nullptr;
  std::vector<Control> controls_;
  Picture picture_;
  bool loaded_ = false;
  bool loading_ = false;
  bool visible_ = false;
  int width_;
  int height_;
  int scaleMode_ = kScaleTwips;
  int dpi_ = kDesignDpi;
  Control* focused_ = nullptr;
  bool focusCues_ = false;
  AccessibleWindow* accessible_ = nullptr;
  std::wstring caption_;

  // Pointer routing: who holds the capture after a press, which buttons are held, and which
  // control the primary button went down on (a click needs the release there too).
  Control* captureControl_ = nullptr;
  bool captureForm_ = false;
  int heldButtons_ = 0;
  Control* clickCandidate_ = nullptr;
};

}  // namespace rt

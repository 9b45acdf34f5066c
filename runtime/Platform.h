// What the forms layer needs from the operating system: one window, files and pictures, regions,
// messages and the start of other programs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "BitmapCheck.h"
#include "Geometry.h"
#include "Picture.h"
#include "PngCheck.h"
#include "RunTimeError.h"
#include "SystemQuery.h"

namespace rt {

// A window handle, passed through portable code untouched.
using NativeHandle = std::uintptr_t;

// Draws into the off-screen image of one paint; coordinates are client pixels.
class Painter {
 public:
  virtual ~Painter() = default;
  // Fills `area` with a system colour (by its system colour index).
  virtual void FillSystemColor(const PixelRect& area, int systemColorIndex) = 0;
  // Copies the part of `picture` that falls into `area`, the picture's top-left corner at (x, y).
  virtual void DrawPicture(const Picture& picture, int x, int y, const PixelRect& area) = 0;
  // Draws the system's focus rectangle just inside `bounds`.
  virtual void DrawFocusRect(const PixelRect& bounds) = 0;
};

enum class MouseButton { kNone = 0, kLeft = 1, kRight = 2, kMiddle = 4, kX1 = 8, kX2 = 16 };

enum class PointerAction { kMove, kDown, kUp };

// A raw pointer event in client pixels, as the window received it.
struct PointerEvent {
  PointerAction action = PointerAction::kMove;
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::kNone;  // the button that went down or up
  int buttons = 0;                          // the buttons held, a set of MouseButton bits
  int modifiers = 0;                        // the keys held: 1 Shift, 2 Ctrl, 4 Alt
};

// The keys the menu answers; every other key is kOther.
enum class Key { kOther, kTab, kEnter, kSpace, kEscape, kLeft, kRight, kUp, kDown };

enum class KeyAction { kDown, kUp };

// A key going down or up while the window has the keyboard focus.
struct KeyEvent {
  KeyAction action = KeyAction::kDown;
  Key key = Key::kOther;
  bool shift = false;
  bool alt = false;
  bool repeat = false;  // a key held down, repeating
};

// What a screen reader is told about one child of the window.
struct AccessibleItem {
  std::wstring name;
  std::wstring description;
  PixelRect bounds;  // client pixels
  bool focused = false;
  bool hot = false;  // lit: showing its hover look
  bool pressed = false;
  bool unavailable = false;  // shown, but takes neither the focus nor a press
};

// The window as screen readers see it: a name and a row of push buttons, each of which can take
// the focus and be pressed. Children are counted from 0.
class AccessibleWindow {
 public:
  virtual ~AccessibleWindow() = default;
  virtual std::wstring Name() = 0;
  virtual int ChildCount() = 0;
  virtual AccessibleItem Child(int child) = 0;
  // The name of what pressing a child does ("Press").
  virtual std::wstring DefaultAction() = 0;
  // The child with the keyboard focus, or -1.
  virtual int FocusedChild() = 0;
  // The child at a point in client pixels, or -1 where none lies.
  virtual int ChildAt(int x, int y) = 0;
  virtual void Focus(int child) = 0;
  // Does what a click on the child does.
  virtual void Press(int child) = 0;
};

// What the platform's window reports to the forms layer. None of these may throw into the
// platform's window procedure; the platform catches and keeps what they throw.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnPaint(Painter& painter, const PixelRect& area) = 0;
  virtual void OnPointer(const PointerEvent& event) = 0;
  // The system took the mouse capture away (another window, a task switch).
  virtual void OnCaptureLost() = 0;
  virtual void OnKey(const KeyEvent& event) = 0;
  // The window lost the keyboard focus to another window.
  virtual void OnFocusLost() = 0;
  // The system's keyboard cues changed: whether focus rectangles are to be drawn.
  virtual void OnFocusCues(bool visible) = 0;
  // What screen readers are told about the window; null while there is nothing to tell.
  virtual AccessibleWindow* Accessible() = 0;
  // The window went to a screen of another scale (dots per inch); the platform has moved it.
  virtual void OnDpiChanged(int dpi) = 0;
  // The window became the active window (`active`) or stopped being it.
  virtual void OnActivated(bool /*active*/) {}
};

// How the main window is made.
struct WindowLayout {
  int left = 0;  // its top-left corner, in screen pixels
  int top = 0;
  int width = 0;  // client pixels; the window has no frame
  int height = 0;
  int iconResource = 0;
  std::wstring title;  // its name for Alt+Tab and screen readers; never drawn
};

// What to start: the full path of a program or of a document the shell opens with its program,
// or an address; never a command line to split.
struct StartRequest {
  std::wstring program;
  std::wstring arguments;      // handed over apart from the program, as they are
  std::wstring workingFolder;  // empty: none
  bool minimized = true;       // shown minimized and active
  bool maximized = false;      // or maximized; neither: shown normally
  bool isAddress = false;      // https:, http: or mailto:
};

// What tells one version of a file from another: a file replaced or written to since has another
// size, last-write time or index in its file system.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A file opened for reading.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual std::uint64_t Size() const = 0;
  virtual FileStamp Stamp() const = 0;
  // Reads the whole file, Size() bytes; false with the system's error where it could not.
  virtual bool ReadAll(std::vector<std::uint8_t>& bytes, SystemError& error) = 0;
};

// Why a program could not be started: the system's shell could not be loaded, or it refused.
struct StartFailure {
  bool shellMissing = false;
  SystemError system;
};

// Why a file could not be opened.
struct OpenFailure {
  bool missing = false;  // no such file or folder, as opposed to one that cannot be read
  SystemError system;
};

// How a window with per-pixel alpha is drawn.
enum class AlphaDrawing {
  kWhole,       // every pixel, painted or repainted, is handed over with its alpha
  kSoftBehind,  // the half-transparent pixels apart, behind the opaque window
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The folder of the running program, read afresh each time: no trailing separator except at the
  // root of a drive (E:\).
  virtual std::wstring ProgramFolder() = 0;

  // Reads a Windows bitmap file, or a PNG file where the name ends in ".png". Its headers or
  // chunks are checked before any decoder sees it; a missing, unreadable or broken file raises a
  // RunTimeError that names it. A file unchanged since its last load (same path and stamp, checked
  // with the file opened) gives the picture decoded then.
  virtual Picture LoadPicture(const std::wstring& path);
  // A picture stored in the program itself; raises a RunTimeError naming it where there is none.
  virtual Picture LoadResourcePicture(int resourceId);

  // Loads that belong together (a start-up, a change of scale, the looks a re-check changes):
  // while one is open, a path already loaded in it gives the same picture without its file being
  // opened again, as nothing on a medium changes between loads a few milliseconds apart.
  class PictureBatch {
   public:
    explicit PictureBatch(Platform& platform) : platform_(platform) {
      if (platform_.batches_++ == 0) ++platform_.batch_;
    }
    ~PictureBatch() { --platform_.batches_; }
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;

   private:
    Platform& platform_;
  };
  // The picture stored in the program as `resourceId`; empty, with `error`, where there is none.
  virtual Picture FindResourcePicture(int resourceId, SystemError& error) = 0;

  // Opens a file for reading; null, with `failure` filled in, where it cannot.
  virtual std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path,
                                                 OpenFailure& failure) = 0;
  // Whether nothing is at `path` (no such file or folder), as opening it would say, but without
  // opening what is there: a file present, or one that cannot be read, is not missing.
  virtual bool IsMissing(const std::wstring& path);
  // A picture of the pixels of an uncompressed file as they are stored, from the bytes of a file
  // that the header check accepted as `layout`; empty, with `error`, where it cannot be made.
  virtual Picture CopyPicture(std::span<const std::uint8_t> file, const BitmapCheckResult& layout,
                              SystemError& error) = 0;
  // The system's own decoder reads the file at `path`, which the header check accepted; empty,
  // with `error`, where it cannot.
  virtual Picture DecodeWithSystem(const std::wstring& path, SystemError& error) = 0;
  // The system's PNG decoder decodes the bytes of a file that the chunk check accepted as `layout`
  // into a picture of 32-bit pixels with alpha; empty, with `error`, where it cannot.
  virtual Picture DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                            SystemError& error) = 0;
  // A picture of the given pixels (0x00BBGGRR, top row first) that the program made itself, with
  // the alpha of each pixel where `alpha` is not empty.
  virtual Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                              std::span<const std::uint8_t> alpha = {}) = 0;

  // Processes the window messages pending for the thread, then returns.
  virtual void DoEvents() = 0;

  // The scale of the screen the window opens on, in dots per inch, and the part of it that the
  // taskbar and other bars leave to windows.
  virtual int ScreenDpi() = 0;
  virtual PixelRect WorkArea() = 0;

  // The one top-level window: created hidden where `layout` places it, without taskbar button;
  // false, with `error`, where the system refuses.
  virtual bool CreateMainWindow(const WindowLayout& layout, WindowEvents& events,
                                SystemError& error) = 0;
  virtual void ShowMainWindow(bool visible) = 0;
  virtual void ResizeMainWindow(int width, int height) = 0;
  // Asks for the given client area to be painted again.
  virtual void Invalidate(const PixelRect& area) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual NativeHandle WindowHandle() const = 0;
  // Keeps the pointer's events with the window while a mouse button is held, or lets them go.
  virtual void SetMouseCapture(bool captured) = 0;

  // Lets go of the mouse capture and runs the system's own move loop for the window, as a press on
  // a title bar would; returns when the mouse button is released.
  virtual void DragMainWindow() = 0;

  // Turns the window's keyboard cues on, as the first navigation key in any dialog does.
  virtual void ShowFocusCues() = 0;
  // Tells screen readers that the keyboard focus moved to child `child` (from 0) of the window.
  virtual void AnnounceFocus(int child) = 0;
  // A text from the program's string table; empty where there is none.
  virtual std::wstring LoadResourceString(int id) = 0;
  // Shows `text` as the tooltip of `area` (client pixels), known as `id`, after the system's
  // hover delay; an empty text takes it away.
  virtual void SetTooltip(int id, const PixelRect& area, const std::wstring& text) = 0;
  // The user's interface languages, most wanted first, as language tags ("de-DE").
  virtual std::vector<std::wstring> PreferredLanguages() = 0;
  // Whether the system is 64-bit Windows, this 32-bit program running beside 64-bit ones.
  virtual bool Is64BitSystem() = 0;
  // What the system says about installed programs and about itself.
  virtual SystemQuery& Query() = 0;

  // Starts a program and returns at once; a program that cannot be started raises a RunTimeError
  // that names it.
  void StartProgram(const StartRequest& request);
  // Hands the program of `request` to the system's shell and returns at once; false, with
  // `failure`, where it cannot be started.
  virtual bool LaunchProgram(const StartRequest& request, StartFailure& failure) = 0;
  // Shows `error` in the error box, titled `title` (the program's name when empty), and returns
  // once the user has closed it; meanwhile the window is drawn but takes no input, afterwards it
  // goes on as before.
  virtual void ShowRunTimeError(const RunTimeError& error, const std::wstring& title) = 0;

  // A region made of the given rectangles, which must not overlap; empty where the system cannot
  // make it.
  virtual Region CreateRegion(const std::vector<PixelRect>& rects) = 0;
  // Gives `region` to the main window as its outline, redrawn at once; once the system has taken
  // it the program never deletes it.
  virtual void SetWindowRgn(Region region) = 0;
  // From now on draws the window with per-pixel alpha: each client pixel as painted, weighed by its
  // value in `alpha` (`width` x `height` values, top row first; 0 transparent, 255 opaque) and
  // blended with whatever lies behind the window. With `kSoftBehind` the window itself stays
  // opaque inside its outline, which the caller has cut to the opaque pixels: the others are drawn,
  // as painted now, by a window of their own kept just behind it, which takes no input, so that
  // painting the window costs what it costs without alpha. No alpha: drawn without it again.
  virtual void SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                              AlphaDrawing drawing) = 0;

 private:
  struct Loaded {
    FileStamp stamp;
    Picture picture;
    unsigned batch = 0;  // the batch it was last loaded in; 0 for none
  };
  // The picture last decoded from each path, with the stamp its file had then.
  std::map<std::wstring, Loaded> loaded_;
  // Open batches, and the number of the batch they make.
  int batches_ = 0;
  unsigned batch_ = 0;
};

}  // namespace rt

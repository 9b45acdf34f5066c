// Where the menu's start-up spends its time, from inside: reads menu.ini and runs Main as wWinMain
// does, with the real Win32 platform behind a layer that times every service they call, and prints
// the time spent in each service, the number of calls and what is left for the menu's own code. Run
// from a copy of the distribution folder (it reads the pictures beside itself, as menu.exe), one
// start-up a run. With the argument "recheck" it prints instead the time of one check of what the
// computer has, as the menu makes it when its window is activated again after another.
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "MenuSettingsFile.h"
#include "Module1.h"
#include "Timing.h"
#include "Win32Platform.h"
#include "frmMain.h"

namespace {

struct Spent {
  int calls = 0;
  double seconds = 0;
};

using Totals = std::map<std::string, Spent>;

// Adds the time `call` takes to `totals`[`name`] and returns what it returns.
template <typename F>
auto Timed(Totals& totals, const std::string& name, F&& call) {
  const double start = bench::Now();
  struct Stop {
    Spent& spent;
    double start;
    ~Stop() {
      ++spent.calls;
      spent.seconds += bench::Now() - start;
    }
  } stop{totals[name], start};
  return call();
}

// Forwards every question about the computer to the real one, timed into the platform's totals;
// the first question of each kind apart, as it may load what the answers need.
class TimedQuery : public rt::SystemQuery {
  template <typename F>
  auto Timed(const std::string& name, F&& call) {
    return ::Timed(totals_, asked_.insert(name).second ? name + " (first)" : name,
                   std::forward<F>(call));
  }

 public:
  TimedQuery(rt::SystemQuery& real, Totals& totals) : real_(real), totals_(totals) {}

  rt::RegistryKeyRead ReadRegistryKey(rt::RegistryHive hive, const std::wstring& key,
                                      const std::wstring& name, rt::RegistryView view) override {
    return Timed("Query: ReadRegistryKey",
                 [&] { return real_.ReadRegistryKey(hive, key, name, view); });
  }
  std::wstring ExpandEnvironment(const std::wstring& text) override {
    return Timed("Query: ExpandEnvironment", [&] { return real_.ExpandEnvironment(text); });
  }
  bool FileExists(const std::wstring& path) override {
    return Timed("Query: FileExists", [&] { return real_.FileExists(path); });
  }
  std::optional<rt::VersionParts> FileVersion(const std::wstring& path) override {
    return Timed("Query: FileVersion", [&] { return real_.FileVersion(path); });
  }
  rt::VersionParts WindowsVersion() override {
    return Timed("Query: WindowsVersion", [&] { return real_.WindowsVersion(); });
  }
  bool Is64BitWindows() override {
    return Timed("Query: Is64BitWindows", [&] { return real_.Is64BitWindows(); });
  }

 private:
  rt::SystemQuery& real_;
  Totals& totals_;
  std::set<std::string> asked_;
};

// Forwards every service to the real platform and adds up the time each one takes.
class TimedPlatform : public rt::Platform {
  template <typename F>
  auto Timed(const std::string& name, F&& call) {
    return ::Timed(totals_, name, std::forward<F>(call));
  }

 public:
  explicit TimedPlatform(rt::Platform& real) : real_(real), query_(real.Query(), totals_) {}

  const Totals& Times() const { return totals_; }

  std::wstring ProgramFolder() override {
    return Timed("ProgramFolder", [&] { return real_.ProgramFolder(); });
  }
  rt::Picture LoadPicture(const std::wstring& path) override {
    // A file loaded before is only opened to be found unchanged: timed apart.
    const bool again = !loaded_.insert(path).second;
    const std::string name = path.ends_with(L"main.bmp") || path.ends_with(L"main.png")
                                 ? "LoadPicture (skin"
                                 : "LoadPicture (button";
    // Loaded here, as the real platform loads, so that the menu's batches of loads hold; the
    // files it opens meanwhile are part of the load's time.
    return Timed(name + (again ? ", again)" : ")"), [&] {
      loading_ = true;
      struct Done {
        bool& loading;
        ~Done() { loading = false; }
      } done{loading_};
      return rt::Platform::LoadPicture(path);
    });
  }
  rt::Picture LoadResourcePicture(int resourceId) override {
    return Timed("LoadResourcePicture", [&] { return real_.LoadResourcePicture(resourceId); });
  }
  rt::Picture FindResourcePicture(int resourceId, rt::SystemError& error) override {
    return real_.FindResourcePicture(resourceId, error);
  }
  // Picture loads are timed as a whole above, the files they open with them; files are opened
  // here for the rest (menu.ini); files looked for are timed apart.
  std::unique_ptr<rt::ReadableFile> OpenFile(const std::wstring& path,
                                             rt::OpenFailure& failure) override {
    if (loading_) return real_.OpenFile(path, failure);
    return Timed("OpenFile", [&] { return real_.OpenFile(path, failure); });
  }
  bool IsMissing(const std::wstring& path) override {
    return Timed("IsMissing", [&] { return real_.IsMissing(path); });
  }
  rt::Picture CopyPicture(std::span<const std::uint8_t> file, const rt::BitmapCheckResult& layout,
                          rt::SystemError& error) override {
    return real_.CopyPicture(file, layout, error);
  }
  rt::Picture DecodeWithSystem(const std::wstring& path, rt::SystemError& error) override {
    return real_.DecodeWithSystem(path, error);
  }
  rt::Picture DecodePng(std::span<const std::uint8_t> file, const rt::PngCheckResult& layout,
                        rt::SystemError& error) override {
    return real_.DecodePng(file, layout, error);
  }
  rt::Picture MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                          std::span<const std::uint8_t> alpha) override {
    return Timed("MakePicture", [&] { return real_.MakePicture(width, height, pixels, alpha); });
  }
  int ScreenDpi() override {
    return Timed("ScreenDpi", [&] { return real_.ScreenDpi(); });
  }
  rt::PixelRect WorkArea() override {
    return Timed("WorkArea", [&] { return real_.WorkArea(); });
  }
  void DoEvents() override {
    Timed("DoEvents", [&] { real_.DoEvents(); });
  }
  bool CreateMainWindow(const rt::WindowLayout& layout, rt::WindowEvents& events,
                        rt::SystemError& error) override {
    return Timed("CreateMainWindow", [&] { return real_.CreateMainWindow(layout, events, error); });
  }
  void ShowMainWindow(bool visible) override {
    Timed(visible ? "ShowMainWindow (show)" : "ShowMainWindow (hide)",
          [&] { real_.ShowMainWindow(visible); });
  }
  void ResizeMainWindow(int width, int height) override {
    Timed("ResizeMainWindow", [&] { real_.ResizeMainWindow(width, height); });
  }
  void Invalidate(const rt::PixelRect& area) override {
    Timed("Invalidate", [&] { real_.Invalidate(area); });
  }
  void DestroyMainWindow() override { real_.DestroyMainWindow(); }
  rt::NativeHandle WindowHandle() const override { return real_.WindowHandle(); }
  void SetMouseCapture(bool captured) override { real_.SetMouseCapture(captured); }
  void DragMainWindow() override { real_.DragMainWindow(); }
  void ShowFocusCues() override {
    Timed("ShowFocusCues", [&] { real_.ShowFocusCues(); });
  }
  void AnnounceFocus(int child) override {
    Timed("AnnounceFocus", [&] { real_.AnnounceFocus(child); });
  }
  std::wstring LoadResourceString(int id) override {
    return Timed("LoadResourceString", [&] { return real_.LoadResourceString(id); });
  }
  void SetTooltip(int id, const rt::PixelRect& area, const std::wstring& text) override {
    Timed("SetTooltip", [&] { real_.SetTooltip(id, area, text); });
  }
  std::vector<std::wstring> PreferredLanguages() override {
    return Timed("PreferredLanguages", [&] { return real_.PreferredLanguages(); });
  }
  bool Is64BitSystem() override {
    return Timed("Is64BitSystem", [&] { return real_.Is64BitSystem(); });
  }
  rt::SystemQuery& Query() override { return query_; }
  bool LaunchProgram(const rt::StartRequest& request, rt::StartFailure& failure) override {
    return real_.LaunchProgram(request, failure);
  }
  void ShowRunTimeError(const rt::RunTimeError& error, const std::wstring& title) override {
    real_.ShowRunTimeError(error, title);
  }
  rt::Region CreateRegion(const std::vector<rt::PixelRect>& rects) override {
    return Timed("CreateRegion", [&] { return real_.CreateRegion(rects); });
  }
  void SetWindowRgn(rt::Region region) override {
    Timed("SetWindowRgn", [&] { real_.SetWindowRgn(std::move(region)); });
  }
  void SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                      rt::AlphaDrawing drawing) override {
    Timed("SetWindowAlpha",
          [&] { real_.SetWindowAlpha(width, height, std::move(alpha), drawing); });
  }

 private:
  rt::Platform& real_;
  Totals totals_;
  TimedQuery query_;
  std::set<std::wstring> loaded_;
  bool loading_ = false;  // inside a picture load
};

}  // namespace

// A windows program as menu.exe is: Wine readies a console program's window services only at its
// first call, which would be timed as whichever service came first.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  rt::win32::Win32Platform platform(instance);
  TimedPlatform timed(platform);
  std::unique_ptr<menu::frmMain> form;
  double total = 0;
  try {
    const double start = bench::Now();
    menu::Module1::Main(timed, form, menu::ReadMenuSettings(timed));
    total = bench::Now() - start;
  } catch (const rt::RunTimeError& error) {
    std::fwprintf(stderr, L"%ls\n", rt::FormatErrorReport(error).c_str());
    return 1;
  }
  if (std::wstring(commandLine) == L"recheck") {
    // The window goes inactive and comes back: the check runs inside the second event.
    form->Form().OnActivated(false);
    const double start = bench::Now();
    form->Form().OnActivated(true);
    std::printf("recheck_ms\t%.3f\n", (bench::Now() - start) * 1000);
    form->Form().Unload();
    return 0;
  }
  // One line a service: name, calls, milliseconds; then the whole of Main and the rest.
  double services = 0;
  for (const auto& [name, spent] : timed.Times()) {
    std::printf("%s\t%d\t%.3f\n", name.c_str(), spent.calls, spent.seconds * 1000);
    services += spent.seconds;
  }
  std::printf("the menu's own code\t-\t%.3f\n", (total - services) * 1000);
  std::printf("Main in all\t-\t%.3f\n", total * 1000);
  form->Form().Unload();
  return 0;
}

// The recording stand-in for the platform used by the host tests.
#include "FakePlatform.h"

#include <algorithm>

#include "RunTimeError.h"

namespace rt {

namespace {

constexpr NativeHandle kFakeWindow = 0x1234;
constexpr NativeHandle kFakeDC = 0x5678;

std::wstring Size(int width, int height) {
  return std::to_wstring(width) + L"x" + std::to_wstring(height);
}

std::wstring Rect(const PixelRect& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) +
         L"," + std::to_wstring(r.bottom);
}

class RecordingPainter : public Painter {
 public:
  explicit RecordingPainter(std::vector<std::wstring>& out) : out_(out) {}
  void FillSystemColor(const PixelRect& area, int index) override {
    out_.push_back(L"fill " + std::to_wstring(index) + L" " + Rect(area));
  }
  void DrawPicture(const Picture& picture, int x, int y, const PixelRect& area) override {
    const auto* data = static_cast<const FakePicture*>(picture.Data());
    out_.push_back(data->Source() + L" @" + std::to_wstring(x) + L"," + std::to_wstring(y) + L" " +
                   Rect(area));
  }

 private:
  std::vector<std::wstring>& out_;
};

}  // namespace

void FakePicture::ReadPixels(const PixelRect& area, std::uint32_t* out) const {
  const std::size_t width = static_cast<std::size_t>(std::max(area.Width(), 0));
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) continue;
      out[static_cast<std::size_t>(y - area.top) * width +
          static_cast<std::size_t>(x - area.left)] =
          image_.pixel ? image_.pixel(x, y) : 0x00FFFFFFu;
    }
  }
}

FakeImage MakeImage(int width, int height, std::function<std::uint32_t(int x, int y)> pixel) {
  return FakeImage{width, height, std::move(pixel), {}};
}

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

std::wstring FakePlatform::ProgramFolder() {
  log.push_back(L"ProgramFolder");
  return programFolder;
}

Picture FakePlatform::LoadPicture(const std::wstring& path) {
  log.push_back(L"LoadPicture " + path);
  if (std::find(brokenFiles.begin(), brokenFiles.end(), path) != brokenFiles.end()) {
    throw RunTimeError(kErrInvalidPicture, L"Could not load the picture", path,
                       L"The file is not a Windows bitmap");
  }
  const auto it = files.find(path);
  if (it == files.end()) {
    throw RunTimeError(kErrFileNotFound, L"Could not load the picture", path)
        .WithSystemError(2, L"The system cannot find the file specified.");
  }
  const std::wstring& name = it->second.name.empty() ? path : it->second.name;
  return Picture(std::make_unique<FakePicture>(name, it->second));
}

Picture FakePlatform::LoadResourcePicture(int resourceId) {
  log.push_back(L"LoadResourcePicture " + std::to_wstring(resourceId));
  const auto it = resources.find(resourceId);
  FakeImage image = it != resources.end() ? it->second : MakeImage(1, 1);
  return Picture(std::make_unique<FakePicture>(L"resource " + std::to_wstring(resourceId), image));
}

void FakePlatform::DoEvents() { log.push_back(L"DoEvents"); }

void FakePlatform::CreateMainWindow(const WindowLayout& layout, WindowEvents& windowEvents) {
  log.push_back(L"CreateWindow " + Size(layout.width, layout.height));
  windowExists = true;
  windowWidth = layout.width;
  windowHeight = layout.height;
  events = &windowEvents;
}

void FakePlatform::ShowMainWindow(bool visible) {
  log.push_back(visible ? L"Show" : L"Hide");
  windowVisible = visible;
}

void FakePlatform::ResizeMainWindow(int width, int height) {
  log.push_back(L"Resize " + Size(width, height));
  windowWidth = width;
  windowHeight = height;
}

void FakePlatform::Invalidate(const PixelRect& area) { invalidated.push_back(area); }

void FakePlatform::DestroyMainWindow() {
  log.push_back(L"DestroyWindow");
  windowExists = false;
  windowVisible = false;
  events = nullptr;
  ownedRegion_ = Region();
}

NativeHandle FakePlatform::WindowHandle() const { return windowExists ? kFakeWindow : 0; }
NativeHandle FakePlatform::WindowDC() const { return windowExists ? kFakeDC : 0; }

void FakePlatform::SetMouseCapture(bool capture) {
  log.push_back(capture ? L"SetCapture" : L"ReleaseCapture");
  captured = capture;
}

void FakePlatform::DragMainWindow() {
  log.push_back(L"DragWindow");
  captured = false;
}

void FakePlatform::StartProgram(const StartRequest& request) {
  log.push_back(L"StartProgram " + request.program + L" in " + request.workingFolder +
                (request.minimized ? L" minimized" : L""));
  if (std::find(missingPrograms.begin(), missingPrograms.end(), request.program) !=
      missingPrograms.end()) {
    throw RunTimeError(kErrFileNotFound, L"Could not start the program", request.program)
        .WithSystemError(2, L"The system cannot find the file specified.");
  }
  started.push_back(request);
}

Region FakePlatform::CreateRegion(const std::vector<PixelRect>& rects) {
  log.push_back(L"CreateRegion " + std::to_wstring(rects.size()));
  return Region(std::make_unique<FakeRegion>(rects, &regionsAlive));
}

void FakePlatform::SetWindowRgn(NativeHandle window, Region region, bool redraw) {
  log.push_back(std::wstring(L"SetWindowRgn") + (redraw ? L" redraw" : L""));
  if (window != kFakeWindow || !region) return;  // as the system: a bad handle changes nothing
  windowRegion = static_cast<FakeRegion*>(region.Data())->rects;
  windowShaped = true;
  ownedRegion_ = std::move(region);
}

void FakePlatform::Paint(const PixelRect& area) {
  painted.clear();
  RecordingPainter painter(painted);
  if (events != nullptr) events->OnPaint(painter, area);
}

void FakePlatform::Paint() { Paint({0, 0, windowWidth, windowHeight}); }

std::vector<std::wstring> FakePlatform::Lines(const std::wstring& prefix) const {
  std::vector<std::wstring> out;
  for (const std::wstring& line : log) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

}  // namespace rt

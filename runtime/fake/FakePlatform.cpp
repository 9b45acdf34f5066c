// The recording stand-in for the platform used by the host tests.
#include "FakePlatform.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "PngDecode.h"
#include "ReferenceDecoder.h"
#include "RunTimeError.h"

namespace rt {

namespace {

constexpr NativeHandle kFakeWindow = 0x1234;

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
  void DrawFocusRect(const PixelRect& bounds) override { out_.push_back(L"focus " + Rect(bounds)); }
  void DrawPicture(const Picture& picture, int x, int y, const PixelRect& area) override {
    const auto* data = static_cast<const FakePicture*>(picture.Data());
    out_.push_back(data->Source() + L" @" + std::to_wstring(x) + L"," + std::to_wstring(y) + L" " +
                   Rect(area));
  }

 private:
  std::vector<std::wstring>& out_;
};

}  // namespace

FakePicture::FakePicture(std::wstring source, std::shared_ptr<const FileBytes> bytes, int width,
                         int height)
    : source_(std::move(source)), bytes_(std::move(bytes)), width_(width), height_(height) {}

FakePicture::FakePicture(std::wstring source, int width, int height,
                         std::vector<std::uint32_t> pixels, std::vector<std::uint8_t> alpha)
    : source_(std::move(source)),
      width_(width),
      height_(height),
      pixels_(std::move(pixels)),
      alpha_(std::move(alpha)) {}

FakePicture::~FakePicture() = default;

void FakePicture::ReadPixels(const PixelRect& area, std::uint32_t* out) const {
  if (pixels_.empty()) {
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    pixels_.assign(count, 0x00FFFFFFu);
    const bmpio::Decoded decoded = bytes_ ? bmpio::DecodeTrusting(*bytes_, true) : bmpio::Decoded{};
    if (decoded.ok && decoded.pixels.size() == count) {
      for (std::size_t i = 0; i < count; ++i) {
        const bmpio::Rgb& c = decoded.pixels[i];
        pixels_[i] = static_cast<std::uint32_t>(c.r) | (static_cast<std::uint32_t>(c.g) << 8) |
                     (static_cast<std::uint32_t>(c.b) << 16);
      }
    }
  }
  const std::size_t width = static_cast<std::size_t>(std::max(area.Width(), 0));
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
      out[static_cast<std::size_t>(y - area.top) * width +
          static_cast<std::size_t>(x - area.left)] =
          pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
    }
  }
}

bool FakePicture::ReadAlpha(const PixelRect& area, std::uint8_t* out) const {
  if (alpha_.empty()) return false;
  const PixelRect part = Intersect(area, {0, 0, width_, height_});
  const auto width = static_cast<std::size_t>(area.Width());
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) {
      out[static_cast<std::size_t>(y - area.top) * width +
          static_cast<std::size_t>(x - area.left)] =
          alpha_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
    }
  }
  return true;
}

namespace {

// The contents stand in for the write time: a file given other bytes is another version of it.
std::uint64_t Fingerprint(const FileBytes& bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

class FakeFile : public ReadableFile {
 public:
  FakeFile(FileBytes bytes, std::uint64_t index) : bytes_(std::move(bytes)), index_(index) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  FileStamp Stamp() const override { return {bytes_.size(), Fingerprint(bytes_), 1, index_}; }
  bool ReadAll(FileBytes& bytes, SystemError&) override {
    bytes = bytes_;
    return true;
  }

 private:
  FileBytes bytes_;
  std::uint64_t index_;
};

}  // namespace

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

std::wstring FakePlatform::ProgramFolder() {
  log.push_back(L"ProgramFolder");
  return programFolder;
}

Picture FakePlatform::LoadPicture(const std::wstring& path) {
  log.push_back(L"LoadPicture " + path);
  return Platform::LoadPicture(path);
}

Picture FakePlatform::LoadResourcePicture(int resourceId) {
  log.push_back(L"LoadResourcePicture " + std::to_wstring(resourceId));
  return Platform::LoadResourcePicture(resourceId);
}

Picture FakePlatform::FindResourcePicture(int resourceId, SystemError& error) {
  if (missingResources.contains(resourceId)) {
    error = {1814, L"The specified resource name cannot be found in the image file.\r\n"};
    return Picture();
  }
  return Picture(
      std::make_unique<FakePicture>(L"resource " + std::to_wstring(resourceId), nullptr, 1, 1));
}

std::unique_ptr<ReadableFile> FakePlatform::OpenFile(const std::wstring& path,
                                                     OpenFailure& failure) {
  lastOpened_ = path;
  opened.push_back(path);
  if (folders.contains(path)) {
    failure.system = {5, L"Access is denied."};
    return nullptr;
  }
  const auto it = files.find(path);
  if (it == files.end()) {
    failure.missing = true;
    failure.system = {2, L"The system cannot find the file specified."};
    return nullptr;
  }
  return std::make_unique<FakeFile>(it->second, std::hash<std::wstring>{}(path));
}

Picture FakePlatform::CopyPicture(std::span<const std::uint8_t> file,
                                  const BitmapCheckResult& layout, SystemError&) {
  decoded.push_back(L"copy " + lastOpened_);
  return Picture(std::make_unique<FakePicture>(
      lastOpened_, std::make_shared<const FileBytes>(file.begin(), file.end()), layout.width,
      std::abs(layout.height)));
}

Picture FakePlatform::DecodeWithSystem(const std::wstring& path, SystemError& error) {
  decoded.push_back(L"system " + path);
  const auto it = files.find(path);
  const bmpio::Decoded probe =
      it != files.end() ? bmpio::DecodeTrusting(it->second, false) : bmpio::Decoded{};
  if (!probe.ok) {
    error = {13, L"The data is invalid."};
    return Picture();
  }
  return Picture(std::make_unique<FakePicture>(path, std::make_shared<const FileBytes>(it->second),
                                               probe.width, probe.height));
}

Picture FakePlatform::DecodePng(std::span<const std::uint8_t> file, const PngCheckResult&,
                                SystemError& error) {
  decoded.push_back(L"png " + lastOpened_);
  const pngio::Decoded png = pngio::DecodeWithSystem(file);
  if (!png.ok) {
    error = {13, L"The data is invalid."};
    return Picture();
  }
  std::vector<std::uint32_t> colours;
  std::vector<std::uint8_t> alpha;
  for (const pngio::Rgba& p : png.pixels) {
    colours.push_back(p.r | (static_cast<std::uint32_t>(p.g) << 8) |
                      (static_cast<std::uint32_t>(p.b) << 16));
    alpha.push_back(p.a);
  }
  return Picture(std::make_shared<FakePicture>(lastOpened_, png.width, png.height,
                                               std::move(colours), std::move(alpha)));
}

Picture FakePlatform::MakePicture(int width, int height, std::span<const std::uint32_t> pixels,
                                  std::span<const std::uint8_t> alpha) {
  const std::wstring source = L"made " + Size(width, height);
  log.push_back(L"MakePicture " + Size(width, height));
  return Picture(std::make_shared<FakePicture>(
      source, width, height, std::vector<std::uint32_t>(pixels.begin(), pixels.end()),
      std::vector<std::uint8_t>(alpha.begin(), alpha.end())));
}

void FakePlatform::DoEvents() { log.push_back(L"DoEvents"); }

bool FakePlatform::CreateMainWindow(const WindowLayout& layout, WindowEvents& windowEvents,
                                    SystemError& error) {
  log.push_back(L"CreateWindow " + Size(layout.width, layout.height));
  if (windowRefusal.code != 0) {
    error = windowRefusal;
    return false;
  }
  windowCorner = {layout.left, layout.top};
  windowTitle = layout.title;
  windowExists = true;
  windowWidth = layout.width;
  windowHeight = layout.height;
  events = &windowEvents;
  return true;
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

void FakePlatform::SetMouseCapture(bool capture) {
  log.push_back(capture ? L"SetCapture" : L"ReleaseCapture");
  captured = capture;
}

void FakePlatform::DragMainWindow() {
  log.push_back(L"DragWindow");
  captured = false;
}

void FakePlatform::ShowFocusCues() {
  log.push_back(L"ShowFocusCues");
  if (events != nullptr) events->OnFocusCues(true);
}

void FakePlatform::AnnounceFocus(int child) {
  log.push_back(L"AnnounceFocus " + std::to_wstring(child));
}

std::wstring FakePlatform::LoadResourceString(int id) {
  const auto it = strings.find(id);
  return it != strings.end() ? it->second : std::wstring();
}

void FakePlatform::SetTooltip(int id, const PixelRect& area, const std::wstring& text) {
  log.push_back(L"SetTooltip " + std::to_wstring(id) + L" " + Rect(area) + L" " + text);
  if (text.empty()) {
    tooltips.erase(id);
  } else {
    tooltips[id] = {area, text};
  }
}

bool FakePlatform::LaunchProgram(const StartRequest& request, StartFailure& failure) {
  log.push_back(L"StartProgram " + request.program +
                (request.arguments.empty() ? L"" : L" with " + request.arguments) + L" in " +
                request.workingFolder + (request.minimized ? L" minimized" : L"") +
                (request.maximized ? L" maximized" : L""));
  if (std::find(missingPrograms.begin(), missingPrograms.end(), request.program) !=
      missingPrograms.end()) {
    failure.system = {2, L"The system cannot find the file specified.\r\n"};
    return false;
  }
  if (const auto refused = refusedPrograms.find(request.program);
      refused != refusedPrograms.end()) {
    failure = refused->second;
    return false;
  }
  started.push_back(request);
  return true;
}

void FakePlatform::ShowRunTimeError(const RunTimeError& error, const std::wstring& title) {
  log.push_back(L"ShowRunTimeError " + std::to_wstring(error.Number()) + L" " + title);
}

Region FakePlatform::CreateRegion(const std::vector<PixelRect>& rects) {
  log.push_back(L"CreateRegion " + std::to_wstring(rects.size()));
  if (regionsRefused) return Region();
  return Region(std::make_unique<FakeRegion>(rects, &regionsAlive));
}

void FakePlatform::SetWindowRgn(Region region) {
  // The window is redrawn in its new outline at once.
  log.push_back(L"SetWindowRgn redraw");
  if (!windowExists || !region) return;  // as the system: no window, no change
  windowRegion = static_cast<FakeRegion*>(region.Data())->rects;
  windowShaped = true;
  ownedRegion_ = std::move(region);
}

void FakePlatform::SetWindowAlpha(int width, int height, std::vector<std::uint8_t> alpha,
                                  AlphaDrawing drawing) {
  log.push_back(L"SetWindowAlpha " + std::to_wstring(width) + L"x" + std::to_wstring(height) +
                (drawing == AlphaDrawing::kSoftBehind ? L" behind" : L""));
  windowAlpha = std::move(alpha);
  windowAlphaDrawing = drawing;
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

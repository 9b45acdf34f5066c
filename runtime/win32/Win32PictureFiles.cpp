// Picture files over Win32: opening and reading them (by the extended-length form where they lie
// deep), copying checked pixels into a DIB section, and the system's own decoder.
#include <algorithm>
#include <cstring>
#include <vector>

#include "BitmapFormat.h"
#include "Decimal.h"
#include "LongPath.h"
#include "RunTimeError.h"
#include "Win32Pictures.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

class Win32File : public ReadableFile {
 public:
  Win32File(unique_hfile file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
  std::uint64_t Size() const override { return size_; }

  bool ReadAll(std::vector<std::uint8_t>& bytes, SystemError& error) override {
    bytes.resize(static_cast<std::size_t>(size_));
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
      if (!ReadFile(file_.get(), bytes.data() + done, want, &got, nullptr)) {
        error = LastSystemError();
        return false;
      }
      if (got == 0) break;
      done += got;
    }
    bytes.resize(done);
    return true;
  }

 private:
  unique_hfile file_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path, OpenFailure& failure) {
  const std::wstring name = FileSystemPath(path);
  unique_hfile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    failure.missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                      code == ERROR_BAD_NETPATH || code == ERROR_INVALID_NAME;
    failure.system = {code, SystemErrorText(code)};
    return nullptr;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    failure.system = LastSystemError();
    return nullptr;
  }
  return std::make_unique<Win32File>(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

Picture CopyPicture(std::span<const std::uint8_t> file, const BitmapCheckResult& layout,
                    SystemError& error) {
  // Header, colour masks and palette, copied to memory aligned for the system.
  constexpr std::size_t kFileHeader = bmp::kFileHeaderSize;
  std::vector<std::uint32_t> info((layout.infoEnd - kFileHeader + 3) / 4 + 1, 0);
  std::memcpy(info.data(), file.data() + kFileHeader, layout.infoEnd - kFileHeader);
  void* bits = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) {
    error = LastSystemError();
    return Picture();
  }
  std::memcpy(bits, file.data() + layout.pixelOffset, layout.pixelBytes);
  return MakePicture(bitmap.release());
}

Picture DecodeWithSystem(const std::wstring& path, SystemError& error) {
  const std::wstring name = FileSystemPath(path);
  HANDLE loaded =
      LoadImageW(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (loaded == nullptr) {
    error = LastSystemError();
    return Picture();
  }
  return MakePicture(static_cast<HBITMAP>(loaded));
}

Picture LoadResourcePicture(HINSTANCE instance, int resourceId) {
  HANDLE loaded =
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (loaded == nullptr) {
    const SystemError system = LastSystemError();
    RunTimeError error(kErrInvalidPicture, L"Could not load the picture",
                       L"resource " + rt::DecimalText(resourceId));
    if (system.code != 0) error.WithSystemError(system.code, system.text);
    throw error;
  }
  return MakePicture(static_cast<HBITMAP>(loaded));
}

}  // namespace rt::win32

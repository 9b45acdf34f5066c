// Picture files over Win32: opening and reading them (by the extended-length form where they lie
// deep), copying checked pixels into a DIB section, and the system's own decoder.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BitmapFormat.h"
#include "LongPath.h"
#include "Win32Pictures.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

class Win32File : public ReadableFile {
 public:
  Win32File(unique_hfile file, const BY_HANDLE_FILE_INFORMATION& info)
      : file_(std::move(file)),
        size_(Join(info.nFileSizeHigh, info.nFileSizeLow)),
        stamp_{size_, Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime),
               info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow)} {}
  std::uint64_t Size() const override { return size_; }
  FileStamp Stamp() const override { return stamp_; }

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
  static std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  }

  unique_hfile file_;
  std::uint64_t size_;
  FileStamp stamp_;
};

bool MissingCode(DWORD code) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
         code == ERROR_BAD_NETPATH || code == ERROR_INVALID_NAME;
}

}  // namespace

std::unique_ptr<ReadableFile> OpenFile(const std::wstring& path, OpenFailure& failure) {
  const std::wstring name = FileSystemPath(path);
  unique_hfile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    failure.missing = MissingCode(code);
    failure.system = {code, SystemErrorText(code)};
    return nullptr;
  }
  // Size, last write and the file's index, read from the open file, tell this version of it from
  // any other; nobody can write to it while the handle is held (no write sharing).
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) {
    failure.system = LastSystemError();
    return nullptr;
  }
  return std::make_unique<Win32File>(std::move(file), info);
}

// The file's attributes, read without opening it: cheaper than an open where the system has to
// hand out and take back a handle for each file looked for.
bool IsMissing(const std::wstring& path) {
  const std::wstring name = FileSystemPath(path);
  return GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES && MissingCode(GetLastError());
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

Picture FindResourcePicture(HINSTANCE instance, int resourceId, SystemError& error) {
  // Only the size is read now, from the resource's header; the pixels are decoded when the
  // picture is first drawn or read, which a picture replaced before the window shows never is.
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_BITMAP);
  HGLOBAL resource = found != nullptr ? LoadResource(instance, found) : nullptr;
  const auto* header =
      resource != nullptr ? static_cast<const std::uint8_t*>(LockResource(resource)) : nullptr;
  const DWORD length = found != nullptr ? SizeofResource(instance, found) : 0;
  const std::span<const std::uint8_t> bytes(header, header != nullptr ? length : 0);
  int width = 0;
  int height = 0;
  if (bytes.size() >= bmp::kCoreHeaderSize && bmp::ReadU32(bytes, 0) == bmp::kCoreHeaderSize) {
    width = bmp::ReadU16(bytes, 4);
    height = bmp::ReadU16(bytes, 6);
  } else if (bytes.size() >= bmp::kInfoHeaderSize) {
    width = static_cast<std::int32_t>(bmp::ReadU32(bytes, 4));
    height = std::abs(static_cast<std::int32_t>(bmp::ReadU32(bytes, 8)));
  }
  if (width <= 0 || height <= 0) {
    error = LastSystemError();
    return Picture();
  }
  return Picture(std::make_shared<Win32Picture>(instance, resourceId, width, height));
}

}  // namespace rt::win32

// Loading a picture file: read, checked by its headers (a bitmap) or chunks (a PNG file), then
// decoded the way the check's findings
// allow, unless the same file was decoded before. The wording of every failure is decided here,
// whatever platform reads and decodes.
#include <string_view>
#include <vector>

#include "BitmapCheck.h"
#include "BitmapFormat.h"
#include "Decimal.h"
#include "Platform.h"
#include "PngCheck.h"
#include "RunTimeError.h"

namespace rt {

namespace {

// No picture the menu can show comes near this; anything larger is not one of its pictures.
constexpr std::uint64_t kMaxPictureFile = 512ull * 1024 * 1024;

RunTimeError PictureError(int number, const std::wstring& path, std::wstring detail = {}) {
  return RunTimeError(number, rt::AsciiText("Could not load the picture"), path, std::move(detail));
}

// The check's reason (plain English, lower case first) as a sentence of its own.
std::wstring Sentence(std::wstring reason) {
  if (!reason.empty() && reason[0] >= L'a' && reason[0] <= L'z') {
    reason[0] = static_cast<wchar_t>(reason[0] - L'a' + L'A');
  }
  return reason + L".";
}

// Pixels stored uncompressed behind an info header are copied as they are, from the bytes already
// read; compressed and OS/2 files go to the system's decoder, which reads the file itself.
bool CopiesPixels(const BitmapCheckResult& layout) {
  return layout.headerSize >= bmp::kInfoHeaderSize && layout.pixelBytes != 0 &&
         (layout.compression == bmp::kBiRgb || layout.compression == bmp::kBiBitfields);
}

// A PNG file goes by its name: the same name with ".png", in any case.
bool IsPngName(const std::wstring& path) {
  constexpr std::wstring_view kPng = L".png";
  if (path.size() < kPng.size()) return false;
  for (std::size_t i = 0; i < kPng.size(); ++i) {
    wchar_t c = path[path.size() - kPng.size() + i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != kPng[i]) return false;
  }
  return true;
}

}  // namespace

Picture Platform::LoadPicture(const std::wstring& path) {
  const unsigned batch = batches_ > 0 ? batch_ : 0;
  if (batch != 0) {
    const auto known = loaded_.find(path);
    if (known != loaded_.end() && known->second.batch == batch) return known->second.picture;
  }
  OpenFailure failure;
  const std::unique_ptr<ReadableFile> file = OpenFile(path, failure);
  if (!file) {
    loaded_.erase(path);
    throw PictureError(failure.missing ? kErrFileNotFound : kErrPathFileAccess, path)
        .WithSystemError(failure.system);
  }
  const FileStamp stamp = file->Stamp();
  const auto known = loaded_.find(path);
  if (known != loaded_.end() && known->second.stamp == stamp) {
    known->second.batch = batch;
    return known->second.picture;
  }
  // Whatever happens next, what was decoded before is not this file any more.
  if (known != loaded_.end()) loaded_.erase(known);

  if (file->Size() > kMaxPictureFile) {
    throw PictureError(kErrInvalidPicture, path,
                       rt::AsciiText("The file is too large to be a picture."));
  }
  std::vector<std::uint8_t> bytes;
  SystemError error;
  if (!file->ReadAll(bytes, error)) {
    throw PictureError(kErrPathFileAccess, path).WithSystemError(error);
  }

  Picture picture;
  if (IsPngName(path)) {
    const PngCheckResult layout = CheckPngFile(bytes);
    if (!layout.ok) throw PictureError(kErrInvalidPicture, path, Sentence(layout.reason));
    const std::vector<std::uint8_t> filled = PngWithFullPalette(bytes, layout);
    picture = DecodePng(filled.empty() ? bytes : filled, layout, error);
  } else {
    const BitmapCheckResult layout = CheckBitmapFile(bytes);
    if (!layout.ok) throw PictureError(kErrInvalidPicture, path, Sentence(layout.reason));
    if (CopiesPixels(layout)) picture = CopyPicture(bytes, layout, error);
    // A copy the system could not make (no memory for it) still has the decoder to try.
    if (!picture) picture = DecodeWithSystem(path, error);
  }
  if (!picture) {
    throw PictureError(kErrInvalidPicture, path, rt::AsciiText("The system could not decode it."))
        .WithSystemError(error);
  }
  loaded_[path] = {stamp, picture, batch};
  return picture;
}

bool Platform::IsMissing(const std::wstring& path) {
  OpenFailure failure;
  return !OpenFile(path, failure) && failure.missing;
}

Picture Platform::LoadResourcePicture(int resourceId) {
  SystemError error;
  Picture picture = FindResourcePicture(resourceId, error);
  if (!picture) {
    throw PictureError(kErrInvalidPicture, L"resource " + DecimalText(resourceId))
        .WithSystemError(error);
  }
  return picture;
}

}  // namespace rt

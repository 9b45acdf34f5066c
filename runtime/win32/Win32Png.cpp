// The Windows Imaging Component's PNG decoder: its factory from windowscodecs.dll and COM from
// ole32.dll, both from the system folder; the frame converted to 32-bit BGRA and copied row by
// row into a DIB section. What the system says is passed on as it is.
#include "Win32Png.h"

#include <wincodec.h>

#include <algorithm>

#include "Handles.h"
#include "Win32Pictures.h"
#include "Win32System.h"

namespace rt::win32 {

namespace {

template <typename T>
struct ComTraits : NullEmpty<T*> {
  static void Free(T* object) { object->Release(); }
};
template <typename T>
using unique_com = UniqueHandle<ComTraits<T>>;

// {1B7CFAF4-713F-473C-BBCD-6137425FAEAF} and {6FDDC324-4E03-4BFE-B185-3D77768DC90F}, spelled out
// so that no import library of the system's GUIDs is needed.
constexpr GUID kContainerPng = {
    0x1B7CFAF4, 0x713F, 0x473C, {0xBB, 0xCD, 0x61, 0x37, 0x42, 0x5F, 0xAE, 0xAF}};
constexpr GUID kFormat32bppBgra = {
    0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x0F}};
// The first version of the component (Windows XP SP3 and Vista on).
constexpr UINT kSdkVersion = 0x0236;

using CreateFactory = HRESULT(WINAPI*)(UINT, IWICImagingFactory**);

template <typename F>
F Function(const wchar_t* library, const char* name) {
  const HMODULE module = SystemLibrary(library);
  const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(found));
}

// The factory's maker, found once; COM initialised on the thread, which the decoders it makes
// need. Null where the system has no imaging component.
CreateFactory FactoryMaker() {
  static const CreateFactory maker = [] {
    const auto initialise =
        Function<HRESULT(WINAPI*)(LPVOID, DWORD)>(L"ole32.dll", "CoInitializeEx");
    if (initialise == nullptr) return CreateFactory{};
    initialise(nullptr, COINIT_APARTMENTTHREADED);
    return Function<CreateFactory>(L"windowscodecs.dll", "WICCreateImagingFactory_Proxy");
  }();
  return maker;
}

bool Failed(HRESULT result, SystemError& error) {
  if (SUCCEEDED(result)) return false;
  const auto code = static_cast<DWORD>(result);
  error = {code, SystemErrorText(code)};
  return true;
}

}  // namespace

bool DecodePngPixels(std::span<const std::uint8_t> file, int width, int height,
                     std::uint8_t* firstRow, std::ptrdiff_t rowStep, SystemError& error) {
  const CreateFactory maker = FactoryMaker();
  if (maker == nullptr) {
    error = {ERROR_PROC_NOT_FOUND, SystemErrorText(ERROR_PROC_NOT_FOUND)};
    return false;
  }
  IWICImagingFactory* made = nullptr;
  if (Failed(maker(kSdkVersion, &made), error)) return false;
  const unique_com<IWICImagingFactory> factory(made);

  IWICStream* stream = nullptr;
  if (Failed(factory.get()->CreateStream(&stream), error)) return false;
  const unique_com<IWICStream> memory(stream);
  if (Failed(memory.get()->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                                static_cast<DWORD>(file.size())),
             error)) {
    return false;
  }
  IWICBitmapDecoder* decoder = nullptr;
  if (Failed(factory.get()->CreateDecoder(kContainerPng, nullptr, &decoder), error)) return false;
  const unique_com<IWICBitmapDecoder> png(decoder);
  if (Failed(png.get()->Initialize(memory.get(), WICDecodeMetadataCacheOnDemand), error)) {
    return false;
  }
  IWICBitmapFrameDecode* frame = nullptr;
  if (Failed(png.get()->GetFrame(0, &frame), error)) return false;
  const unique_com<IWICBitmapFrameDecode> first(frame);
  UINT frameWidth = 0;
  UINT frameHeight = 0;
  if (Failed(first.get()->GetSize(&frameWidth, &frameHeight), error)) return false;
  if (frameWidth != static_cast<UINT>(width) || frameHeight != static_cast<UINT>(height)) {
    return Failed(WINCODEC_ERR_BADIMAGE, error);
  }
  IWICFormatConverter* converter = nullptr;
  if (Failed(factory.get()->CreateFormatConverter(&converter), error)) return false;
  const unique_com<IWICFormatConverter> bgra(converter);
  if (Failed(bgra.get()->Initialize(first.get(), kFormat32bppBgra, WICBitmapDitherTypeNone, nullptr,
                                    0.0, WICBitmapPaletteTypeCustom),
             error)) {
    return false;
  }
  // One copy of the whole picture, top row first (row by row, each copy costs a call through the
  // converter: milliseconds for a skin); rows meant to run upwards are turned over in place.
  const UINT stride = static_cast<UINT>(width) * 4;
  const std::size_t rows = static_cast<std::size_t>(height);
  std::uint8_t* lowest = rowStep < 0 ? firstRow + rowStep * (height - 1) : firstRow;
  if (Failed(bgra.get()->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), lowest),
             error)) {
    return false;
  }
  if (rowStep < 0) {
    for (std::size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(lowest + top * stride, lowest + (top + 1) * stride,
                       lowest + bottom * stride);
    }
  }
  return true;
}

Picture DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                  SystemError& error) {
  std::uint32_t* bits = nullptr;
  // Bottom-up, as the program's other pictures.
  unique_hbitmap bitmap = CreateDib32(layout.width, layout.height, false, bits);
  if (!bitmap) {
    error = LastSystemError();
    return Picture();
  }
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(layout.width) * 4;
  auto* lastRow = reinterpret_cast<std::uint8_t*>(bits) + stride * (layout.height - 1);
  if (!DecodePngPixels(file, layout.width, layout.height, lastRow, -stride, error)) {
    return Picture();
  }
  return Picture(
      std::make_shared<Win32Picture>(std::move(bitmap), layout.width, layout.height, true));
}

// The alpha of a picture decoded here is the fourth byte of each pixel of its DIB section.
bool Win32Picture::ReadAlpha(const PixelRect& area, std::uint8_t* out) const {
  DIBSECTION section{};
  if (!alpha_ || GetObjectW(Bitmap(), sizeof(section), &section) != sizeof(section) ||
      section.dsBm.bmBits == nullptr) {
    return false;
  }
  const PixelRect part = Intersect(area, {0, 0, width_, height_});
  const auto* base = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
  const auto stride = static_cast<std::size_t>(section.dsBm.bmWidthBytes);
  const auto outStride = static_cast<std::size_t>(area.Width());
  GdiFlush();
  for (int y = part.top; y < part.bottom; ++y) {
    const std::uint8_t* source = base + static_cast<std::size_t>(height_ - 1 - y) * stride;
    std::uint8_t* target = out + static_cast<std::size_t>(y - area.top) * outStride;
    for (int x = part.left; x < part.right; ++x) {
      target[x - area.left] = source[static_cast<std::size_t>(x) * 4 + 3];
    }
  }
  return true;
}

}  // namespace rt::win32

// The tools' PNG decoder in Windows builds: the menu's own decoder over the imaging component,
// its BGRA turned into RGBA.
#include "PngCheck.h"
#include "PngDecode.h"
#include "Win32Png.h"

namespace pngio {

Decoded DecodeWithSystem(std::span<const std::uint8_t> file) {
  Decoded out;
  // The size is the header's, as the menu takes it from the check.
  const rt::PngCheckResult layout = rt::CheckPngFile(file);
  if (!layout.ok) {
    out.problem = "refused by the check";
    return out;
  }
  out.pixels.resize(static_cast<std::size_t>(layout.width) *
                    static_cast<std::size_t>(layout.height));
  auto* first = reinterpret_cast<std::uint8_t*>(out.pixels.data());
  rt::SystemError error;
  if (!rt::win32::DecodePngPixels(file, layout.width, layout.height, first,
                                  static_cast<std::ptrdiff_t>(layout.width) * 4, error)) {
    out.problem = "the system said " + std::to_string(error.code);
    out.pixels.clear();
    return out;
  }
  for (Rgba& p : out.pixels) std::swap(p.r, p.b);
  out.ok = true;
  out.width = layout.width;
  out.height = layout.height;
  return out;
}

}  // namespace pngio

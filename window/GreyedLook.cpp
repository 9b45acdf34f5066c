// The greyed copy of a button's look.
#include "GreyedLook.h"

namespace menu {

std::vector<std::uint32_t> GreyedPixels(std::span<const std::uint32_t> pixels) {
  std::vector<std::uint32_t> greyed;
  greyed.reserve(pixels.size());
  for (const std::uint32_t pixel : pixels) {
    const std::uint32_t red = pixel & 0xFF;
    const std::uint32_t green = (pixel >> 8) & 0xFF;
    const std::uint32_t blue = (pixel >> 16) & 0xFF;
    // The weights of ITU-R BT.601, in thousandths.
    const std::uint32_t brightness = (299 * red + 587 * green + 114 * blue + 500) / 1000;
    const std::uint32_t grey = 128 + brightness / 2;
    greyed.push_back(grey | (grey << 8) | (grey << 16));
  }
  return greyed;
}

rt::Picture GreyedPicture(rt::Platform& platform, const rt::Picture& picture) {
  if (!picture) return {};
  const int width = picture.Width();
  const int height = picture.Height();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height));
  picture.Data()->ReadPixels({0, 0, width, height}, pixels.data());
  const std::vector<std::uint32_t> greyed = GreyedPixels(pixels);
  return platform.MakePicture(width, height, greyed);
}

}  // namespace menu

// The look of a button that cannot act, made from its normal look where the disc has no picture
// for it: every pixel grey by its brightness, washed towards white, so that the button reads as
// unavailable whatever its colours.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Platform.h"

namespace menu {

// `pixels` (0x00BBGGRR) greyed: each pixel's brightness b (0 to 255, weighted as the eye weighs
// red, green and blue) becomes the grey 128 + b / 2.
std::vector<std::uint32_t> GreyedPixels(std::span<const std::uint32_t> pixels);

// A picture the program makes of `picture`'s pixels, greyed; empty for an empty picture.
rt::Picture GreyedPicture(rt::Platform& platform, const rt::Picture& picture);

}  // namespace menu

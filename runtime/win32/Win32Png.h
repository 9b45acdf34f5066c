// PNG files decoded by the Windows Imaging Component, loaded from the system folder when the
// first PNG file is decoded: nothing of it is imported by the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "Picture.h"
#include "Platform.h"
#include "PngCheck.h"

namespace rt::win32 {

// Decodes `file` into `height` rows of `width` pixels, 4 bytes each (blue, green, red and alpha,
// not premultiplied); the top row at `firstRow`, each next row `rowStep` bytes on, which is the
// size of a row, or its negative for rows that run upwards. False, with
// what the system said, where it cannot, or where the picture it reads is not of that size.
bool DecodePngPixels(std::span<const std::uint8_t> file, int width, int height,
                     std::uint8_t* firstRow, std::ptrdiff_t rowStep, SystemError& error);

// A 32-bit picture with alpha of a file the chunk check accepted as `layout`; empty, with
// `error`, where the system cannot decode it.
Picture DecodePng(std::span<const std::uint8_t> file, const PngCheckResult& layout,
                  SystemError& error);

}  // namespace rt::win32

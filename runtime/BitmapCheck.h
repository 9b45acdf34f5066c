// Reads the headers of a Windows bitmap file and refuses anything the system decoder might
// mishandle, before the decoder sees it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rt {

// What the header check found: whether the file may go to a decoder, and where its parts lie.
struct BitmapCheckResult {
  bool ok = false;
  std::wstring reason;  // why the file was refused, in plain words
  int width = 0;
  int height = 0;  // negative for a top-down file
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 0;  // of the info header: 12 for the OS/2 core header, 40 and up
  std::size_t infoEnd = 0;       // where header, colour masks and palette end in the file
  std::size_t pixelOffset = 0;   // where the pixels start
  std::size_t pixelBytes = 0;    // their length when uncompressed
};

// Pictures whose decoded form would need more than this many pixels are refused.
inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;

BitmapCheckResult CheckBitmapFile(std::span<const std::uint8_t> file);

// A text of plain ASCII, kept in the program one byte a character, widened where it is used: the
// checks' many reasons take half the room.
std::wstring AsciiText(const char* text);

}  // namespace rt

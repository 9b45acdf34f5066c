// Reads the chunks of a PNG file and refuses anything outside the format, or larger than the menu
// takes, before a decoder sees it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rt {

// What the chunk check found: whether the file may go to a decoder, and what it holds.
struct PngCheckResult {
  bool ok = false;
  std::wstring reason;  // why the file was refused, in plain words
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = 0;
  bool interlaced = false;
  int paletteEntries = 0;
  std::size_t paletteAt = 0;  // where the PLTE chunk begins in the file
  // The bytes the compressed pixel data must inflate to: every row of every pass with its filter
  // byte. A decoder never needs to inflate more.
  std::uint64_t rawBytes = 0;
  std::uint64_t compressedBytes = 0;  // the data of all IDAT chunks
};

PngCheckResult CheckPngFile(std::span<const std::uint8_t> file);

// A palette picture whose palette has fewer colours than its bit depth can index, as a copy with
// the palette filled up with opaque black: an index past the file's palette then draws opaque
// black whatever decoder reads it, where decoders otherwise differ. Empty where the file needs no
// filling (a full palette, or another colour type). `layout` is what the check found in `file`.
std::vector<std::uint8_t> PngWithFullPalette(std::span<const std::uint8_t> file,
                                             const PngCheckResult& layout);

// The bytes the rows of a picture take before compression, filter bytes included: the rows of
// the seven passes when interlaced.
std::uint64_t PngRawBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                          bool interlaced);

}  // namespace rt

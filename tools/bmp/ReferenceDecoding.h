// The parts the reference decoder's two halves share (uncompressed rows, and RLE streams): reads
// and writes that stop at the first step outside the file or the picture, and the header as the
// decoder takes it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "BitmapFormat.h"
#include "ReferenceDecoder.h"

namespace bmpio::reference {

// Thrown at the first access outside the file or the picture.
struct Outside {
  std::string problem;
};

// The file's bytes and little-endian fields, each read checked against the file's end.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> file) : file_(file) {}

  std::uint8_t U8(std::uint64_t at) const {
    Need(at, 1);
    return file_[static_cast<std::size_t>(at)];
  }
  std::uint32_t U16(std::uint64_t at) const {
    Need(at, 2);
    return rt::bmp::ReadU16(file_, static_cast<std::size_t>(at));
  }
  std::uint32_t U32(std::uint64_t at) const {
    Need(at, 4);
    return rt::bmp::ReadU32(file_, static_cast<std::size_t>(at));
  }

 private:
  // Names the first byte of [at, at + length) that lies past the end.
  void Need(std::uint64_t at, std::uint64_t length) const {
    if (at < file_.size() && length <= file_.size() - at) return;
    const std::uint64_t outside = at < file_.size() ? file_.size() : at;
    throw Outside{"reads byte " + std::to_string(outside) + " of a file of " +
                  std::to_string(file_.size()) + " bytes"};
  }

  std::span<const std::uint8_t> file_;
};

// The picture being written: positions are checked, colours kept only when asked for.
class Canvas {
 public:
  Canvas(std::uint64_t width, std::uint64_t height, bool keep)
      : width_(width), height_(height), keep_(keep) {
    if (keep_) pixels_.resize(static_cast<std::size_t>(width * height));
  }

  // `row` counts from the top.
  void Set(std::uint64_t x, std::uint64_t row, Rgb colour) {
    if (x >= width_ || row >= height_) {
      throw Outside{"writes pixel " + std::to_string(x) + "," + std::to_string(row) +
                    " of a picture of " + std::to_string(width_) + " x " + std::to_string(height_)};
    }
    if (keep_) pixels_[static_cast<std::size_t>(row * width_ + x)] = colour;
  }

  std::vector<Rgb> Take() { return std::move(pixels_); }

 private:
  std::uint64_t width_;
  std::uint64_t height_;
  bool keep_;
  std::vector<Rgb> pixels_;
};

struct Header {
  bool core = false;
  std::uint32_t size = 0;
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  bool topDown = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = rt::bmp::kBiRgb;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t masks[3] = {0, 0, 0};
};

// A palette index the palette does not hold shows black.
inline Rgb Lookup(const std::vector<Rgb>& palette, std::uint32_t index) {
  return index < palette.size() ? palette[index] : Rgb{};
}

// The RLE stream at `offset`, into `canvas`, then walked once more as Wine 8 reads it.
void DecodeRle(const Reader& in, const Header& h, std::uint64_t offset,
               const std::vector<Rgb>& palette, Canvas& canvas);
void WalkRleAsWine(const Reader& in, const Header& h, std::uint64_t offset);

}  // namespace bmpio::reference

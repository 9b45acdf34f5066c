// What the corpus's case files share: the pattern as palette indices, its palettes, the pixels of
// every encoding the cases use, the layouts most cases start from, and the list the cases of one
// kind are added to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BmpWriter.h"
#include "PngWriter.h"
#include "corpus.h"

namespace corpus {

using bmpio::Append;
using bmpio::Bitmap;

// The pattern as indices, top row first: 0 for a black corner pixel, 1 for the first colour, 2
// for the second.
struct Indexed {
  int width = 0;
  int height = 0;
  std::vector<int> index;
  int At(int x, int y) const {
    return index[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
  }
};

int PatternIndex(Kind kind, bool blackCorners, int x, int y);
// Drawn once for each kind and corner style.
const Indexed& Pattern(Kind kind, bool blackCorners);
Rgb ColourOf(Kind kind, int index);

// Where each pattern index sits in a palette, and the palette itself.
struct Palette {
  std::array<std::uint8_t, 3> slot{};
  std::vector<Rgb> entries;
};

// The pattern's colours at scattered slots among a filler colour, so that a decoder taking the
// wrong slot shows the filler.
Palette Palette256(Kind kind);
Palette Palette16(Kind kind);
// The two colours only, for 1-bit files: no black corners then.
Palette TwoColours(Kind kind);

enum class Direct { k555, k565, k24, k32 };

// Rows of palette indices, bottom row first, the leftmost pixel in the most significant bits.
Bytes PackIndexed(const Indexed& image, int bits, const Palette& palette);
// Rows of direct colours, bottom row first unless `topDown`.
Bytes PackDirect(Kind kind, const Indexed& image, Direct format, bool topDown);

// The pattern (with black corners) as an RLE8 (`bits` 8) or RLE4 (`bits` 4) stream of one fixed
// shape, unlike the general encoder's, so that every row holds both kinds of run: RLE8 rows start
// with an absolute run of three pixels (and its pad byte), RLE4 rows with one of five (three bytes
// and a pad); encoded runs of at most 255 follow, and each row ends with an end of line, the last
// with the end-of-bitmap marker instead.
Bytes PatternRle(Kind kind, int bits);

// The picture's size at 24 bits with no pixels yet.
Bitmap Basic(Kind kind);
// The pattern at 24 bits, the base of most damaged files.
Bitmap Plain24(Kind kind);
Bitmap Paletted(Kind kind, std::uint16_t bits, const Palette& palette, bool blackCorners);
// An RLE8 or RLE4 file around `stream`, with the palette PatternRle's indices refer to and the
// stream's length as its image size.
Bitmap RleFile(Kind kind, std::uint16_t bits, Bytes stream);

inline std::uint32_t Size32(std::size_t size) { return static_cast<std::uint32_t>(size); }
inline Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }
// The big-endian fields of the PNG and ICC data some cases hold.
inline void PutBig32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
  }
}

// The cases of one kind, named "<kind>-<name>", in the order they are added.
class CaseList {
 public:
  CaseList(Kind kind, std::vector<Case>& out, Format format = Format::kBitmap)
      : kind_(kind), format_(format), out_(&out) {}

  Kind kind() const { return kind_; }
  PictureSize size() const { return SizeOf(kind_); }

  // A file the check refuses with an invalid-picture error whose reason holds `reason`.
  void Refused(std::string name, std::string description, Bytes bytes, std::string reason);
  // No file, or a folder in its place.
  void Absent(std::string name, Source source, std::string description, int error,
              std::string reason);
  // A file that shows the pattern, with or without its black corners.
  void Valid(std::string name, std::string description, Bytes bytes, bool blackCorners = true);
  // A PNG file the check lets through and the decoder refuses.
  void Undecodable(std::string name, std::string description, Bytes bytes);
  // A PNG file that decoders may show or refuse: shown, it is `shows` (where a palette is short,
  // its missing entries opaque black, as the menu fills them); refused, it is reported as an
  // undecodable file is.
  void Tolerated(std::string name, std::string description, Bytes bytes, pngio::Image shows);
  // A PNG file of `image`, sampled at the same points as the bitmaps; its holes are the pixels
  // of alpha 0.
  void ValidPng(std::string name, std::string description, const pngio::Image& image);

 private:
  Case Named(std::string name, Expect expect, std::string description) const;

  Kind kind_;
  Format format_;
  std::vector<Case>* out_;
};

void AddRefusedCases(CaseList& list);
void AddValidCases(CaseList& list);
void AddPngCases(CaseList& list);

}  // namespace corpus

// The corpus's refused files: files that are not bitmaps, are cut short, or whose headers lie
// about sizes, offsets, palettes or compressed streams, one rule broken in each.
#include <climits>
#include <cstddef>

#include "RunTimeError.h"
#include "pattern.h"

namespace corpus {

namespace {

using namespace rt::bmp;

// The PNG signature and a header chunk, as a PNG file named .bmp would begin.
Bytes PngStart(Kind kind) {
  const PictureSize size = SizeOf(kind);
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBig32(png, 13);
  Append(png, Text("IHDR"));
  PutBig32(png, static_cast<std::uint32_t>(size.width));
  PutBig32(png, static_cast<std::uint32_t>(size.height));
  png.insert(png.end(), {8, 2, 0, 0, 0});
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 12; i < png.size(); ++i) {
    crc ^= png[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  PutBig32(png, ~crc);
  PutBig32(png, 0);
  Append(png, Text("IEND"));
  PutBig32(png, 0xAE426082u);
  return png;
}

}  // namespace

void AddRefusedCases(CaseList& list) {
  const Kind kind = list.kind();
  const PictureSize size = list.size();
  // Files that are not there or not bitmaps at all.
  list.Absent("missing", Source::kMissing, "missing: no file at all", rt::kErrFileNotFound,
              "File not found");
  list.Absent("folder", Source::kFolder, "folder: a folder with the file's name",
              rt::kErrPathFileAccess, "Path/File access error");
  list.Refused("empty", "an empty file", {}, "the file is empty");
  list.Refused("png", "a PNG file named .bmp", PngStart(kind), "not a Windows bitmap");
  list.Refused("text", "a plain text file",
               Text("This is a plain text file, not a picture.\r\nIts name just ends in .bmp.\r\n"),
               "not a Windows bitmap");

  // Files cut short.
  const Bytes plain = Plain24(kind).Write();
  list.Refused("truncated-header", "the first 30 bytes of a 24-bit picture",
               Bytes(plain.begin(), plain.begin() + 30), "header is truncated");
  list.Refused("truncated-pixels", "a 24-bit picture with half of its pixel rows",
               Bytes(plain.begin(),
                     plain.begin() + static_cast<std::ptrdiff_t>(54 + (plain.size() - 54) / 2)),
               "pixel data is shorter than the header says");

  // Sizes without pixels, or too many.
  {
    Bitmap layout = Plain24(kind);
    layout.width = 0;
    list.Refused("zero-width", "width 0, with the pixels of the full picture", layout.Write(),
                 "has no width");
    layout.width = -size.width;
    list.Refused("negative-width", "a negative width, with the pixels of the full picture",
                 layout.Write(), "has no width");
  }
  {
    Bitmap layout = Plain24(kind);
    layout.height = 0;
    list.Refused("zero-height", "height 0, with the pixels of the full picture", layout.Write(),
                 "has no height");
    layout.height = INT32_MIN;
    list.Refused("height-min", "height -2147483648, with the pixels of the full picture",
                 layout.Write(), "height is out of range");
  }
  {
    Bitmap layout = Basic(kind);
    layout.width = 100000;
    layout.height = 100000;
    list.Refused("huge", "100000 x 100000 at 24 bits with no pixel data", layout.Write(),
                 "too large (100000 x 100000 pixels)");
    layout.width = 40000;
    layout.height = 10;
    list.Refused("wide", "40000 x 10 at 24 bits with no pixel data", layout.Write(),
                 "pixel data is shorter than the header says");
  }
  {
    // 65536 x 65537 x 4 bytes is 2^34 + 2^18: in 32 bits, exactly the 262144 bytes given.
    Bitmap layout = Basic(kind);
    layout.width = 65536;
    layout.height = 65537;
    layout.bits = 32;
    layout.pixels.assign(262144, 0x40);
    list.Refused("overflow-size", "65536 x 65537 at 32 bits, whose size wraps to the bytes given",
                 layout.Write(), "too large (65536 x 65537 pixels)");
    // A row of 0x40000001 pixels is 4 bytes long in 32-bit arithmetic.
    layout.width = 0x40000001;
    layout.height = 1;
    layout.pixels.assign(4, 0x40);
    list.Refused("overflow-row", "one row of 1073741825 pixels at 32 bits, whose length wraps to 4",
                 layout.Write(), "too large");
  }

  // Header fields that lie.
  {
    Bitmap layout = Plain24(kind);
    layout.pixelOffset = Size32(plain.size() + 4096);
    list.Refused("offset-past-end", "a pixel offset 4096 bytes past the end of the file",
                 layout.Write(), "pixel offset lies past the end of the file");
  }
  {
    Bitmap layout = Plain24(kind);
    layout.bits = 7;
    list.Refused("bits-7", "7 bits per pixel", layout.Write(), "bits per pixel 7");
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.coloursUsed = 257;
    layout.palette.push_back(Rgb{1, 2, 3});
    list.Refused("palette-257", "8 bits per pixel with a palette of 257 colours, all written",
                 layout.Write(), "palette claims 257 colours");
    layout.coloursUsed = 100000;
    layout.palette.pop_back();
    list.Refused("palette-100000", "8 bits per pixel claiming a palette of 100000 colours",
                 layout.Write(), "palette claims 100000 colours");
  }
  {
    // The picture's rows, then as many again: the stream goes on past the top row.
    Bytes stream = PatternRle(kind, 8);
    stream.resize(stream.size() - 2);
    stream.insert(stream.end(), {0, 0});
    Bytes rows = stream;
    Append(stream, rows);
    stream.insert(stream.end(), {0, 1});
    list.Refused("rle8-past-top", "RLE8 whose rows go on past the top of the picture",
                 RleFile(kind, 8, stream).Write(), "RLE data runs past the picture");
  }
  {
    // The first row's last run one pixel longer.
    Bytes stream = PatternRle(kind, 4);
    std::size_t lastRun = 0;
    std::size_t at = 6;  // after the absolute run
    while (stream[at] != 0) {
      lastRun = at;
      at += 2;
    }
    stream[lastRun] = static_cast<std::uint8_t>(stream[lastRun] + 1);
    list.Refused("rle4-past-row", "RLE4 with a run one pixel past the end of a row",
                 RleFile(kind, 4, stream).Write(), "RLE data runs past the picture");
  }
  {
    Bytes stream = PatternRle(kind, 8);
    stream.resize(stream.size() - 2);  // the end-of-bitmap marker
    list.Refused("rle8-no-end", "RLE8 without its end-of-bitmap marker",
                 RleFile(kind, 8, stream).Write(), "no end-of-bitmap marker");
  }
  {
    Bitmap layout = Paletted(kind, 8, Palette256(kind), true);
    layout.compression = kBiRle8;
    if (kind == Kind::kSkin) {
      // A well-formed stream: one absolute run of 255 pixels, then the end-of-bitmap marker. Read
      // as commands, as Wine 8 reads the pixels of such a run, the last of them takes the marker
      // for pixels, and the decoder reads on to the header's image size. The file ends on a page
      // boundary, so that reading past it faults.
      const std::uint8_t index = Palette256(kind).slot[1];
      Bytes stream = {0, 255};
      for (int i = 0; i < 126; ++i) stream.insert(stream.end(), {1, index});
      stream.insert(stream.end(), {0, 3, index, 0, 0, 1});
      const std::uint32_t offset =
          Size32(kFileHeaderSize + kInfoHeaderSize + 4 * layout.palette.size());
      const std::uint32_t start = 4096 - Size32(stream.size());
      layout.pixels.assign(start - offset, 0);
      Append(layout.pixels, stream);
      layout.pixelOffset = start;
      layout.imageSize = Size32(stream.size()) + 100000;
      list.Refused("rle8-size-past-end",
                   "RLE8 with a 255-pixel absolute run, its image size 100000 bytes past the end",
                   layout.Write(), "RLE data is shorter than the header says");
    } else {
      layout = RleFile(kind, 8, PatternRle(kind, 8));
      layout.imageSize += 100000;
      list.Refused("rle8-size-past-end", "RLE8 whose image size lies 100000 bytes past the end",
                   layout.Write(), "RLE data is shorter than the header says");
    }
  }
  {
    Bitmap layout = Basic(kind);
    layout.headerSize = kV5HeaderSize;
    layout.bits = 32;
    layout.compression = kBiBitfields;
    layout.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    layout.colourSpace = kProfileEmbedded;
    layout.profileOffset = 0x7FFFFF00u;
    layout.profileSize = 4096;
    list.Refused("v5-profile-outside",
                 "a V5 header whose embedded colour profile lies past the end", layout.Write(),
                 "colour profile lies outside the file");
  }
}

}  // namespace corpus

// The PNG chunk check: every chunk's length against the file and its CRC, the header's fields,
// the order of the palette, pixel data and end chunks, and the size the pixels inflate to, with
// arithmetic that cannot overflow. Nothing is inflated here.
#include "PngCheck.h"

#include <algorithm>
#include <string>

#include "BitmapCheck.h"
#include "Decimal.h"
#include "PngFormat.h"

namespace rt {

namespace png {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (const std::uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

}  // namespace png

namespace {

using namespace png;

// Deflate writes at most 258 bytes for two bits: no stream inflates to more than this many times
// its own length.
constexpr std::uint64_t kMaxInflateRatio = 1032;

PngCheckResult Refuse(std::wstring reason) {
  PngCheckResult result;
  result.reason = std::move(reason);
  return result;
}

PngCheckResult Refuse(const char* reason) { return Refuse(AsciiText(reason)); }

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::uint32_t TypeOf(const char (&name)[5]) {
  return (static_cast<std::uint32_t>(name[0]) << 24) | (static_cast<std::uint32_t>(name[1]) << 16) |
         (static_cast<std::uint32_t>(name[2]) << 8) | static_cast<std::uint32_t>(name[3]);
}

const std::uint32_t kIhdr = TypeOf("IHDR");
const std::uint32_t kPlte = TypeOf("PLTE");
const std::uint32_t kIdat = TypeOf("IDAT");
const std::uint32_t kIend = TypeOf("IEND");
const std::uint32_t kTrns = TypeOf("tRNS");

// A reason with numbers in it, its words and numbers in turn; one function for all of them keeps
// the program small.
std::wstring Said(const char* first, std::uint64_t n, const char* second = "", std::uint64_t m = 0,
                  const char* third = nullptr) {
  std::wstring text = AsciiText(first) + DecimalText(n) + AsciiText(second);
  if (third != nullptr) text += DecimalText(m) + AsciiText(third);
  return text;
}

// A reason about a chunk, named by its type: "the IDAT chunk's CRC is wrong".
std::wstring AboutChunk(std::uint32_t type, const char* what) {
  std::wstring text = L"the ";
  for (int shift = 24; shift >= 0; shift -= 8) {
    text += static_cast<wchar_t>((type >> shift) & 0xFFu);
  }
  return text + AsciiText(what);
}

// The header's fields; a reason where one of them is outside the format or the menu's limits.
std::wstring CheckHeader(std::span<const std::uint8_t> data, PngCheckResult& out) {
  const std::uint32_t width = ReadBig32(data, 0);
  const std::uint32_t height = ReadBig32(data, 4);
  const std::uint8_t depth = data[8];
  const std::uint8_t colour = data[9];
  if (width == 0 || width > kMaxSide) {
    return Said("the picture's width ", width, " is outside 1 to 32767");
  }
  if (height == 0 || height > kMaxSide) {
    return Said("the picture's height ", height, " is outside 1 to 32767");
  }
  if (Channels(colour) == 0) return Said("unknown colour type ", colour);
  if (!DepthAllowed(colour, depth)) {
    return Said("colour type ", colour, " does not allow bit depth ", depth, "");
  }
  if (data[10] != 0) return Said("unknown compression method ", data[10]);
  if (data[11] != 0) return Said("unknown filter method ", data[11]);
  if (data[12] > 1) return Said("unknown interlace method ", data[12]);
  if (std::uint64_t{width} * height > kMaxPicturePixels) {
    return Said("the picture is too large (", width, " x ", height, " pixels)");
  }
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.bitDepth = depth;
  out.colourType = colour;
  out.interlaced = data[12] == 1;
  out.rawBytes = PngRawBytes(width, height, depth, colour, out.interlaced);
  return {};
}

// The transparency chunk's length for the colour type: one grey or RGB sample, or at most one
// alpha for each palette entry.
std::wstring CheckTransparency(std::uint32_t length, const PngCheckResult& out) {
  switch (out.colourType) {
    case kGrey:
      return length == 2 ? std::wstring()
                         : AsciiText("the tRNS chunk's length is wrong for a grey picture");
    case kRgb:
      return length == 6 ? std::wstring()
                         : AsciiText("the tRNS chunk's length is wrong for an RGB picture");
    case kPalette:
      if (out.paletteEntries == 0) return AsciiText("the tRNS chunk comes before the palette");
      return length <= static_cast<std::uint32_t>(out.paletteEntries)
                 ? std::wstring()
                 : AsciiText("the tRNS chunk has more entries than the palette");
    default:
      return Said("colour type ", static_cast<std::uint64_t>(out.colourType),
                  " cannot have a tRNS chunk: its pixels hold their alpha");
  }
}

}  // namespace

std::uint64_t PngRawBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                          bool interlaced) {
  const std::uint64_t bitsPerPixel =
      static_cast<std::uint64_t>(bitDepth) *
      static_cast<std::uint64_t>(Channels(static_cast<std::uint8_t>(colourType)));
  auto rows = [&](std::uint64_t columns, std::uint64_t count) {
    return columns == 0 ? 0 : count * (1 + (columns * bitsPerPixel + 7) / 8);
  };
  if (!interlaced) return rows(width, height);
  std::uint64_t total = 0;
  for (const Pass& pass : kAdam7) {
    total += rows(PassSide(width, pass.x, pass.dx), PassSide(height, pass.y, pass.dy));
  }
  return total;
}

PngCheckResult CheckPngFile(std::span<const std::uint8_t> file) {
  if (file.empty()) return Refuse("the file is empty");
  if (file.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
    return Refuse("the file is not a PNG picture");
  }
  PngCheckResult result;
  bool seenHeader = false;
  bool seenPalette = false;
  bool seenTransparency = false;
  bool inPixels = false;    // the last chunk was an IDAT
  bool pixelsDone = false;  // IDAT chunks were seen and another chunk followed them
  std::size_t at = kSignature.size();
  while (true) {
    if (at == file.size()) return Refuse("the file ends without its IEND chunk");
    if (file.size() - at < kChunkOverhead) return Refuse("the file ends inside a chunk");
    const std::uint32_t length = ReadBig32(file, at);
    const std::uint32_t type = ReadBig32(file, at + 4);
    for (int i = 0; i < 4; ++i) {
      if (!IsLetter(file[at + 4 + static_cast<std::size_t>(i)])) {
        return Refuse("a chunk's type is not four letters");
      }
    }
    if (length > kMaxChunkLength)
      return Refuse(AboutChunk(type, " chunk's length is out of range"));
    if (length > file.size() - at - kChunkOverhead) {
      return Refuse(AboutChunk(type, " chunk runs past the end of the file"));
    }
    const std::span<const std::uint8_t> data = file.subspan(at + 8, length);
    if (Crc32(file.subspan(at + 4, length + 4)) != ReadBig32(file, at + 8 + length)) {
      return Refuse(AboutChunk(type, " chunk's CRC is wrong"));
    }
    at += kChunkOverhead + length;

    if (!seenHeader && type != kIhdr) return Refuse("the file does not begin with an IHDR chunk");
    if (type == kIhdr) {
      if (seenHeader) return Refuse("the file has a second IHDR chunk");
      if (length != kHeaderLength) return Refuse("the IHDR chunk's length is wrong");
      const std::wstring reason = CheckHeader(data, result);
      if (!reason.empty()) return Refuse(reason);
      seenHeader = true;
      continue;
    }
    if (inPixels && type != kIdat) {
      inPixels = false;
      pixelsDone = true;
    }
    if (type == kIdat) {
      if (pixelsDone) return Refuse("the IDAT chunks are not all together");
      if (result.colourType == kPalette && !seenPalette) {
        return Refuse("colour type 3 needs a PLTE chunk before its pixel data");
      }
      inPixels = true;
      result.compressedBytes += length;
    } else if (type == kPlte) {
      if (seenPalette) return Refuse("the file has a second PLTE chunk");
      if (pixelsDone) return Refuse("the PLTE chunk comes after the pixel data");
      if (result.colourType == kGrey || result.colourType == kGreyAlpha) {
        return Refuse(Said("colour type ", static_cast<std::uint64_t>(result.colourType),
                           " cannot have a PLTE chunk"));
      }
      if (length == 0 || length % 3 != 0 || length > 3 * 256) {
        return Refuse(Said("the PLTE chunk's length ", length, " is not 3 to 768 bytes in threes"));
      }
      const std::uint32_t entries = length / 3;
      if (result.colourType == kPalette && entries > (1u << result.bitDepth)) {
        return Refuse(Said("the palette has ", entries, " colours, more than bit depth ",
                           static_cast<std::uint64_t>(result.bitDepth), " can index"));
      }
      seenPalette = true;
      result.paletteEntries = static_cast<int>(entries);
      result.paletteAt = at - kChunkOverhead - length;
    } else if (type == kTrns) {
      if (seenTransparency) return Refuse("the file has a second tRNS chunk");
      if (pixelsDone) return Refuse("the tRNS chunk comes after the pixel data");
      const std::wstring reason = CheckTransparency(length, result);
      if (!reason.empty()) return Refuse(reason);
      seenTransparency = true;
    } else if (type == kIend) {
      if (length != 0) return Refuse("the IEND chunk is not empty");
      if (at != file.size()) return Refuse("bytes follow the IEND chunk");
      break;
    } else if ((type & 0x20000000u) == 0) {  // a lower-case first letter: safe to ignore
      return Refuse(AboutChunk(type, " chunk is critical and unknown"));
    }
  }
  if (result.compressedBytes == 0) return Refuse("the file has no pixel data");
  if (result.rawBytes / kMaxInflateRatio > result.compressedBytes) {
    return Refuse("the compressed pixel data is too short for the picture's size");
  }
  result.ok = true;
  return result;
}

std::vector<std::uint8_t> PngWithFullPalette(std::span<const std::uint8_t> file,
                                             const PngCheckResult& layout) {
  if (!layout.ok || layout.colourType != kPalette) return {};
  const std::size_t entries = std::size_t{1} << layout.bitDepth;
  const auto have = static_cast<std::size_t>(layout.paletteEntries);
  if (have >= entries) return {};
  const std::size_t end = layout.paletteAt + kChunkOverhead + 3 * have;
  std::vector<std::uint8_t> out(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end) - 4);
  out.resize(out.size() + 3 * (entries - have));  // black, after the file's own colours
  const auto length = static_cast<std::uint32_t>(3 * entries);
  const std::size_t lengthAt = layout.paletteAt;
  auto putBig32 = [&out](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
  };
  putBig32(lengthAt, length);
  out.resize(out.size() + 4);
  putBig32(out.size() - 4,
           Crc32(std::span<const std::uint8_t>(out).subspan(lengthAt + 4, length + 4)));
  out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(end), file.end());
  return out;
}

}  // namespace rt

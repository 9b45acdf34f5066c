// The bitmap header check: sizes, offsets, palette counts, compression and bit depths against the
// file's real length, with arithmetic that cannot overflow, and RLE streams walked to the end.
#include "BitmapCheck.h"

#include "BitmapFormat.h"
#include "Decimal.h"

namespace rt {

std::wstring AsciiText(const char* text) {
  std::wstring wide;
  while (*text != '\0') wide += static_cast<wchar_t>(*text++);
  return wide;
}

namespace {

using namespace bmp;

BitmapCheckResult Refuse(std::wstring reason) {
  BitmapCheckResult result;
  result.reason = std::move(reason);
  return result;
}

BitmapCheckResult Refuse(const char* reason) { return Refuse(AsciiText(reason)); }

// Walks an RLE8 or RLE4 stream; every pixel it writes must lie inside the picture, and the
// stream must end with its end-of-bitmap marker so that no decoder reads past it.
bool RleStaysInside(std::span<const std::uint8_t> data, std::uint64_t width, std::uint64_t height,
                    bool rle4, std::wstring& reason) {
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  std::size_t at = 0;
  auto outside = [&](std::uint64_t count) { return y >= height || count > width - x; };
  auto truncated = [&] {
    reason = AsciiText("the RLE data ends in the middle of a command");
    return false;
  };
  while (at < data.size()) {
    if (data.size() - at < 2) return truncated();
    const std::uint8_t count = data[at];
    const std::uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      if (outside(count)) {
        reason = AsciiText("the RLE data runs past the picture");
        return false;
      }
      x += count;
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // delta
      if (data.size() - at < 2) return truncated();
      x += data[at];
      y += data[at + 1];
      at += 2;
      if (x > width || y > height) {
        reason = AsciiText("the RLE data moves past the picture");
        return false;
      }
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const std::size_t bytes = rle4 ? (value + 1u) / 2u : value;
      const std::size_t padded = (bytes + 1u) & ~std::size_t{1};
      if (data.size() - at < padded) return truncated();
      if (outside(value)) {
        reason = AsciiText("the RLE data runs past the picture");
        return false;
      }
      x += value;
      at += padded;
    }
  }
  reason = AsciiText("the RLE data has no end-of-bitmap marker");
  return false;
}

}  // namespace

BitmapCheckResult CheckBitmapFile(std::span<const std::uint8_t> file) {
  const std::uint64_t fileSize = file.size();
  if (fileSize == 0) return Refuse("the file is empty");
  if (fileSize < 2 || file[0] != 'B' || file[1] != 'M') {
    return Refuse("the file is not a Windows bitmap");
  }
  if (fileSize < kFileHeaderSize + 4) return Refuse("the file header is truncated");
  const std::uint32_t pixelOffset = ReadU32(file, 10);
  const std::uint32_t headerSize = ReadU32(file, kFileHeaderSize);

  const bool core = headerSize == kCoreHeaderSize;
  if (!core && headerSize != kInfoHeaderSize && headerSize != kV2HeaderSize &&
      headerSize != kV3HeaderSize && headerSize != kV4HeaderSize && headerSize != kV5HeaderSize) {
    return Refuse(rt::AsciiText("unsupported bitmap header size ") + rt::DecimalText(headerSize));
  }
  if (kFileHeaderSize + headerSize > fileSize) return Refuse("the bitmap header is truncated");

  const std::size_t h = kFileHeaderSize;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t imageSize = 0;
  std::uint64_t colours = 0;
  if (core) {
    width = ReadU16(file, h + 4);
    height = ReadU16(file, h + 6);
    planes = ReadU16(file, h + 8);
    bits = ReadU16(file, h + 10);
  } else {
    width = static_cast<std::int32_t>(ReadU32(file, h + 4));
    height = static_cast<std::int32_t>(ReadU32(file, h + 8));
    planes = ReadU16(file, h + 12);
    bits = ReadU16(file, h + 14);
    compression = ReadU32(file, h + 16);
    imageSize = ReadU32(file, h + 20);
    colours = ReadU32(file, h + 32);
  }

  if (planes != 1)
    return Refuse(rt::AsciiText("unsupported number of planes ") + rt::DecimalText(planes));
  const bool bitsKnown =
      core ? (bits == 1 || bits == 4 || bits == 8 || bits == 24)
           : (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
  if (!bitsKnown)
    return Refuse(rt::AsciiText("unsupported bits per pixel ") + rt::DecimalText(bits));

  switch (compression) {
    case kBiRgb:
      break;
    case kBiRle8:
      if (bits != 8) return Refuse("RLE8 compression needs 8 bits per pixel");
      break;
    case kBiRle4:
      if (bits != 4) return Refuse("RLE4 compression needs 4 bits per pixel");
      break;
    case kBiBitfields:
      if (bits != 16 && bits != 32) return Refuse("bit fields need 16 or 32 bits per pixel");
      break;
    default:
      return Refuse(rt::AsciiText("unsupported compression ") + rt::DecimalText(compression));
  }

  if (width <= 0) return Refuse("the picture has no width");
  if (height == 0) return Refuse("the picture has no height");
  if (height == INT32_MIN) return Refuse("the picture's height is out of range");
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  const std::uint64_t columns = static_cast<std::uint64_t>(width);
  if (height < 0 && (compression == kBiRle8 || compression == kBiRle4)) {
    return Refuse("a compressed picture cannot be stored top-down");
  }
  if (columns > kMaxPicturePixels || rows > kMaxPicturePixels ||
      columns * rows > kMaxPicturePixels) {
    return Refuse(rt::AsciiText("the picture is too large (") + rt::DecimalText(columns) + L" x " +
                  rt::DecimalText(rows) + L" pixels)");
  }

  // Palette and colour masks lie between the header and the pixels.
  const std::uint64_t maxColours = bits <= 8 ? (1ull << bits) : 256;
  if (colours > maxColours) {
    return Refuse(L"the palette claims " + rt::DecimalText(colours) + L" colours, more than " +
                  rt::DecimalText(maxColours));
  }
  if (colours == 0 && bits <= 8) colours = maxColours;
  const std::uint64_t masks =
      (!core && headerSize == kInfoHeaderSize && compression == kBiBitfields) ? 12 : 0;
  const std::uint64_t paletteEnd =
      kFileHeaderSize + headerSize + masks + colours * (core ? 3u : 4u);
  if (paletteEnd > fileSize) return Refuse("the palette is truncated");
  if (pixelOffset > fileSize) return Refuse("the pixel offset lies past the end of the file");
  if (pixelOffset < kFileHeaderSize + headerSize + masks) {
    return Refuse("the pixel offset lies inside the header");
  }

  BitmapCheckResult result;
  result.headerSize = headerSize;
  result.infoEnd = static_cast<std::size_t>(paletteEnd);
  result.pixelOffset = pixelOffset;
  const std::uint64_t available = fileSize - pixelOffset;
  if (compression == kBiRle8 || compression == kBiRle4) {
    // A decoder may read the stream as far as the header's image size, past the end-of-bitmap
    // marker (Wine 8 reads the pixels of a 255-pixel RLE8 absolute run again as commands), so
    // that size must lie inside the file.
    if (imageSize > available) return Refuse("the RLE data is shorter than the header says");
    const std::uint64_t length = imageSize != 0 ? imageSize : available;
    std::wstring reason;
    if (!RleStaysInside(file.subspan(pixelOffset, static_cast<std::size_t>(length)), columns, rows,
                        compression == kBiRle4, reason)) {
      return Refuse(reason);
    }
  } else {
    const std::uint64_t stride = RowStride(columns, bits);
    if (stride * rows > available) return Refuse("the pixel data is shorter than the header says");
    result.pixelBytes = static_cast<std::size_t>(stride * rows);
  }

  // A V5 header may point at a colour profile (embedded, or the name of one); a decoder that
  // manages colours reads it from there, so it must lie inside the file.
  if (headerSize == kV5HeaderSize) {
    const std::uint32_t space = ReadU32(file, h + kColourSpaceOffset);
    if (space == kProfileEmbedded || space == kProfileLinked) {
      const std::uint64_t start =
          kFileHeaderSize + std::uint64_t{ReadU32(file, h + kProfileDataOffset)};
      if (start + ReadU32(file, h + kProfileSizeOffset) > fileSize) {
        return Refuse("the colour profile lies outside the file");
      }
    }
  }

  result.ok = true;
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  result.bitsPerPixel = static_cast<int>(bits);
  result.compression = compression;
  return result;
}

}  // namespace rt

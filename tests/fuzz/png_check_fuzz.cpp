// libFuzzer target of the PNG chunk check and the decoder behind it. Every refusal must give a
// reason; every file the check accepts goes to libspng, as the menu hands it to the system's
// decoder, which may refuse compressed data the check does not inflate but must not crash, and
// which, where it decodes, must give the picture the check measured. Each input is tried as it
// is and with the CRC of every chunk made right, so that mutated chunks reach the later rules
// and the decoder instead of stopping at their CRC. A short palette is filled up as the menu
// fills it, and the filled file must pass the check again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "PngCheck.h"
#include "PngDecode.h"
#include "PngFormat.h"

namespace {

// The input with each whole chunk's CRC recomputed, from the signature's end on.
std::vector<std::uint8_t> WithRightCrcs(std::span<const std::uint8_t> file) {
  std::vector<std::uint8_t> out(file.begin(), file.end());
  std::size_t at = rt::png::kSignature.size();
  while (at <= out.size() && out.size() - at >= rt::png::kChunkOverhead) {
    const std::uint32_t length = rt::png::ReadBig32(out, at);
    if (length > out.size() - at - rt::png::kChunkOverhead) break;
    const std::uint32_t crc =
        rt::png::Crc32(std::span<const std::uint8_t>(out).subspan(at + 4, length + 4));
    for (std::size_t i = 0; i < 4; ++i) {
      out[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    at += rt::png::kChunkOverhead + length;
  }
  return out;
}

void CheckAndDecode(std::span<const std::uint8_t> file) {
  const rt::PngCheckResult check = rt::CheckPngFile(file);
  if (!check.ok) {
    if (check.reason.empty()) {
      std::fprintf(stderr, "refused without a reason\n");
      std::abort();
    }
    return;
  }
  if (check.width < 1 || check.height < 1 || check.rawBytes == 0 || check.compressedBytes == 0) {
    std::fprintf(stderr, "accepted with %d x %d pixels, %llu raw and %llu compressed bytes\n",
                 check.width, check.height, static_cast<unsigned long long>(check.rawBytes),
                 static_cast<unsigned long long>(check.compressedBytes));
    std::abort();
  }
  const std::vector<std::uint8_t> filled = rt::PngWithFullPalette(file, check);
  if (!filled.empty() && !rt::CheckPngFile(filled).ok) {
    std::fprintf(stderr, "the filled palette's file is refused\n");
    std::abort();
  }
  const pngio::Decoded decoded =
      pngio::DecodeWithSystem(filled.empty() ? file : std::span<const std::uint8_t>(filled));
  if (decoded.ok && (decoded.width != check.width || decoded.height != check.height ||
                     decoded.pixels.size() != static_cast<std::size_t>(check.width) *
                                                  static_cast<std::size_t>(check.height))) {
    std::fprintf(stderr, "accepted as %d x %d, decoded as %d x %d\n", check.width, check.height,
                 decoded.width, decoded.height);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  CheckAndDecode(file);
  CheckAndDecode(WithRightCrcs(file));
  return 0;
}

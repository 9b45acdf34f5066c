// The host's PNG decoder: libspng, every colour type, bit depth and interlacing out as 8-bit
// RGBA with the transparency chunk applied and no gamma correction, as the system's decoder
// gives them.
#include <spng.h>

#include <memory>

#include "PngDecode.h"

namespace pngio {

Decoded DecodeWithSystem(std::span<const std::uint8_t> file) {
  Decoded out;
  const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> context(spng_ctx_new(0), spng_ctx_free);
  if (!context) {
    out.problem = "no memory for a decoder";
    return out;
  }
  spng_ctx* ctx = context.get();
  // No chunk larger than the file, and no picture larger than the check allows.
  spng_set_chunk_limits(ctx, file.size(), file.size());
  spng_set_image_limits(ctx, 32767, 32767);
  int error = spng_set_png_buffer(ctx, file.data(), file.size());
  spng_ihdr header{};
  if (error == 0) error = spng_get_ihdr(ctx, &header);
  std::size_t length = 0;
  if (error == 0) error = spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &length);
  const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
  if (error == 0 && length != pixels * 4) {
    out.problem = "decoded size does not match the header";
    return out;
  }
  if (error == 0) {
    out.pixels.resize(static_cast<std::size_t>(pixels));
    error = spng_decode_image(ctx, out.pixels.data(), length, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
  }
  if (error != 0) {
    out.problem = spng_strerror(error);
    out.pixels.clear();
    return out;
  }
  out.ok = true;
  out.width = static_cast<int>(header.width);
  out.height = static_cast<int>(header.height);
  return out;
}

}  // namespace pngio

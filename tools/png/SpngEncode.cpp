// The host's PNG encoder: libspng, 8-bit RGB or RGBA.
#include <spng.h>

#include <cstdlib>
#include <memory>

#include "PngEncode.h"

namespace pngio {

std::optional<bmpio::Bytes> EncodeWithSystem(int width, int height, int channels,
                                             std::span<const std::uint8_t> pixels, Effort effort) {
  const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> context(spng_ctx_new(SPNG_CTX_ENCODER),
                                                               spng_ctx_free);
  if (!context) return std::nullopt;
  spng_ctx* ctx = context.get();
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  if (effort == Effort::Smallest) {
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 9);
    spng_set_option(ctx, SPNG_IMG_MEM_LEVEL, 9);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_ALL);
  } else {
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
  }
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(width);
  header.height = static_cast<std::uint32_t>(height);
  header.bit_depth = 8;
  header.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
  if (spng_set_ihdr(ctx, &header) != 0 ||
      spng_encode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) !=
          0) {
    return std::nullopt;
  }
  std::size_t size = 0;
  int error = 0;
  const std::unique_ptr<void, decltype(&std::free)> png(spng_get_png_buffer(ctx, &size, &error),
                                                        &std::free);
  if (!png || error != 0) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(png.get());
  return bmpio::Bytes(bytes, bytes + size);
}

}  // namespace pngio

// libFuzzer target of the bitmap header check. Every refusal must give a reason; every file the
// check accepts is then decoded by the reference decoder, which trusts the headers as the system
// decoder does and stops at the first byte it would read outside the file or pixel it would write
// outside the picture: such a file is a finding, as is any crash or undefined behaviour.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "BitmapCheck.h"
#include "ReferenceDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const rt::BitmapCheckResult check = rt::CheckBitmapFile(file);
  if (!check.ok) {
    if (check.reason.empty()) {
      std::fprintf(stderr, "refused without a reason\n");
      std::abort();
    }
    return 0;
  }
  const bmpio::Decoded decoded = bmpio::DecodeTrusting(file, false);
  if (!decoded.ok) {
    std::fprintf(stderr, "accepted, but the decoder %s\n", decoded.problem.c_str());
    std::abort();
  }
  const int rows = check.height < 0 ? -check.height : check.height;
  if (decoded.width != check.width || decoded.height != rows) {
    std::fprintf(stderr, "accepted as %d x %d, decoded as %d x %d\n", check.width, check.height,
                 decoded.width, decoded.height);
    std::abort();
  }
  return 0;
}

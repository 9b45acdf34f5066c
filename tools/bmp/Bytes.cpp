// Whole files in and out.
#include "Bytes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bmpio {

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::optional<Bytes> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // In blocks rather than a byte at a time: a skin is more than a megabyte.
  Bytes bytes;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    bytes.insert(bytes.end(), block, block + in.gcount());
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace bmpio

// Bytes of a file being made: little-endian fields written at its end or in place, and whole
// files read and written, for the picture writers of the tools and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace bmpio {

using Bytes = std::vector<std::uint8_t>;

inline void Put8(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
}
inline void Put16(Bytes& out, std::uint32_t value) {
  Put8(out, value);
  Put8(out, value >> 8);
}
inline void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}
// Overwrites the four bytes at `at`, which must lie inside `out`.
inline void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void Append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// Writes the whole file, replacing one that is there, or throws std::runtime_error naming it.
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
// The whole file, or nothing when it cannot be opened.
std::optional<Bytes> ReadFile(const std::filesystem::path& path);

}  // namespace bmpio

// Little-endian byte output shared by the BMP and ICO writers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace makeassets {

using Bytes = std::vector<std::uint8_t>;

inline void put_u8(Bytes& out, unsigned v) { out.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
inline void put_u16(Bytes& out, unsigned v) {
  put_u8(out, v);
  put_u8(out, v >> 8);
}
inline void put_u32(Bytes& out, std::uint32_t v) {
  put_u16(out, v & 0xFFFF);
  put_u16(out, v >> 16);
}
inline void put_i32(Bytes& out, std::int32_t v) { put_u32(out, static_cast<std::uint32_t>(v)); }
inline void append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// Writes the whole file or throws.
void write_file(const std::filesystem::path& path, const Bytes& data);

}  // namespace makeassets

// Whole numbers as decimal text, without the C library's formatted output (which would bring its
// whole printf machinery into the program for a handful of numbers in messages and file names).
#pragma once

#include <cstdint>
#include <string>

namespace rt {

inline std::wstring DecimalText(std::int64_t value) {
  // Work on the magnitude as unsigned so that the most negative value has no overflow.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  wchar_t digits[24];
  std::size_t start = sizeof digits / sizeof digits[0];
  do {
    digits[--start] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[--start] = L'-';
  return std::wstring(digits + start, digits + sizeof digits / sizeof digits[0]);
}

}  // namespace rt

// Whole numbers as decimal text, without the C library's formatted output (which would bring its
// whole printf machinery into the program for a handful of numbers in messages and file names).
#pragma once

#include <concepts>
#include <cstdint>
#include <string>

namespace rt {

template <std::integral T>
std::wstring DecimalText(T value) {
  // Work on the magnitude as unsigned so that the most negative value has no overflow.
  const bool negative = value < 0;
  std::uint64_t magnitude = static_cast<std::uint64_t>(value);
  if (negative) magnitude = 0 - magnitude;
  wchar_t digits[24];
  std::size_t start = sizeof digits / sizeof digits[0];
  do {
    digits[--start] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits[--start] = L'-';
  return std::wstring(digits + start, digits + sizeof digits / sizeof digits[0]);
}

}  // namespace rt

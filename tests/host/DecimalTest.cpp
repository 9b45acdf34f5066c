// Decimal text of whole numbers, as used in error messages and picture file names.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "Decimal.h"

namespace {

TEST(DecimalText, WritesDigitsWithoutPaddingOrGrouping) {
  EXPECT_EQ(rt::DecimalText(0), L"0");
  EXPECT_EQ(rt::DecimalText(7), L"7");
  EXPECT_EQ(rt::DecimalText(10), L"10");
  EXPECT_EQ(rt::DecimalText(32767), L"32767");
  EXPECT_EQ(rt::DecimalText(100000), L"100000");
}

TEST(DecimalText, NegativeNumbersIncludingTheMostNegative) {
  EXPECT_EQ(rt::DecimalText(-1), L"-1");
  EXPECT_EQ(rt::DecimalText(-32768), L"-32768");
  EXPECT_EQ(rt::DecimalText(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808");
  EXPECT_EQ(rt::DecimalText(std::numeric_limits<std::int64_t>::max()), L"9223372036854775807");
}

TEST(DecimalText, UnsignedAndNarrowTypes) {
  EXPECT_EQ(rt::DecimalText(std::numeric_limits<std::uint64_t>::max()), L"18446744073709551615");
  EXPECT_EQ(rt::DecimalText(std::uint32_t{4294967295u}), L"4294967295");
  EXPECT_EQ(rt::DecimalText(std::int16_t{-32768}), L"-32768");
  EXPECT_EQ(rt::DecimalText(std::uint8_t{255}), L"255");
}

}  // namespace

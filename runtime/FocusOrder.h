// The order in which the keyboard and screen readers move through a row of buttons.
#pragma once

namespace rt {

// What lies past either end of the row: the keyboard goes round again, as in any dialog; screen
// readers are told there is nothing more, as their clients expect (one that walks "next" until
// it is refused would otherwise never stop).
enum class RowEnds { kRoundAgain, kNothing };

// The child (from 0) one `step` (1 forward, -1 back) on from `from` in a row of `count`. From
// none (-1) the first step enters the row at its start, or going back at its end. -1 for an
// empty row, and for a step past either end where `ends` is kNothing.
constexpr int NextInRow(int from, int step, int count, RowEnds ends = RowEnds::kRoundAgain) {
  if (count <= 0) return -1;
  if (from < 0 || from >= count) return step > 0 ? 0 : count - 1;
  const int next = from + step;
  if (ends == RowEnds::kNothing) return next < 0 || next >= count ? -1 : next;
  return (next % count + count) % count;
}

}  // namespace rt

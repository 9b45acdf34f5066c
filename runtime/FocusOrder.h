// The order in which the keyboard and screen readers move through a row of buttons.
#pragma once

namespace rt {

// The child (from 0) one `step` (1 forward, -1 back) on from `from` in a row of `count`: round
// again past either end. From none (-1) the first step enters the row at its start, or going back
// at its end. -1 for an empty row.
constexpr int NextInRow(int from, int step, int count) {
  if (count <= 0) return -1;
  if (from < 0 || from >= count) return step > 0 ? 0 : count - 1;
  return ((from + step) % count + count) % count;
}

}  // namespace rt

// The dark fringe an anti-aliased drawing of the skin's rounded corners leaves: the pure black
// pixels become holes, the nearly black ones drawn between them and the skin stay and show as a
// dark staircase along the cut edge.
#pragma once

#include <string>

#include "Report.h"

namespace skincheck {

// The skin's pixels that border a hole (the eight pixels around it) and are nearly black: every
// channel below kFringeLevel, but not all 0 (pure black beside a hole lies outside the corner
// areas, where the skin's own black shapes stay).
int CountDarkFringe(const Image& skin);
inline constexpr int kFringeLevel = 64;

// A warning on `name` when the skin has such a fringe.
void CheckDarkFringe(Report& report, const std::wstring& name, const Image& skin);

}  // namespace skincheck

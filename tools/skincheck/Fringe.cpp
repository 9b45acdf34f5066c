// The fringe, found with the menu's own rule of which pixels are holes.
#include "Fringe.h"

#include "SkinOutline.h"

namespace skincheck {

namespace {

bool IsBlack(const Rgb& c) { return c.r == 0 && c.g == 0 && c.b == 0; }

}  // namespace

int CountDarkFringe(const Image& skin) {
  auto hole = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < skin.width && y < skin.height && IsBlack(skin.At(x, y)) &&
           menu::IsHole(x, y, 0, skin.width, skin.height);
  };
  int count = 0;
  for (int y = 0; y < skin.height; ++y) {
    for (int x = 0; x < skin.width; ++x) {
      const Rgb& c = skin.At(x, y);
      if (c.r >= kFringeLevel || c.g >= kFringeLevel || c.b >= kFringeLevel || IsBlack(c)) {
        continue;
      }
      bool borders = false;
      for (int dy = -1; dy <= 1 && !borders; ++dy) {
        for (int dx = -1; dx <= 1 && !borders; ++dx) borders = hole(x + dx, y + dy);
      }
      count += borders ? 1 : 0;
    }
  }
  return count;
}

void CheckDarkFringe(Report& report, const std::wstring& name, const Image& skin) {
  const int count = CountDarkFringe(skin);
  if (count == 0) return;
  report.Add(Severity::kWarning, name,
             "a dark fringe of " + std::to_string(count) +
                 " pixels around the rounded corners: draw the corners without anti-aliasing, or "
                 "use a PNG skin with alpha");
}

}  // namespace skincheck

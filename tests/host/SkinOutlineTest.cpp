// The skin's outline: the window rectangle less the pure black pixels of the four corner areas,
// checked pixel by pixel against a brute-force reading of the same picture.
#include "SkinOutline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Geometry.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using PixelFn = std::function<std::uint32_t(int x, int y)>;

constexpr std::uint32_t kBlack = 0x00000000u;

// The corner areas written out on their own: x 0..60 or 740..w-1, crossed with y 0..60 or
// 540..h-1, bounds inclusive and fixed whatever the skin's size.
bool InCornerArea(int x, int y, int w, int h) {
  const bool left = x >= 0 && x <= 60;
  const bool right = x >= 740 && x <= w - 1;
  const bool top = y >= 0 && y <= 60;
  const bool bottom = y >= 540 && y <= h - 1;
  return (left || right) && (top || bottom);
}

std::size_t Index(int x, int y, int w) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
}

// A picture whose pixels come from a function; a null function paints it white.
class PixelPicture : public rt::PictureData {
 public:
  PixelPicture(int width, int height, PixelFn pixel)
      : width_(width), height_(height), pixel_(std::move(pixel)) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void ReadPixels(const rt::PixelRect& area, std::uint32_t* out) const override {
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y) {
      for (int x = std::max(area.left, 0); x < std::min(area.right, width_); ++x) {
        out[Index(x - area.left, y - area.top, area.Width())] = pixel_ ? pixel_(x, y) : 0x00FFFFFFu;
      }
    }
  }

 private:
  int width_;
  int height_;
  PixelFn pixel_;
};

// A skin of the given size whose pixels come from a picture of its own size.
struct Skin {
  int width;  // the skin size handed to the outline
  int height;
  int pictureWidth;  // the size of the picture that supplies the pixels
  int pictureHeight;
  PixelFn pixel;

  std::vector<rt::PixelRect> Outline() const {
    return SkinOutlineRects(width, height, PixelPicture(pictureWidth, pictureHeight, pixel));
  }

  // Whether (x, y) of the skin must be left out of the window, worked out without the code under
  // test: only pixels of the picture can be black.
  bool ExpectHole(int x, int y) const {
    if (x >= pictureWidth || y >= pictureHeight) return false;
    const std::uint32_t colour = pixel ? pixel(x, y) : 0x00FFFFFFu;
    return colour == kBlack && InCornerArea(x, y, width, height);
  }
};

Skin SameSize(int w, int h, PixelFn pixel) { return Skin{w, h, w, h, std::move(pixel)}; }

std::string Describe(const rt::PixelRect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// The rectangles fill the skin without overlap, each inside it, and cover exactly the pixels that
// are not holes.
testing::AssertionResult CoversExactlyTheNonHoles(const Skin& skin,
                                                  const std::vector<rt::PixelRect>& rects) {
  const int w = skin.width;
  const int h = skin.height;
  std::vector<int> covered(static_cast<std::size_t>(std::max(w, 0) * std::max(h, 0)), 0);
  for (const rt::PixelRect& r : rects) {
    if (r.Empty()) return testing::AssertionFailure() << "empty rectangle " << Describe(r);
    if (r.left < 0 || r.top < 0 || r.right > w || r.bottom > h) {
      return testing::AssertionFailure()
             << "rectangle " << Describe(r) << " leaves the " << w << "x" << h << " skin";
    }
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if (++covered[Index(x, y, w)] > 1) {
          return testing::AssertionFailure()
                 << "rectangle " << Describe(r) << " overlaps another at (" << x << "," << y << ")";
        }
      }
    }
  }
  int wrong = 0;
  std::string first;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool inWindow = covered[Index(x, y, w)] == 1;
      if (inWindow == !skin.ExpectHole(x, y)) continue;
      if (wrong++ == 0) {
        first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                (inWindow ? "covered but is a hole" : "a hole but is not black in a corner area");
      }
    }
  }
  if (wrong != 0) {
    return testing::AssertionFailure() << wrong << " pixels wrong, first " << first;
  }
  return testing::AssertionSuccess();
}

// Rectangles come in bands sorted top to bottom, left to right; the rectangles of a band share
// their rows and are separated by holes; two bands that touch have different runs, else they would
// have been one band.
testing::AssertionResult FormsMergedBands(const std::vector<rt::PixelRect>& rects) {
  using Runs = std::vector<std::pair<int, int>>;
  Runs previousRuns;
  int previousBottom = -1;
  std::size_t i = 0;
  while (i < rects.size()) {
    const int top = rects[i].top;
    const int bottom = rects[i].bottom;
    if (top < previousBottom) {
      return testing::AssertionFailure() << "band at row " << top << " starts above the end "
                                         << previousBottom << " of the one before";
    }
    Runs runs;
    for (; i < rects.size() && rects[i].top == top; ++i) {
      if (rects[i].bottom != bottom) {
        return testing::AssertionFailure() << Describe(rects[i]) << " does not share the rows of "
                                           << Describe(rects[i - runs.size()]);
      }
      if (!runs.empty() && rects[i].left <= runs.back().second) {
        return testing::AssertionFailure() << Describe(rects[i]) << " is out of order or touches "
                                           << "the rectangle before it in its band";
      }
      runs.emplace_back(rects[i].left, rects[i].right);
    }
    if (top == previousBottom && runs == previousRuns) {
      return testing::AssertionFailure() << "the bands ending and starting at row " << top
                                         << " have the same runs and were not merged";
    }
    previousRuns = std::move(runs);
    previousBottom = bottom;
  }
  return testing::AssertionSuccess();
}

int CoveredPixels(const std::vector<rt::PixelRect>& rects) {
  int total = 0;
  for (const rt::PixelRect& r : rects) total += r.Width() * r.Height();
  return total;
}

bool Covers(const std::vector<rt::PixelRect>& rects, int x, int y) {
  return std::any_of(rects.begin(), rects.end(),
                     [&](const rt::PixelRect& r) { return r.Contains(x, y); });
}

PixelFn AllBlack() {
  return [](int, int) { return kBlack; };
}

PixelFn BlackAt(int bx, int by) {
  return [bx, by](int x, int y) { return x == bx && y == by ? kBlack : 0x00808080u; };
}

TEST(SkinOutline, SkinWithoutBlackIsTheFullRectangle) {
  const Skin white = SameSize(800, 600, nullptr);
  EXPECT_EQ(white.Outline(), (std::vector<rt::PixelRect>{{0, 0, 800, 600}}));

  const Skin dark = SameSize(800, 600, [](int, int) { return 0x00010101u; });
  EXPECT_EQ(dark.Outline(), (std::vector<rt::PixelRect>{{0, 0, 800, 600}}));
}

TEST(SkinOutline, BlackCornerAreasOf800x600LeaveACross) {
  const Skin skin = SameSize(800, 600, AllBlack());
  const std::vector<rt::PixelRect> rects = skin.Outline();
  EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
  EXPECT_TRUE(FormsMergedBands(rects));
  // 61x61 + 61x60 + 60x61 + 60x60 holes.
  EXPECT_EQ(800 * 600 - CoveredPixels(rects), 14641);
  EXPECT_EQ(rects,
            (std::vector<rt::PixelRect>{{61, 0, 740, 61}, {0, 61, 800, 540}, {61, 540, 740, 600}}));
}

TEST(SkinOutline, SingleBlackPixelsOnTheAreaBoundsAreHoles) {
  const std::pair<int, int> points[] = {{60, 60}, {0, 599},  {740, 540}, {799, 599}, {0, 0},
                                        {799, 0}, {740, 60}, {60, 540},  {0, 540},   {799, 60}};
  for (const auto& [px, py] : points) {
    SCOPED_TRACE(std::to_string(px) + "," + std::to_string(py));
    const Skin skin = SameSize(800, 600, BlackAt(px, py));
    const std::vector<rt::PixelRect> rects = skin.Outline();
    EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
    EXPECT_TRUE(FormsMergedBands(rects));
    EXPECT_FALSE(Covers(rects, px, py));
    EXPECT_EQ(CoveredPixels(rects), 800 * 600 - 1);
  }
}

TEST(SkinOutline, BlackPixelsOutsideTheAreasStayInTheWindow) {
  const std::pair<int, int> points[] = {{61, 0},  {739, 0},   {60, 61},   {400, 300},
                                        {0, 539}, {799, 539}, {739, 599}, {61, 599}};
  for (const auto& [px, py] : points) {
    SCOPED_TRACE(std::to_string(px) + "," + std::to_string(py));
    const Skin skin = SameSize(800, 600, BlackAt(px, py));
    EXPECT_EQ(skin.Outline(), (std::vector<rt::PixelRect>{{0, 0, 800, 600}}));
  }
}

TEST(SkinOutline, AlmostBlackIsNotAHole) {
  for (const std::uint32_t colour : {0x00010000u, 0x00000100u, 0x00000001u}) {
    SCOPED_TRACE(colour);
    const Skin skin =
        SameSize(800, 600, [colour](int x, int y) { return x == 0 && y == 0 ? colour : kBlack; });
    const std::vector<rt::PixelRect> rects = skin.Outline();
    EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
    EXPECT_TRUE(Covers(rects, 0, 0));
    EXPECT_EQ(800 * 600 - CoveredPixels(rects), 14641 - 1);
  }
}

TEST(SkinOutline, FarAreasOfALargerSkinReachItsEdges) {
  const Skin skin = SameSize(1000, 800, AllBlack());
  const std::vector<rt::PixelRect> rects = skin.Outline();
  EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
  EXPECT_TRUE(FormsMergedBands(rects));
  EXPECT_FALSE(Covers(rects, 999, 799));
  EXPECT_FALSE(Covers(rects, 740, 799));
  EXPECT_FALSE(Covers(rects, 999, 0));
  EXPECT_FALSE(Covers(rects, 0, 799));
  EXPECT_TRUE(Covers(rects, 739, 799));
  EXPECT_TRUE(Covers(rects, 999, 539));
  EXPECT_TRUE(Covers(rects, 999, 61));
  // 61x61 + 61x260 + 260x61 + 260x260 holes.
  EXPECT_EQ(1000 * 800 - CoveredPixels(rects), 321 * 321);
}

struct OutlineCase {
  const char* what;
  Skin skin;
  // The exact rectangles, where the case fixes them.
  std::optional<std::vector<rt::PixelRect>> expected;
};

void PrintTo(const OutlineCase& c, std::ostream* out) { *out << c.what; }

class SkinOutlineOf : public testing::TestWithParam<OutlineCase> {};

TEST_P(SkinOutlineOf, CoversExactlyTheNonHolesInMergedBands) {
  const OutlineCase& c = GetParam();
  const std::vector<rt::PixelRect> rects = c.skin.Outline();
  EXPECT_TRUE(CoversExactlyTheNonHoles(c.skin, rects));
  EXPECT_TRUE(FormsMergedBands(rects));
  if (c.expected) {
    EXPECT_EQ(rects, *c.expected);
  }
}

using Rects = std::vector<rt::PixelRect>;

// Skins smaller than the areas: the parts of the fixed ranges beyond the skin make no holes.
INSTANTIATE_TEST_SUITE_P(
    SmallSkins, SkinOutlineOf,
    testing::Values(
        OutlineCase{"40x30, every pixel in the top-left area", SameSize(40, 30, AllBlack()),
                    Rects{}},
        OutlineCase{"61x61, exactly the top-left area", SameSize(61, 61, AllBlack()), Rects{}},
        OutlineCase{"62x62, one column and one row past the area", SameSize(62, 62, AllBlack()),
                    Rects{{61, 0, 62, 61}, {0, 61, 62, 62}}},
        OutlineCase{"50x700, holes in rows 0..60 and 540..699 only", SameSize(50, 700, AllBlack()),
                    Rects{{0, 61, 50, 540}}},
        OutlineCase{"700x50, no right areas, rows end before the bottom ones",
                    SameSize(700, 50, AllBlack()), Rects{{61, 0, 700, 50}}},
        OutlineCase{"741x541, far areas one pixel wide and high", SameSize(741, 541, AllBlack()),
                    std::nullopt},
        OutlineCase{"0x0", SameSize(0, 0, AllBlack()), Rects{}},
        OutlineCase{"0x600", SameSize(0, 600, AllBlack()), Rects{}},
        OutlineCase{"800x0", SameSize(800, 0, AllBlack()), Rects{}}));

// A picture of another size than the skin: points outside the picture are never holes, and
// nothing past the skin counts.
INSTANTIATE_TEST_SUITE_P(
    PicturesOfAnotherSize, SkinOutlineOf,
    testing::Values(OutlineCase{"100x100 black picture", Skin{800, 600, 100, 100, AllBlack()},
                                Rects{{61, 0, 800, 61}, {0, 61, 800, 600}}},
                    OutlineCase{"800x50 black picture, rows 50..60 stay whole",
                                Skin{800, 600, 800, 50, AllBlack()},
                                Rects{{61, 0, 740, 50}, {0, 50, 800, 600}}},
                    OutlineCase{"750x600 black picture, ten columns in the right areas",
                                Skin{800, 600, 750, 600, AllBlack()}, std::nullopt},
                    OutlineCase{"an empty picture", Skin{800, 600, 0, 0, AllBlack()},
                                Rects{{0, 0, 800, 600}}},
                    OutlineCase{"900x700 black picture", Skin{800, 600, 900, 700, AllBlack()},
                                Rects{{61, 0, 740, 61}, {0, 61, 800, 540}, {61, 540, 740, 600}}}));

// Black outside a quarter circle of radius 36 in each corner, as a skin with rounded corners.
PixelFn RoundedCorners(int w, int h) {
  return [w, h](int x, int y) {
    const int dx = std::min(x, w - 1 - x);
    const int dy = std::min(y, h - 1 - y);
    if (dx >= 36 || dy >= 36) return 0x00C0C0C0u;
    const int ax = 36 - dx;
    const int ay = 36 - dy;
    return ax * ax + ay * ay > 36 * 36 ? kBlack : 0x00C0C0C0u;
  };
}

TEST(SkinOutline, RoundedCornersMergeIntoFewBands) {
  for (const auto& [w, h] : {std::pair{800, 600}, std::pair{1000, 800}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const Skin skin = SameSize(w, h, RoundedCorners(w, h));
    const std::vector<rt::PixelRect> rects = skin.Outline();
    EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
    EXPECT_TRUE(FormsMergedBands(rects));
    // At most one rectangle per row of the 36 rounded rows at the top and the bottom, and one band
    // for everything between them.
    EXPECT_LE(rects.size(), 2u * 36u + 1u);
    // Rows 61..539 have no corner pixels and lie in one full-width rectangle.
    const bool middleIsOneRect =
        std::any_of(rects.begin(), rects.end(), [&](const rt::PixelRect& r) {
          return r.left == 0 && r.right == w && r.top <= 61 && r.bottom >= 540;
        });
    EXPECT_TRUE(middleIsOneRect);
  }
}

TEST(SkinOutline, RandomPixelsMatchTheBruteForceOutline) {
  std::mt19937 random(20240611u);
  const std::pair<int, int> sizes[] = {{741, 541}, {61, 61},  {800, 600}, {1000, 800},
                                       {62, 601},  {800, 61}, {745, 545}};
  for (const auto& [w, h] : sizes) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    auto pixels = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(w) *
                                                               static_cast<std::size_t>(h));
    for (std::uint32_t& p : *pixels) {
      const auto roll = static_cast<std::uint32_t>(random() % 100u);
      if (roll < 30u) {
        p = kBlack;
      } else if (roll < 40u) {
        p = 1u << static_cast<std::uint32_t>(
                random() % 24u);  // a single bit set: as close to black as colours come
      } else {
        p = static_cast<std::uint32_t>(random() & 0x00FFFFFFu);
      }
    }
    const Skin skin =
        SameSize(w, h, [pixels, w](int x, int y) { return (*pixels)[Index(x, y, w)]; });
    const std::vector<rt::PixelRect> rects = skin.Outline();
    EXPECT_TRUE(CoversExactlyTheNonHoles(skin, rects));
    EXPECT_TRUE(FormsMergedBands(rects));
    // The per-pixel rule agrees with the one written out here.
    int disagreements = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (IsHole(x, y, (*pixels)[Index(x, y, w)], w, h) != skin.ExpectHole(x, y)) {
          ++disagreements;
        }
      }
    }
    EXPECT_EQ(disagreements, 0);
  }
}

TEST(SkinOutline, HoleRuleAtAndBeyondTheEdges) {
  EXPECT_TRUE(IsHole(0, 0, kBlack, 800, 600));
  EXPECT_TRUE(IsHole(799, 599, kBlack, 800, 600));
  EXPECT_FALSE(IsHole(0, 0, 0x00000001u, 800, 600));
  // Points outside the skin are never holes, even where an area would reach.
  EXPECT_FALSE(IsHole(-1, 0, kBlack, 800, 600));
  EXPECT_FALSE(IsHole(0, -1, kBlack, 800, 600));
  EXPECT_FALSE(IsHole(800, 0, kBlack, 800, 600));
  EXPECT_FALSE(IsHole(0, 600, kBlack, 800, 600));
  EXPECT_FALSE(IsHole(50, 50, kBlack, 40, 30));
  // Inside the top-left bounds 0..60 but past the edge of a small skin.
  EXPECT_FALSE(IsHole(50, 0, kBlack, 40, 30));
  EXPECT_FALSE(IsHole(0, 50, kBlack, 40, 30));
  EXPECT_TRUE(IsHole(39, 29, kBlack, 40, 30));
  EXPECT_FALSE(IsHole(740, 0, kBlack, 740, 600));
  EXPECT_FALSE(IsHole(0, 540, kBlack, 800, 540));
}

TEST(SkinOutline, CornerAreasKeepFixedBoundsAndEmptyWhenTheSkinIsSmall) {
  const auto areas = CornerAreas(800, 600);
  const int expected[4][4] = {
      {0, 60, 0, 60}, {0, 60, 540, 599}, {740, 799, 0, 60}, {740, 799, 540, 599}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(areas[i].xFrom, expected[i][0]);
    EXPECT_EQ(areas[i].xTo, expected[i][1]);
    EXPECT_EQ(areas[i].yFrom, expected[i][2]);
    EXPECT_EQ(areas[i].yTo, expected[i][3]);
    EXPECT_FALSE(areas[i].Empty());
  }
  const auto small = CornerAreas(50, 30);
  EXPECT_FALSE(small[0].Empty());  // top-left runs past the skin; the pixels are not there
  EXPECT_TRUE(small[1].Empty());
  EXPECT_TRUE(small[2].Empty());
  EXPECT_TRUE(small[3].Empty());
  const auto edge = CornerAreas(741, 541);
  EXPECT_FALSE(edge[3].Empty());
  EXPECT_EQ(edge[3].xTo, 740);
  EXPECT_EQ(edge[3].yTo, 540);
  EXPECT_TRUE(CornerAreas(740, 600)[2].Empty());
  EXPECT_TRUE(CornerAreas(800, 540)[1].Empty());
}

int SizeErrorNumber(int w, int h) {
  try {
    CheckSkinSize(w, h);
  } catch (const rt::RunTimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(SkinOutline, SkinsOf32768PixelsOverflow) {
  EXPECT_EQ(SizeErrorNumber(32767, 32767), 0);
  EXPECT_EQ(SizeErrorNumber(800, 600), 0);
  EXPECT_EQ(SizeErrorNumber(32768, 10), rt::kErrOverflow);
  EXPECT_EQ(SizeErrorNumber(10, 32768), rt::kErrOverflow);
  EXPECT_EQ(SizeErrorNumber(40000, 10), rt::kErrOverflow);
  EXPECT_EQ(SizeErrorNumber(32768, 32768), rt::kErrOverflow);
}

}  // namespace
}  // namespace menu

#include "imaging/stamp_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvella::imaging {
namespace {

constexpr double kEps = 1e-9;

TEST(StampLayout, LargerRootCases) {
  struct Case {
    double a, b, c;
    bool ok;
    double root;
  };
  const Case cases[] = {
      {1, -3, 2, true, 2},      {1, 3, 2, true, -1}, {1, 0, -4, true, 2}, {0, 2, -4, true, 2},
      {0, 0, 0, true, 0},       {0, 0, 1, false, 0}, {1, 0, 1, false, 0}, {1, 0, 0, true, 0},
      {1, 1e8, -1, true, 1e-8},  // the naive formula loses this root to cancellation
  };
  for (const Case& c : cases) {
    double root = -99;
    EXPECT_EQ(LargerRoot(c.a, c.b, c.c, root), c.ok) << c.a << " " << c.b << " " << c.c;
    if (c.ok) {
      EXPECT_NEAR(root, c.root, std::abs(c.root) * 1e-12 + 1e-15) << c.a << " " << c.b << " " << c.c;
    }
  }
}

TEST(StampLayout, WideSingleRowIsSpreadIntoASquare) {
  const double bw = 0.5;
  StampLayout l =
      LayoutSimpleStamp(BorderType::kSquare, bw, 0, {" ", "a wide row", " "}, {{1, 5}, {40, 5}, {1, 5}});
  // c = 40 + 0.5 exceeds s = 15 + 0.5: p = (40.5 - 15.5) / 3 / 2.
  EXPECT_NEAR(l.padding, 25.0 / 6, kEps);
  EXPECT_NEAR(l.borderBox.x0, 0.25, kEps);
  EXPECT_NEAR(l.borderBox.x1, 40.75, kEps);
  EXPECT_NEAR(l.borderBox.y1 - l.borderBox.y0, l.borderBox.x1 - l.borderBox.x0, kEps);
  EXPECT_NEAR(l.SurfaceWidth(), 41, kEps);
  // The widest row touches the pen's inner edge; the stack fills the box.
  EXPECT_NEAR(l.rowBoxes[1].x0, bw, kEps);
  EXPECT_NEAR(l.rowBoxes[0].y0, bw + l.padding, kEps);
  EXPECT_NEAR(l.rowBoxes[2].y1 + l.padding + bw / 2, l.borderBox.y1, kEps);
  EXPECT_EQ(l.rulers.size(), 2u);
}

TEST(StampLayout, TallStackWithoutBorderGetsNoPaddingAndRulersAcross) {
  StampLayout l =
      LayoutSimpleStamp(BorderType::kNone, 0, 1, {"a", "b", "c", "d"}, {{5, 5}, {5, 5}, {5, 5}, {5, 5}});
  EXPECT_EQ(l.padding, 0);
  // s = 4 × 5 + 3 × 1 = 23: the box widens to the stack's height.
  EXPECT_NEAR(l.borderBox.x1, 23, kEps);
  EXPECT_NEAR(l.borderBox.y1, 23, kEps);
  ASSERT_EQ(l.rowBoxes.size(), 4u);
  EXPECT_NEAR(l.rowBoxes[0].x0, 9, kEps);
  EXPECT_NEAR(l.rowBoxes[3].y0, 18, kEps);
  ASSERT_EQ(l.rulers.size(), 3u);
  const double rulerY[] = {5.5, 11.5, 17.5};
  for (int j = 0; j < 3; ++j) {
    EXPECT_NEAR(l.rulers[j].y0, rulerY[j], kEps);
    EXPECT_NEAR(l.rulers[j].x0, 0, kEps);
    EXPECT_NEAR(l.rulers[j].x1, 23, kEps);
  }
}

TEST(StampLayout, CircleWithThreeRowsCentresTheMiddleRow) {
  const double bw = 1;
  StampLayout l = LayoutSimpleStamp(BorderType::kCircle, bw, 0, {"a", "b", "c"}, {{10, 5}, {20, 5}, {10, 5}});
  // r = 7.5; the outer rows bind: 5x² + 15x − 25 = 0.
  EXPECT_NEAR(l.padding, 1.1925824035672519, 1e-12);
  EXPECT_NEAR(l.radius, 11.077747210701755, 1e-12);
  EXPECT_NEAR(l.centreX, l.radius + bw / 2, kEps);
  EXPECT_NEAR(l.SurfaceWidth(), 2 * l.radius + 2 * bw, kEps);
  const MmRect& mid = l.rowBoxes[1];
  EXPECT_NEAR((mid.y0 + mid.y1) / 2, l.borderBox.y0 + l.centreY, kEps);
  EXPECT_NEAR((mid.x0 + mid.x1) / 2, l.borderBox.x0 + l.centreX, kEps);
  // The outer row's top corner lies on the circle of radius R.
  const MmRect& top = l.rowBoxes[0];
  const double dx = top.x1 - (l.borderBox.x0 + l.centreX), dy = (l.borderBox.y0 + l.centreY) - top.y0;
  EXPECT_NEAR(dx * dx + dy * dy, l.radius * l.radius, 1e-9);
}

TEST(StampLayout, CircleWithFourRowsCentresTheMiddleGap) {
  const double bw = 0.5, rw = 1;
  StampLayout l = LayoutSimpleStamp(BorderType::kCircle, bw, rw, {"a", "b", "c", "d"},
                                    {{10, 5}, {30, 5}, {30, 5}, {10, 5}});
  // r = 11.5; the inner rows bind: 15x² + 81x − 123 = 0.
  EXPECT_NEAR(l.padding, 1.2357337308308851, 1e-12);
  EXPECT_NEAR(l.radius, 16.44293492332354, 1e-12);
  ASSERT_EQ(l.rulers.size(), 3u);
  // The middle ruler passes through the centre: a full diameter of the pen circle.
  const MmRect& mid = l.rulers[1];
  EXPECT_NEAR(mid.y0, l.borderBox.y0 + l.centreY, kEps);
  EXPECT_NEAR(mid.x1 - mid.x0, 2 * (l.radius + bw / 2), kEps);
  EXPECT_LT(l.rulers[0].x1 - l.rulers[0].x0, mid.x1 - mid.x0);
  EXPECT_NEAR(l.rulers[0].x1 - l.rulers[0].x0, l.rulers[2].x1 - l.rulers[2].x0, 1e-9);
}

}  // namespace
}  // namespace orvella::imaging

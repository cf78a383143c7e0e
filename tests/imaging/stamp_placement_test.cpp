#include "imaging/stamp_placement.h"

#include <gtest/gtest.h>

namespace orvella::imaging {
namespace {

TEST(StampPlacement, CornerTableFollowsTheRotation) {
  const int want[4][4] = {{0, 2, 1, 3}, {1, 0, 3, 2}, {2, 3, 0, 1}, {3, 1, 2, 0}};
  for (int corner = 0; corner < 4; ++corner)
    for (int rotation = 0; rotation < 4; ++rotation)
      EXPECT_EQ(CornerForRotation(corner, rotation), want[corner][rotation]) << corner << "," << rotation;
  EXPECT_EQ(CornerForRotation(4, 1), 4);
  EXPECT_EQ(CornerForRotation(1, 4), 1);
}

TEST(StampPlacement, PositionsOnA4Landscape) {
  // A 30 × 20 mm stamp, offsets 10 / 5, on a 297 × 210 mm sheet.
  struct Case {
    int corner, rotation;
    double x, y;
  } const cases[] = {
      {0, kRotateNone, 10, 5},
      {1, kRotateNone, 257, 5},
      {2, kRotateNone, 10, 185},
      {3, kRotateNone, 257, 185},  // 297 − 30 − 10, 210 − 20 − 5
      {0, kRotate180, 257, 185},   // upper left after the half turn
      // Quarter turns compose into the unturned 210 × 297 page with the
      // offsets and extents swapped: upper left goes to the lower left.
      {0, kRotate90, 5, 257},
      {0, kRotate270, 185, 10},  // and to the upper right for the other turn
  };
  for (const Case& c : cases) {
    MmPoint p = PlaceStamp(c.corner, 10, 5, 30, 20, 297, 210, c.rotation);
    EXPECT_DOUBLE_EQ(p.x, c.x) << c.corner << "," << c.rotation;
    EXPECT_DOUBLE_EQ(p.y, c.y) << c.corner << "," << c.rotation;
  }
}

TEST(StampPlacement, StampLargerThanTheSheetIsClampedToTheEdge) {
  MmPoint p = PlaceStamp(3, 10, 5, 400, 300, 297, 210, kRotateNone);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = PlaceStamp(0, 1000, 1000, 30, 20, 297, 210, kRotateNone);  // left and top corners are not moved
  EXPECT_EQ(p.x, 1000);
  EXPECT_EQ(p.y, 1000);
}

}  // namespace
}  // namespace orvella::imaging

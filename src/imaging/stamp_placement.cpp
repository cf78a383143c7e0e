#include "imaging/stamp_placement.h"

#include <utility>

namespace orvella::imaging {

int CornerForRotation(int corner, int rotation) {
  static constexpr int kTable[4][4] = {
      // rotation code: 0  1  2  3
      {0, 2, 1, 3},  // upper left
      {1, 0, 3, 2},  // upper right
      {2, 3, 0, 1},  // lower left
      {3, 1, 2, 0},  // lower right
  };
  if (corner < 0 || corner > 3 || rotation < 0 || rotation > 3) return corner;
  return kTable[corner][rotation];
}

MmPoint PlaceStamp(int corner, int xOffset, int yOffset, double stampWidth, double stampHeight,
                   double sheetWidth, double sheetHeight, int rotation) {
  // Quarter turns: the stamp is composed into the unturned page, so the
  // sheet, the offsets and the stamp's own extents swap axes.
  const bool quarter = rotation == kRotate90 || rotation == kRotate270;
  if (quarter) {
    std::swap(sheetWidth, sheetHeight);
    std::swap(xOffset, yOffset);
    std::swap(stampWidth, stampHeight);
  }
  double x = xOffset;
  double y = yOffset;
  switch (CornerForRotation(corner, rotation)) {
    case 1:
      x = -(stampWidth + xOffset);
      break;
    case 2:
      y = -(yOffset + stampHeight);
      break;
    case 3:
      x = -(stampWidth + xOffset);
      y = -(yOffset + stampHeight);
      break;
    default:
      break;
  }
  if (x < 0) x += sheetWidth;
  if (y < 0) y += sheetHeight;
  return {x < 0 ? 0 : x, y < 0 ? 0 : y};
}

}  // namespace orvella::imaging

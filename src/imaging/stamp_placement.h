#pragma once
// Where a job's stamps go: each rendered stamp's file and its upper-left
// corner on the sheet, in the orientation in which stamps are composed
// (before the page is turned by the job's output rotation).
#include <filesystem>

namespace orvella::imaging {

// Output rotation codes of a job.
enum RotationCode { kRotateNone = 0, kRotate90 = 1, kRotate270 = 2, kRotate180 = 3 };

struct StampPlacement {
  bool valid = false;  // rendered for this job
  std::filesystem::path path;
  double x = 0;      // mm from the sheet's left edge
  double y = 0;      // mm from the sheet's top edge
  int halftone = 0;  // 0 none, 1..3 halftone pattern
};

// The corner (0 upper left, 1 upper right, 2 lower left, 3 lower right) to
// compose a stamp into so that it shows in `corner` once the page has been
// turned by `rotation`; values out of range leave the corner as it is.
int CornerForRotation(int corner, int rotation);

struct MmPoint {
  double x = 0;
  double y = 0;
};

// Upper-left corner of a stamp of stampWidth × stampHeight mm set in `corner`
// at xOffset/yOffset whole mm from that corner's sides, on a sheet of
// sheetWidth × sheetHeight mm that the job turns by `rotation`. Right and
// bottom corners are measured from the right and bottom edges; a stamp that
// does not fit is moved back to the top or left edge.
MmPoint PlaceStamp(int corner, int xOffset, int yOffset, double stampWidth, double stampHeight,
                   double sheetWidth, double sheetHeight, int rotation);

}  // namespace orvella::imaging

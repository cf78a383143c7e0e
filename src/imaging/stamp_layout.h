#pragma once
// Layout of a simple (text-row) stamp: where the border, the rows and the
// ruler lines go, in millimetres, from the measured size of every row.
// Pure arithmetic, so it is tested without fonts.
#include <string>
#include <vector>

namespace orvella::imaging {

enum class BorderType { kNone = 0, kSquare = 1, kRoundedSquare = 2, kCircle = 3 };

struct MmRect {
  double x0 = 0;
  double y0 = 0;
  double x1 = 0;
  double y1 = 0;
};

struct RowSize {
  double width = 0;
  double height = 0;
};

struct StampLayout {
  BorderType border = BorderType::kNone;
  double borderWidth = 0;  // bw
  MmRect borderBox;        // left, top, right, bottom
  std::vector<std::string> rows;
  std::vector<MmRect> rowBoxes;
  double padding = 0;          // p, above and below every row
  double rulerWidth = 0;       // rw, also the gap between two rows
  std::vector<MmRect> rulers;  // one segment per gap between rows
  double radius = 0;           // circle only: R, the circle's inner radius
  double centreX = 0;          // circle only, relative to the border box's left/top
  double centreY = 0;

  // The surface the layout needs: the border box plus the border's width.
  double SurfaceWidth() const { return borderBox.x1 - borderBox.x0 + borderWidth; }
  double SurfaceHeight() const { return borderBox.y1 - borderBox.y0 + borderWidth; }
};

// Lays out rows (3 or 4, each with its measured size) with border width bw
// (0 without a border) and ruler width rw (0 without ruler lines): the
// square layout for every border but the circle, then the rows and rulers.
StampLayout LayoutSimpleStamp(BorderType border, double bw, double rw, std::vector<std::string> rows,
                              const std::vector<RowSize>& sizes);

// The larger root of a·x² + b·x + c = 0 computed without cancellation, or
// false when there is no real root.
bool LargerRoot(double a, double b, double c, double& root);

}  // namespace orvella::imaging

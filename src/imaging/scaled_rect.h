#pragma once
// Fitting a bitmap into an area, for the stamp preview; free of any drawing
// library so that the windows can use it.

namespace orvella::imaging {

// Where a scaled copy of a bitmap lands in a target area (pixels).
struct ScaledRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Fits a bitmap of bitmapWidth × bitmapHeight into the target keeping the
// aspect ratio, centred, in integer arithmetic.
ScaledRect FitScaled(int bitmapWidth, int bitmapHeight, int targetWidth, int targetHeight);

}  // namespace orvella::imaging

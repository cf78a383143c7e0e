#pragma once
// Millimetres, points and pixels.

namespace orvella::base {

// Integer part of (dpi × mm / 25.4 + 0.5).
int MmToDots(double mm, int dpi);
// dots × 25.4 / dpi.
double DotsToMm(int dots, int dpi);
// Integer part of (points × dpi / 72 + 0.5).
int PointsToDots(double points, int dpi);

}  // namespace orvella::base

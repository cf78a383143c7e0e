#include "printfile/plot_frame.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace orvella::printfile {
namespace {

int SaturatingSum(int64_t value) {
  return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Moves both scale values of one axis so that the frame starts d units in.
void ShiftAxis(int p1, int p2, int& low, int& high, int d) {
  int64_t shift = 0;
  if (p1 < p2) {
    shift = low < high ? int64_t{p1} - d : int64_t{d} - p1;
  } else {
    shift = high < low ? int64_t{p2} - d : int64_t{d} - p2;
  }
  low = SaturatingSum(low + shift);
  high = SaturatingSum(high + shift);
}

}  // namespace

PlotSizeMm PlotFrameSize(const PlotScan& scan) {
  return {std::fabs(static_cast<double>(scan.p2x) - scan.p1x) * kMmPerPlotterUnit,
          std::fabs(static_cast<double>(scan.p2y) - scan.p1y) * kMmPerPlotterUnit};
}

void CentrePlot(PlotScan& scan, double a, double b, double paperWidth, double paperLength, double scale) {
  const bool turned = scan.rotationFound && scan.rotation != 0 && scan.rotation != 180;
  const double f = turned ? paperLength : paperWidth;
  const double l = turned ? paperWidth : paperLength;
  const double ra = scale * a * 0.01;
  const double rb = scale * b * 0.01;
  const bool sameWay = (f >= l && a >= b) || (f < l && a < b);
  // Half the free paper, in plotter units at the plot's scale.
  const int mx = TruncateToInt(((sameWay ? f : l) - ra) * 2000 / scale + 0.5);
  const int my = TruncateToInt(((sameWay ? l : f) - rb) * 2000 / scale + 0.5);
  const double ratio = std::fabs(static_cast<double>(scan.scaleXMax) - scan.scaleXMin) /
                       std::fabs(static_cast<double>(scan.p2x) - scan.p1x);
  ShiftAxis(scan.p1x, scan.p2x, scan.scaleXMin, scan.scaleXMax, TruncateToInt(ratio * mx + 0.5));
  ShiftAxis(scan.p1y, scan.p2y, scan.scaleYMin, scan.scaleYMax, TruncateToInt(ratio * my + 0.5));
}

int PlotRotationDegrees(int rotation) {
  switch (rotation) {
    case 1:
      return 270;
    case 2:
      return 90;
    case 3:
      return 180;
    default:
      return 0;
  }
}

int PlotRotationToWrite(double a, double b, double paperWidth, double paperLength, int rotation,
                        int extraRotation) {
  const bool agree = (paperWidth < paperLength && a < b) || (paperWidth >= paperLength && a >= b);
  const int turn = ((agree ? 90 : 0) + PlotRotationDegrees(rotation)) % 360;
  return static_cast<int>((int64_t{extraRotation} + turn) % 360);
}

}  // namespace orvella::printfile

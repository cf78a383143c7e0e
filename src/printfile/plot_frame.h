#pragma once
// Placing a measured plot on the paper: its size, the shift of the scale that
// centres it, and the rotation written in front of it.
#include "printfile/plot_scan.h"

namespace orvella::printfile {

inline constexpr double kMmPerPlotterUnit = 0.025;

struct PlotSizeMm {
  double width = 0;
  double height = 0;
};

// The size of the completed frame, P1 to P2; either may be 0.
PlotSizeMm PlotFrameSize(const PlotScan& scan);

// Shifts the scale so that a drawing of a × b mm lies in the middle of the
// paper at scale percent (scale > 0).
void CentrePlot(PlotScan& scan, double a, double b, double paperWidth, double paperLength, double scale);

// The RO value for a drawing of a × b mm on the paper, turned by the output
// rotation code (0 none, 1 right, 2 left, 3 half) and the extra degrees.
int PlotRotationToWrite(double a, double b, double paperWidth, double paperLength, int rotation,
                        int extraRotation);

// The degrees an output rotation code turns by, in the direction the plot is
// written (0 for an unknown code).
int PlotRotationDegrees(int rotation);

}  // namespace orvella::printfile

#pragma once
// How a plot is turned: drivers that wrap plots in PJL lay some sizes out
// the other way round, and the plot's page angle and the extra rotation of
// its rewrite follow from its line ends, the output rotation and the paper.
#include "jobs/paper_sizes.h"
#include "settings/preferences.h"

namespace orvella::jobs {

// What measuring the plot found.
struct PlotShape {
  double width = 0;  // mm, as measured
  double height = 0;
  bool envelope = false;  // wrapped in PJL
  bool lfOnly = false;    // its first line ends with LF alone, not CR LF
};

// True when the plot is to be taken turned a quarter (width and height
// swapped) before the paper is chosen: only plots in an envelope whose first
// line ends with CR LF; long portrait non-standard plots, and A0 or A4 plots
// that the preferences say the printer's driver lays out the other way.
bool TurnsMeasuredPlot(const PlotShape& plot, const SizeTolerance& tolerance, int printerModel,
                       const settings::Preferences& preferences);

// The page's turn for the stamps: a quarter when the paper lies the other
// way than the plot of width x height (after any turn and output rotation),
// plus the output rotation's angle.
int PlotPageAngle(double paperWidth, double paperLength, double width, double height, int rotation);

// The extra rotation of the rewrite: a half turn for plots in an envelope
// whose line ends and orientation show the driver laid them out upside down.
int PlotExtraRotation(const PlotShape& plot, int rotation);

}  // namespace orvella::jobs

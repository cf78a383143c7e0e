#pragma once
// Measuring an HP-GL/2 plot: the set-up commands near its start and the
// extent of every pen move.
#include <filesystem>

namespace orvella::printfile {

// Set-up commands count only when their letters end before this offset.
inline constexpr int kPlotStartLimit = 256;

struct PlotScan {
  float x = 0, y = 0;  // current pen position
  bool relative = false;
  // The origin is always inside: the extent starts at 0.
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool inputWindowFound = false;
  int p1x = 0, p1y = 0, p2x = 0, p2y = 0;
  int plotSizeX = 0, plotSizeY = 0;
  bool rotationFound = false;
  int rotation = 0;
  int scaleXMin = 0, scaleXMax = 0, scaleYMin = 0, scaleYMax = 0;
};

// False when the file cannot be opened or read.
bool ScanPlot(const std::filesystem::path& plot, PlotScan& scan);

// Fills P1/P2 and the scale from the plot size or the extent when the plot
// did not give them.
void CompletePlotFrame(PlotScan& scan);

// Float to int by truncation, saturating where the value does not fit.
int TruncateToInt(double value);

}  // namespace orvella::printfile

#include "printfile/plot_measure.h"

namespace orvella::printfile {

bool MeasurePlot(const std::filesystem::path& plot, const std::filesystem::path& workFolder,
                 PlotMeasure& measure, base::Failure& failure) {
  measure = PlotMeasure{};
  if (!ReadPlotHead(plot, measure.head, &failure.detail)) {
    failure.message = kPlotStripError;
    return false;
  }
  measure.scanned = plot;
  if (measure.head.envelope) {
    measure.scanned = workFolder / kPlotNoCommandFile;
    if (!StripPlotEnvelope(plot, measure.scanned, &failure.detail)) {
      failure.message = kPlotStripError;
      return false;
    }
  }
  if (!ScanPlot(measure.scanned, measure.scan)) {
    failure = {kPlotScanError, "cannot read " + measure.scanned.string()};
    return false;
  }
  CompletePlotFrame(measure.scan);
  measure.size = PlotFrameSize(measure.scan);
  if (measure.size.width == 0 || measure.size.height == 0) {
    failure = {kPlotSizeError, "the drawing has no extent: P1 and P2 share an x or a y"};
    return false;
  }
  return true;
}

}  // namespace orvella::printfile

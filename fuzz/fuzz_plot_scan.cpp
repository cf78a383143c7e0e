// Arbitrary bytes as a plot file for the scan, the frame and the centring.
#include "fuzz_support.h"
#include "printfile/plot_frame.h"
#include "printfile/plot_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::printfile;
  PlotScan scan;
  if (!ScanPlot(orvella::fuzz::InputFile(data, size), scan)) return 0;
  CompletePlotFrame(scan);
  const auto mm = PlotFrameSize(scan);
  if (mm.width == 0 || mm.height == 0) return 0;
  CentrePlot(scan, mm.width, mm.height, 841, 1189, 50);
  PlotRotationToWrite(mm.width, mm.height, 841, 1189, 1, 180);
  return 0;
}

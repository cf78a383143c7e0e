// Arbitrary bytes as a plot file for the head check and the envelope strip.
#include "fuzz_support.h"
#include "printfile/plot_envelope.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::printfile;
  const auto input = orvella::fuzz::InputFile(data, size);
  PlotHead head;
  ReadPlotHead(input, head);
  StripPlotEnvelope(input, orvella::fuzz::OutputFile("stripped.tmp"));
  return 0;
}

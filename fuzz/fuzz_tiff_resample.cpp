// Arbitrary bytes as a TIFF page resampled by reducing, copying and enlarging
// ratios, plain and repacked.
#include "fuzz_support.h"
#include "imaging/tiff_resample.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using orvella::imaging::ResampleTiff;
  const auto input = orvella::fuzz::InputFile(data, size);
  if (!orvella::fuzz::Manageable(input, 2)) return 0;
  const auto output = orvella::fuzz::OutputFile("resampled.tif");
  ResampleTiff(input, output, 0, 0.707, true, true);
  ResampleTiff(input, output, 0, 1, false, true);
  ResampleTiff(input, output, 0, 2, true, false);
  ResampleTiff(input, output, 300, 1, false, false);  // relative to the stored resolution
  return 0;
}

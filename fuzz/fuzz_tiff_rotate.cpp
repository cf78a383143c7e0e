// Arbitrary bytes as a TIFF page turned by every quarter turn.
#include "fuzz_support.h"
#include "imaging/tiff_rotate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto input = orvella::fuzz::InputFile(data, size);
  if (!orvella::fuzz::Manageable(input)) return 0;
  const auto output = orvella::fuzz::OutputFile("rotated.tif");
  for (int angle : {0, 90, 180, 270}) orvella::imaging::RotateTiff(input, output, angle, 0);
  return 0;
}

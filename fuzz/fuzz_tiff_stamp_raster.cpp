// Arbitrary bytes as a stamp TIFF written as a raster block, packed and not.
#include "fuzz_support.h"
#include "imaging/tiff_stamp_raster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using orvella::imaging::WriteStampRaster;
  const auto input = orvella::fuzz::InputFile(data, size);
  if (!orvella::fuzz::Manageable(input)) return 0;
  const auto output = orvella::fuzz::OutputFile("stamp.rtl");
  WriteStampRaster(input, output, 10, 20, true);
  WriteStampRaster(input, output, 0, 0, false);
  return 0;
}

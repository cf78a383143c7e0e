// Arbitrary bytes as a TIFF page placed on a canvas, with and without
// compression, with a row hook that writes into every row.
#include <algorithm>
#include <cmath>

#include "fuzz_support.h"
#include "imaging/tiff_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::imaging;
  const auto input = orvella::fuzz::InputFile(data, size);
  if (!orvella::fuzz::Manageable(input)) return 0;
  const auto output = orvella::fuzz::OutputFile("canvas.tif");
  PlaceOnCanvas(input, 0, output, 0, 0, true);

  TiffPageInfo info;
  if (ReadPageInfo(input, 0, info) != kTiffOk) return 0;
  // A 20 x 30 mm canvas: skipped when its pixels would be too many to stream.
  const double dpi = ResolutionDpi(info.xResolution, info.resolutionUnit);
  const double width = std::max<double>(info.width, dpi * 20 / 25.4);
  const double length = std::max<double>(info.length, dpi * 30 / 25.4);
  if (!(width * length <= (1 << 24))) return 0;
  auto hook = [](const TiffPageInfo& canvas, uint32_t row, uint8_t* bytes, size_t count) {
    if (count) bytes[(row * 7) % count] |= 0x81;
    return canvas.width > 0;
  };
  PlaceOnCanvas(input, 0, output, 20, 30, false, nullptr, hook);
  return 0;
}

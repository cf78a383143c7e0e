#pragma once
// Nearest-neighbour resampling of a 1-bit TIFF page.
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

// Scales page 0 of input by r = targetDpi / input X dpi x scale (r = scale when
// targetDpi is 0) and writes it labelled with targetDpi (or the input's X dpi)
// as a Group 4 single-strip TIFF. Output pixel (y, i) is input pixel
// (trunc(y / r), trunc(i / r)); input rows are read strictly in order, skipped
// rows are dropped, not combined. MinIsBlack input is inverted; the output is
// MinIsWhite. With repack, output becomes a repacked TIFF (Group 4 when
// compress is set, else uncompressed) via the intermediate "<output>_NNNNN",
// which is always removed. 10 when r or the output size is not positive.
// detail, when given, receives the cause of a failure.
TiffResult ResampleTiff(const std::filesystem::path& input, const std::filesystem::path& output,
                        double targetDpi, double scale, bool compress, bool repack,
                        std::string* detail = nullptr);

}  // namespace orvella::imaging

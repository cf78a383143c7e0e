#pragma once
// A stamp image as an HP RTL raster block for plot files.
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

// Writes page 0 of stamp to output as: ESC%0A, ESC*t<dpi>R,
// ESC*r<width>s<length>t0A, ESC*p<x>x<y>Y, ESC*b<2|0>M, one ESC*b<n>W and n
// bytes per row (PackBits-packed when pack is set), ESC*rC, ESC%0B. Rows are
// MinIsWhite (a MinIsBlack stamp is inverted). Header failures give their
// code; 10 when a row packs to nothing. No output is left on failure. detail,
// when given, receives the cause of a failure.
TiffResult WriteStampRaster(const std::filesystem::path& stamp, const std::filesystem::path& output, int x,
                            int y, bool pack, std::string* detail = nullptr);

}  // namespace orvella::imaging

#pragma once
// Turning a 1-bit TIFF by quarter turns, with optional halftone screening.
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"
#include "settings/work_folder.h"

namespace orvella::imaging {

// Writes input turned clockwise by angle (0, 90, 180 or 270 degrees) to
// output, screened first with halftone pattern 0..3 (see ApplyHalftone). The
// page is held whole, so pages over 4 GiB unpacked are refused. Compression
// and photometric interpretation stay as they were; the resolutions follow the
// turn. A result code on any failure (10 for another angle), leaving no
// output file; detail, when given, receives the cause.
TiffResult RotateTiff(const std::filesystem::path& input, const std::filesystem::path& output, int angle,
                      int halftone, const settings::WorkContext& folders = {}, std::string* detail = nullptr);

}  // namespace orvella::imaging

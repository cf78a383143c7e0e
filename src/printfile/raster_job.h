#pragma once
// Raster print files: PJL header, print conditions, TIFF data, trailer.
#include <filesystem>
#include <string>

#include "printfile/job_options.h"

namespace orvella::printfile {

// The header up to and including the print conditions' closing ESC SP.
std::string BuildRasterJobHeader(const RasterJobOptions& options);

// Writes header, the TIFF file's bytes unchanged, and the trailer to output.
// False, with nothing written, when CheckRasterJobOptions refuses the
// options; false (output left incomplete) when the output cannot be written
// or the source cannot be read. detail, when given, then receives why: the
// refused option, or the file and the system's words.
bool WriteRasterJob(const std::filesystem::path& tiff, const std::filesystem::path& output,
                    const RasterJobOptions& options, std::string* detail = nullptr);

}  // namespace orvella::printfile

#pragma once
// Joining files byte for byte (multi-page print files are pages back to back).
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

// Appends every byte of source to target (created when missing), in 1 MB
// blocks. 3 when a file cannot be opened or both names are the same file
// (which would grow without end), 1 or 2 when a read or write falls short.
// detail, when given, receives the cause of a failure.
TiffResult AppendFile(const std::filesystem::path& target, const std::filesystem::path& source,
                      std::string* detail = nullptr);

}  // namespace orvella::imaging

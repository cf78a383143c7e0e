#pragma once
// Halftone screening of a 1-bit image with the pattern files Halftone/1.TIF to
// Halftone/3.TIF of the program folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "imaging/tiff_result.h"
#include "settings/work_folder.h"

namespace orvella::imaging {

// Where pattern 1..3 is read from: the program folder's Halftone/N.TIF, or,
// when that file does not exist (or no program folder is given), the one in
// the shipped data folder (settings::FindDataFile), so a run with --home finds
// the shipped patterns. nullopt for other numbers.
std::optional<std::filesystem::path> HalftonePatternPath(const settings::WorkContext& folders, int pattern);

// ANDs the pattern into the image (rows x bytesPerRow bytes), anchored at the
// top-left corner and not repeated: whatever lies beyond the pattern's size
// stays solid. Pattern 0 does nothing. A result code when the pattern is
// unknown, or its file missing or unreadable (the image may then be partly
// screened); detail, when given, receives the cause.
TiffResult ApplyHalftone(int pattern, uint8_t* image, uint32_t rows, size_t bytesPerRow,
                         const settings::WorkContext& folders = {}, std::string* detail = nullptr);

}  // namespace orvella::imaging

#pragma once
// Telling an input file's kind from its first bytes.
#include <filesystem>

namespace orvella::jobs {

enum class InputFileType : int {
  kTiff = 0,
  kHpgl2 = 1,  // HP-GL/2 in a PJL envelope (or any file, when unsupported GL is enabled)
  kUnsupported = 2,
};

// Sets type; false (type kUnsupported) only when the file cannot be read.
// A file that is neither TIFF nor begins with the PJL envelope counts as
// HP-GL/2 when enableUnsupportedGl is on.
bool DetectInputFileType(const std::filesystem::path& path, InputFileType& type, bool enableUnsupportedGl);

}  // namespace orvella::jobs

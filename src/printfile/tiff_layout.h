#pragma once
// Where a TIFF file lies within a larger byte stream: its directories and
// the bytes it refers to, without decoding any image data.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::printfile {

struct TiffDirectoryInfo {
  uint64_t offset = 0;  // of the directory, from the start of the TIFF
  uint32_t width = 0;
  uint32_t length = 0;
  uint32_t bitsPerSample = 1;
  uint32_t compression = 1;
  uint32_t photometric = 0;
  double xResolution = 0;
  double yResolution = 0;
  uint32_t resolutionUnit = 2;
  uint32_t strips = 0;     // strips or tiles
  uint64_t dataBytes = 0;  // their byte counts added up
};

struct TiffLayout {
  uint64_t size = 0;  // one past the last byte the TIFF refers to
  bool bigEndian = false;
  std::vector<TiffDirectoryInfo> directories;
};

// True when bytes begin with a classic TIFF header ("II*\0" or "MM\0*").
bool LooksLikeTiff(std::string_view bytes);

// Walks the TIFF at the start of bytes; nullopt with a reason in error when
// its structure points outside bytes, loops, or is not classic TIFF.
std::optional<TiffLayout> ReadTiffLayout(std::string_view bytes, std::string& error);

}  // namespace orvella::printfile

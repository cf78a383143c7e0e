#pragma once
// Reading and checking one page's header; page counting.
#include <cstdint>
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

class TiffFile;

// One page's header as stored in the file.
struct TiffPageInfo {
  uint32_t width = 0;
  uint32_t length = 0;
  uint16_t samplesPerPixel = 1;
  uint16_t bitsPerSample = 1;
  uint16_t photometric = 0;
  uint16_t compression = 1;
  float xResolution = 0;
  float yResolution = 0;
  uint16_t resolutionUnit = 2;  // 2 = inch when the tag is missing, 3 = centimetre
};

// Integer resolutions in dots per inch, with the page size in pixels.
struct TiffPageResolution {
  uint32_t width = 0;
  uint32_t length = 0;
  int xDpi = 0;
  int yDpi = 0;
};

// Reads page (from 0) of a bilevel TIFF and checks that the operations here
// can process it: 3 when the file cannot be opened, 8 when there is no such
// page, 5 for anything but one 1-bit sample per pixel stored in strips, 6 for
// LZW or a compression libtiff cannot decode, 7 for a missing tag, 10 for an
// empty page, 9 for rows too wide to buffer. detail, when given, receives the
// cause of a failure (see tiff_detail.h).
TiffResult ReadPageInfo(const std::filesystem::path& file, int page, TiffPageInfo& info,
                        std::string* detail = nullptr);
// The same resolutions in whole dots per inch (centimetre values converted).
TiffResult ReadPageResolution(const std::filesystem::path& file, int page, TiffPageResolution& resolution,
                              std::string* detail = nullptr);
// The page size in millimetres at those integer resolutions; 10 when a
// resolution is below 1 dpi.
TiffResult ReadPageSizeMm(const std::filesystem::path& file, int page, double& widthMm, double& lengthMm,
                          std::string* detail = nullptr);
// Number of pages: 1 plus every further directory libtiff can read.
TiffResult CountPages(const std::filesystem::path& file, int& count, std::string* detail = nullptr);

// The header check of ReadPageInfo on the current page of an open file.
TiffResult CheckPageHeader(TiffFile& file, TiffPageInfo& info, std::string* detail = nullptr);

// A stored resolution in dots per inch. Centimetre values are converted and
// snapped to a whole number when within 0.01 of one: 118.11 px/cm is 300 dpi,
// not 299.99.
double ResolutionDpi(float value, uint16_t unit);
// Truncated to an int, clamped to 0 .. INT_MAX.
int TruncateDpi(double dpi);

}  // namespace orvella::imaging

#include "imaging/tiff_halftone.h"

#include <algorithm>
#include <memory>
#include <string>
#include <system_error>

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_rows.h"
#include "settings/program_folders.h"

namespace orvella::imaging {

std::optional<std::filesystem::path> HalftonePatternPath(const settings::WorkContext& folders, int pattern) {
  if (pattern < 1 || pattern > 3) return std::nullopt;
  return settings::FindDataFile(folders.program, folders.data,
                                "/Halftone/" + std::to_string(pattern) + ".TIF");
}

TiffResult ApplyHalftone(int pattern, uint8_t* image, uint32_t rows, size_t bytesPerRow,
                         const settings::WorkContext& folders, std::string* detail) {
  if (pattern == 0) return kTiffOk;
  const auto path = HalftonePatternPath(folders, pattern);
  if (!path) {
    return WithDetail(detail, kTiffOpenError,
                      "there is no halftone pattern " + std::to_string(pattern) + "; patterns are 1 to 3");
  }
  TiffFile file(*path, "r");
  if (!file) return WithDetail(detail, kTiffOpenError, "halftone pattern: " + file.OpenFailure());
  TIFF* tif = file.get();
  uint32_t width = 0;
  uint32_t length = 0;
  uint16_t bits = 1;
  uint16_t samples = 1;
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &length)) {
    return WithDetail(detail, kTiffMissingTag,
                      "halftone pattern: " + path->string() + " has no ImageWidth or ImageLength tag");
  }
  TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  const size_t patternBytes = RowBytes(width);
  if (bits != 1 || samples != 1 || TIFFIsTiled(tif) || width > kMaxRowPixels ||
      TIFFScanlineSize64(tif) != patternBytes) {
    return WithDetail(detail, kTiffUnsupported,
                      "halftone pattern: " + path->string() + " is not a 1-bit image stored in strips");
  }
  std::unique_ptr<uint8_t[]> row;
  try {
    row = std::make_unique<uint8_t[]>(patternBytes);
  } catch (const std::bad_alloc&) {
    return WithDetail(detail, kTiffMemoryError,
                      "no memory for a pattern row of " + std::to_string(patternBytes) + " bytes");
  }
  const size_t columns = std::min(bytesPerRow, patternBytes);
  // The pattern is streamed: only the rows that meet the image are read.
  const uint32_t screened = std::min(rows, length);
  for (uint32_t y = 0; y < screened; ++y) {
    if (!file.ReadRow(row.get(), y))
      return WithDetail(detail, kTiffReadError, "halftone pattern: " + file.RowFailure(y));
    if (photometric == PHOTOMETRIC_MINISBLACK) InvertRow(row.get(), patternBytes);
    // Pixels right of the pattern's width in its last byte keep the image.
    if (width % 8) row[width / 8] |= static_cast<uint8_t>(0xFF >> (width % 8));
    uint8_t* target = image + static_cast<size_t>(y) * bytesPerRow;
    for (size_t j = 0; j < columns; ++j) target[j] &= row[j];
  }
  return kTiffOk;
}

}  // namespace orvella::imaging

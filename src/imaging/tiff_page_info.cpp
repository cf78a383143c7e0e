#include "imaging/tiff_page_info.h"

#include <climits>
#include <cmath>

#include "imaging/tiff_file.h"

namespace orvella::imaging {

TiffResult CheckPageHeader(TiffFile& file, TiffPageInfo& info) {
  TIFF* tif = file.get();
  uint16_t value = 0;
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &value)) return kTiffMissingTag;
  if (value != PHOTOMETRIC_MINISWHITE && value != PHOTOMETRIC_MINISBLACK) return kTiffUnsupported;
  info.photometric = value;
  info.bitsPerSample = TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &value) ? value : 1;
  if (info.bitsPerSample != 1) return kTiffUnsupported;
  info.samplesPerPixel = TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &value) ? value : 1;
  if (info.samplesPerPixel != 1) return kTiffUnsupported;
  if (!TIFFGetField(tif, TIFFTAG_COMPRESSION, &value)) return kTiffMissingTag;
  info.compression = value;
  if (value == COMPRESSION_LZW || !TIFFIsCODECConfigured(value)) return kTiffUnsupportedCompression;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &info.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &info.length) ||
      !TIFFGetField(tif, TIFFTAG_XRESOLUTION, &info.xResolution) ||
      !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &info.yResolution)) {
    return kTiffMissingTag;
  }
  info.resolutionUnit = TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &value) ? value : RESUNIT_INCH;
  // Rows are read one scanline at a time into buffers of RowBytes(width).
  if (TIFFIsTiled(tif)) return kTiffUnsupported;
  if (info.width == 0 || info.length == 0) return kTiffParseError;
  if (info.width > kMaxRowPixels) return kTiffMemoryError;
  if (TIFFScanlineSize64(tif) != RowBytes(info.width)) return kTiffUnsupported;
  return kTiffOk;
}

TiffResult ReadPageInfo(const std::filesystem::path& file, int page, TiffPageInfo& info) {
  TiffFile tiff(file, "rc");
  if (!tiff) return kTiffOpenError;
  if (!tiff.SetPage(page)) return kTiffPageError;
  return CheckPageHeader(tiff, info);
}

double ResolutionDpi(float value, uint16_t unit) {
  if (unit != RESUNIT_CENTIMETER) return value;
  const double dpi = static_cast<double>(value) * 2.54;
  const double nearest = std::round(dpi);
  return std::fabs(dpi - nearest) <= 0.01 ? nearest : dpi;
}

int TruncateDpi(double dpi) {
  if (!(dpi > 0)) return 0;  // also NaN
  if (dpi >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(dpi);
}

TiffResult ReadPageResolution(const std::filesystem::path& file, int page, TiffPageResolution& resolution) {
  TiffPageInfo info;
  if (TiffResult result = ReadPageInfo(file, page, info); result != kTiffOk) return result;
  resolution.width = info.width;
  resolution.length = info.length;
  resolution.xDpi = TruncateDpi(ResolutionDpi(info.xResolution, info.resolutionUnit));
  resolution.yDpi = TruncateDpi(ResolutionDpi(info.yResolution, info.resolutionUnit));
  return kTiffOk;
}

TiffResult ReadPageSizeMm(const std::filesystem::path& file, int page, double& widthMm, double& lengthMm) {
  TiffPageResolution resolution;
  if (TiffResult result = ReadPageResolution(file, page, resolution); result != kTiffOk) return result;
  // A zero resolution would make the size infinite.
  if (resolution.xDpi < 1 || resolution.yDpi < 1) return kTiffParseError;
  widthMm = resolution.width / static_cast<double>(resolution.xDpi) * 25.4;
  lengthMm = resolution.length / static_cast<double>(resolution.yDpi) * 25.4;
  return kTiffOk;
}

TiffResult CountPages(const std::filesystem::path& file, int& count) {
  TiffFile tiff(file, "r");
  if (!tiff) return kTiffOpenError;
  count = 1;
  while (TIFFReadDirectory(tiff.get())) ++count;
  return kTiffOk;
}

}  // namespace orvella::imaging

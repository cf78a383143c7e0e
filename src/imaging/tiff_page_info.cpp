#include "imaging/tiff_page_info.h"

#include <climits>
#include <cmath>

#include "base/fixed_format.h"
#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"

namespace orvella::imaging {

TiffResult CheckPageHeader(TiffFile& file, TiffPageInfo& info, std::string* detail) {
  TIFF* tif = file.get();
  auto refuse = [&](TiffResult code, const std::string& what) {
    return WithDetail(detail, code, file.Where() + what);
  };
  auto missing = [&](const char* tag) {
    return refuse(kTiffMissingTag, std::string(" has no ") + tag + " tag");
  };
  uint16_t value = 0;
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &value)) return missing("PhotometricInterpretation");
  if (value != PHOTOMETRIC_MINISWHITE && value != PHOTOMETRIC_MINISBLACK) {
    return refuse(kTiffUnsupported, " has photometric interpretation " + std::to_string(value) +
                                        "; only bilevel pages (0 or 1) are supported");
  }
  info.photometric = value;
  info.bitsPerSample = TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &value) ? value : 1;
  if (info.bitsPerSample != 1) return refuse(kTiffUnsupported, NotOneBit(info.bitsPerSample));
  info.samplesPerPixel = TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &value) ? value : 1;
  if (info.samplesPerPixel != 1) return refuse(kTiffUnsupported, NotOneSample(info.samplesPerPixel));
  if (!TIFFGetField(tif, TIFFTAG_COMPRESSION, &value)) return missing("Compression");
  info.compression = value;
  if (value == COMPRESSION_LZW)
    return refuse(kTiffUnsupportedCompression, " is LZW-compressed; LZW compression is not supported");
  if (!TIFFIsCODECConfigured(value)) {
    return refuse(kTiffUnsupportedCompression,
                  " uses compression " + std::to_string(value) + ", which this libtiff cannot decode");
  }
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &info.width)) return missing("ImageWidth");
  if (!TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &info.length)) return missing("ImageLength");
  if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &info.xResolution)) return missing("XResolution");
  if (!TIFFGetField(tif, TIFFTAG_YRESOLUTION, &info.yResolution)) return missing("YResolution");
  info.resolutionUnit = TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &value) ? value : RESUNIT_INCH;
  // Rows are read one scanline at a time into buffers of RowBytes(width).
  if (TIFFIsTiled(tif)) return refuse(kTiffUnsupported, kTiledPage);
  if (info.width == 0 || info.length == 0) return refuse(kTiffParseError, EmptyPage(info.width, info.length));
  if (info.width > kMaxRowPixels) {
    return refuse(kTiffMemoryError, " is " + std::to_string(info.width) + " pixels wide; rows of more than " +
                                        std::to_string(kMaxRowPixels) + " pixels are refused");
  }
  if (const uint64_t rowBytes = TIFFScanlineSize64(tif); rowBytes != RowBytes(info.width)) {
    return refuse(kTiffUnsupported, " has rows of " + std::to_string(rowBytes) + " bytes where " +
                                        std::to_string(RowBytes(info.width)) + " hold its " +
                                        std::to_string(info.width) + " 1-bit pixels");
  }
  // No step can take such a page (each holds or writes one at least as
  // large), so its header is where the operator learns why.
  if (!WithinPageBytes(info.width, info.length)) {
    const uint64_t bytes = RowBytes(info.width) * uint64_t{info.length};
    return refuse(kTiffMemoryError,
                  " is " + std::to_string(info.width) + " x " + std::to_string(info.length) + " pixels at " +
                      base::FormatFixed(ResolutionDpi(info.xResolution, info.resolutionUnit), 0) + " dpi, " +
                      std::to_string(bytes) + " bytes unpacked; pages of more than 4 GiB are refused");
  }
  // Data the header places beyond the end of the file cannot be decoded: the
  // file was cut short.
  const uint64_t size = TIFFGetSizeProc(tif)(TIFFClientdata(tif));
  const uint32_t strips = TIFFNumberOfStrips(tif);
  for (uint32_t strip = 0; strip < strips; ++strip) {
    const uint64_t offset = TIFFGetStrileOffset(tif, strip);
    const uint64_t count = TIFFGetStrileByteCount(tif, strip);
    if (count > size || offset > size - count) {
      return refuse(kTiffReadError, " is cut short: its image data runs beyond the end of the file (strip " +
                                        std::to_string(strip + 1) + " of " + std::to_string(strips) + ": " +
                                        std::to_string(count) + " bytes from byte " + std::to_string(offset) +
                                        " in a file of " + std::to_string(size) + " bytes)");
    }
  }
  return kTiffOk;
}

TiffResult ReadPageInfo(const std::filesystem::path& file, int page, TiffPageInfo& info,
                        std::string* detail) {
  TiffFile tiff(file, "rc");
  if (!tiff) return WithDetail(detail, kTiffOpenError, tiff.OpenFailure());
  if (!tiff.SetPage(page)) return WithDetail(detail, kTiffPageError, tiff.MissingPage());
  return CheckPageHeader(tiff, info, detail);
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

TiffResult ReadPageResolution(const std::filesystem::path& file, int page, TiffPageResolution& resolution,
                              std::string* detail) {
  TiffPageInfo info;
  if (TiffResult result = ReadPageInfo(file, page, info, detail); result != kTiffOk) return result;
  resolution.width = info.width;
  resolution.length = info.length;
  resolution.xDpi = TruncateDpi(ResolutionDpi(info.xResolution, info.resolutionUnit));
  resolution.yDpi = TruncateDpi(ResolutionDpi(info.yResolution, info.resolutionUnit));
  return kTiffOk;
}

TiffResult ReadPageSizeMm(const std::filesystem::path& file, int page, double& widthMm, double& lengthMm,
                          std::string* detail) {
  TiffPageResolution resolution;
  if (TiffResult result = ReadPageResolution(file, page, resolution, detail); result != kTiffOk)
    return result;
  // A zero resolution would make the size infinite.
  if (resolution.xDpi < 1 || resolution.yDpi < 1) {
    return WithDetail(detail, kTiffParseError,
                      PageName(file, page) + " has a resolution of " + std::to_string(resolution.xDpi) +
                          " x " + std::to_string(resolution.yDpi) + " dpi; at least 1 dpi is needed");
  }
  widthMm = resolution.width / static_cast<double>(resolution.xDpi) * 25.4;
  lengthMm = resolution.length / static_cast<double>(resolution.yDpi) * 25.4;
  return kTiffOk;
}

TiffResult CountPages(const std::filesystem::path& file, int& count, std::string* detail) {
  TiffFile tiff(file, "r");
  if (!tiff) return WithDetail(detail, kTiffOpenError, tiff.OpenFailure());
  count = 1;
  while (TIFFReadDirectory(tiff.get())) ++count;
  return kTiffOk;
}

}  // namespace orvella::imaging

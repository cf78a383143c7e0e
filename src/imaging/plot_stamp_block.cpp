#include "imaging/plot_stamp_block.h"

#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "imaging/tiff_stamp_raster.h"
#include "printfile/plot_frame.h"
#include "printfile/plot_scan.h"

namespace orvella::imaging {
namespace {

using printfile::TruncateToInt;

}  // namespace

StampBlockPosition PlotStampPosition(const StampPlacement& stamp, const PlotConversionRequest& request,
                                     int width, int height) {
  const int dpi = PlotModelDpi(request.modelIndex);
  const double dotsPerMm = dpi * (100 / request.scale) / 25.4;
  const int64_t x = TruncateToInt(dotsPerMm * stamp.x);
  const int64_t y = TruncateToInt(dotsPerMm * stamp.y);
  const int64_t pageWidth = TruncateToInt(dotsPerMm * request.paperWidth);
  const int64_t pageLength = TruncateToInt(dotsPerMm * request.paperLength);
  int64_t px = x, py = y;
  switch (request.pageAngle) {
    case 90:
      px = pageWidth - y - width;
      py = x;
      break;
    case 180:
      px = pageWidth - x - width;
      py = pageLength - y - height;
      break;
    case 270:
      px = y;
      py = pageLength - x - height;
      break;
  }
  // The blocks are positioned in 300-dpi units.
  const int64_t divisor = dpi == 400 ? 4 : 6;
  return {TruncateToInt(static_cast<double>(px * 3 / divisor)),
          TruncateToInt(static_cast<double>(py * 3 / divisor))};
}

bool WritePlotStampBlock(const StampPlacement& stamp, const PlotConversionRequest& request,
                         const settings::WorkContext& context, const std::filesystem::path& rtl,
                         std::string& detail) {
  const int angle = (request.pageAngle + printfile::PlotRotationDegrees(request.rotation)) % 360;
  const auto rotated = context.work / "stamp_rotation.tif";
  const auto magnified = context.work / "stamp_magnify.tif";
  if (RotateTiff(stamp.path, rotated, angle, stamp.halftone, context, &detail) != kTiffOk) return false;
  const int dpi = PlotModelDpi(request.modelIndex);
  if (ResampleTiff(rotated, magnified, dpi, 100 / request.scale, false, false, &detail) != kTiffOk)
    return false;
  TiffPageResolution size;
  if (ReadPageResolution(magnified, 0, size, &detail) != kTiffOk) return false;
  const auto at = PlotStampPosition(stamp, request, TruncateToInt(size.width), TruncateToInt(size.length));
  return WriteStampRaster(magnified, rtl, at.x, at.y, true, &detail) == kTiffOk;
}

}  // namespace orvella::imaging

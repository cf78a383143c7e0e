#include "imaging/compose_page.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/fixed_format.h"
#include "imaging/tiff_canvas.h"
#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "imaging/tiff_rows.h"

namespace orvella::imaging {
namespace {

std::filesystem::path SlotFile(const std::filesystem::path& work, const char* stem, size_t slot) {
  return work / (stem + std::to_string(slot) + ".tif");
}

// Page pixels of a position in mm on the enlarged canvas, truncated. Far
// beyond any row or page, so clipping works the same.
uint64_t CanvasPosition(double enlargement, int dpi, double mm) {
  const double pixels = std::trunc(enlargement * dpi * mm / 25.4);
  if (!(pixels > 0)) return 0;
  return pixels < 0x1p40 ? static_cast<uint64_t>(pixels) : uint64_t{1} << 40;
}

// One scaled stamp, open for reading row by row while the page is written.
struct StampLayer {
  std::optional<TiffFile> file;
  TiffPageInfo info;
  uint64_t x = 0;
  uint64_t y = 0;
  std::vector<uint8_t> row;
};

// The canvas step refuses a page whose header it cannot take (which the
// resolution read before should have caught, unless the file changed).
ComposeCode CanvasFailureCode(TiffResult result) {
  switch (result) {
    case kTiffOpenError:
    case kTiffUnsupported:
    case kTiffUnsupportedCompression:
    case kTiffMissingTag:
    case kTiffPageError:
      return kComposePageHeader;
    default:
      return kComposeCanvas;
  }
}

}  // namespace

ComposeCode ComposePage(const settings::WorkContext& context, const std::filesystem::path& input, int page,
                        const std::filesystem::path& output, const PageConversionRequest& request,
                        std::string* detail) {
  // The failing step's own detail, with the stamp it concerned in front.
  auto fail = [detail](ComposeCode code, size_t stamp) {
    if (detail) *detail = "stamp " + std::to_string(stamp + 1) + ": " + *detail;
    return code;
  };
  auto failWith = [detail](ComposeCode code, std::string text) {
    if (detail) *detail = std::move(text);
    return code;
  };
  TiffPageResolution resolution;
  if (ReadPageResolution(input, page, resolution, detail) != kTiffOk) return kComposeResolution;
  if (resolution.xDpi < 1) {
    return failWith(kComposeResolution, PageName(input, page) + " has a horizontal resolution below 1 dpi");
  }
  const int dpi = resolution.xDpi;
  // Everything is drawn this much larger, so that scaling to the
  // magnification afterwards gives the sheet and the stamps their own size.
  const double enlargement = 100 / request.magnification;
  if (!std::isfinite(enlargement) || !(enlargement > 0)) {
    return failWith(kComposeCanvas, "the magnification " + base::FormatFixed(request.magnification, 2) +
                                        " % is not a positive number");
  }

  // Destroyed, and so closed, on every path out.
  std::array<StampLayer, 3> layers;
  for (size_t i = 0; i < layers.size(); ++i) {
    const StampPlacement& placement = request.stamps[i];
    if (!placement.valid) continue;
    const auto screened = SlotFile(context.work, "stamp_halftone", i);
    const auto scaled = SlotFile(context.work, "stamp_magnify", i);
    if (RotateTiff(placement.path, screened, request.StampAngle(), placement.halftone, context, detail) !=
        kTiffOk)
      return fail(kComposeStampTurn, i);
    if (ResampleTiff(screened, scaled, dpi, enlargement, true, false, detail) != kTiffOk)
      return fail(kComposeStampScale, i);
  }
  for (size_t i = 0; i < layers.size(); ++i) {
    const StampPlacement& placement = request.stamps[i];
    if (!placement.valid) continue;
    StampLayer& layer = layers[i];
    const auto scaled = SlotFile(context.work, "stamp_magnify", i);
    if (ReadPageInfo(scaled, 0, layer.info, detail) != kTiffOk) return fail(kComposeStampHeader, i);
    layer.file.emplace(scaled, "r");
    if (!*layer.file) return failWith(kComposeStampOpen, layer.file->OpenFailure());
    try {
      layer.row.resize(RowBytes(layer.info.width));
    } catch (const std::bad_alloc&) {
      return failWith(kComposeStampOpen, "no memory for a row of " + scaled.string());
    }
    layer.x = CanvasPosition(enlargement, dpi, placement.x);
    layer.y = CanvasPosition(enlargement, dpi, placement.y);
  }

  const bool quarterTurn = request.rotation == kRotate90 || request.rotation == kRotate270;
  const double widthMm = (quarterTurn ? request.sheetHeightMm : request.sheetWidthMm) * enlargement;
  const double heightMm = (quarterTurn ? request.sheetWidthMm : request.sheetHeightMm) * enlargement;

  // A stamp row that cannot be read aborts the page rather than leave a
  // drawing without its stamp.
  std::string stampRowFailure;
  auto orStamps = [&layers, &stampRowFailure](const TiffPageInfo& canvas, uint32_t y, uint8_t* row, size_t) {
    for (StampLayer& layer : layers) {
      if (!layer.file || y < layer.y || y - layer.y >= layer.info.length) continue;
      const auto stampRow = static_cast<uint32_t>(y - layer.y);
      if (!layer.file->ReadRow(layer.row.data(), stampRow)) {
        stampRowFailure = layer.file->RowFailure(stampRow);
        return false;
      }
      OrBits(row, canvas.width, layer.x, layer.row.data(), layer.info.width);
    }
    return true;
  };
  // Stored uncompressed: only the next step reads it, and encoding and
  // decoding Group 4 costs far more than the plain rows.
  const TiffResult result =
      PlaceOnCanvas(input, page, output, widthMm, heightMm, false, nullptr, orStamps, {}, detail);
  if (result == kTiffCallbackError) return failWith(kComposeCanvas, stampRowFailure);
  if (result != kTiffOk) return CanvasFailureCode(result);
  return kComposeOk;
}

}  // namespace orvella::imaging

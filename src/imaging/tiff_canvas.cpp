#include "imaging/tiff_canvas.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "base/fixed_format.h"
#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_output_tags.h"
#include "imaging/tiff_repacked_rows.h"
#include "imaging/tiff_rows.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

// Canvas side in pixels for a size in mm, never below the page's own.
std::optional<uint32_t> CanvasPixels(double dpi, double mm, uint32_t pagePixels, uint32_t limit) {
  const double pixels = std::trunc(dpi * mm / 25.4 + 0.5);
  if (!(pixels > pagePixels)) return pagePixels;  // also NaN
  if (pixels > limit) return std::nullopt;
  return static_cast<uint32_t>(pixels);
}

// Writes every canvas row: the page's rows centred in white, the hook's
// changes included. Out is a TiffFile or a RepackedRowWriter.
template <class Out>
TiffResult WriteCanvasRows(TiffFile& in, const TiffPageInfo& page, const TiffPageInfo& canvas, Out& out,
                           const CanvasRowHook& rowHook, std::string* detail) {
  const uint32_t left = (canvas.width - page.width) / 2;
  const uint32_t top = (canvas.length - page.length) / 2;
  const bool invert = page.photometric == PHOTOMETRIC_MINISBLACK;
  const size_t canvasBytes = RowBytes(canvas.width);
  const size_t pageBytes = RowBytes(page.width);
  std::unique_ptr<uint8_t[]> row, pageRow;
  try {
    row = std::make_unique<uint8_t[]>(canvasBytes);
    // A page as wide as the canvas is read straight into the canvas row.
    if (canvas.width != page.width) pageRow = std::make_unique<uint8_t[]>(pageBytes);
  } catch (const std::bad_alloc&) {
    return WithDetail(detail, kTiffMemoryError,
                      "no memory for a canvas row of " + std::to_string(canvasBytes) + " bytes");
  }
  for (uint32_t y = 0; y < canvas.length; ++y) {
    const bool onPage = y >= top && y - top < page.length;
    if (onPage && !pageRow) {
      if (!in.ReadRow(row.get(), y - top)) return WithDetail(detail, kTiffReadError, in.RowFailure(y - top));
      if (invert) InvertRow(row.get(), canvasBytes);
      ClearPadBits(row.get(), canvas.width);
    } else {
      std::memset(row.get(), 0, canvasBytes);
      if (onPage) {
        if (!in.ReadRow(pageRow.get(), y - top))
          return WithDetail(detail, kTiffReadError, in.RowFailure(y - top));
        if (invert) InvertRow(pageRow.get(), pageBytes);
        OrBits(row.get(), canvas.width, left, pageRow.get(), page.width);
      }
    }
    if (rowHook && !rowHook(canvas, y, row.get(), canvasBytes)) {
      return WithDetail(detail, kTiffCallbackError,
                        "canvas row " + std::to_string(y + 1) + " could not be completed");
    }
    if (!out.WriteRow(row.get(), y)) return WithDetail(detail, kTiffWriteError, out.RowFailure(y));
  }
  return kTiffOk;
}

// Group 4: libtiff compresses into a temporary file beside the output (the
// job's work folder, never the system's temp folder), whose strip is then
// copied behind the repacked header.
TiffResult WriteCompressed(TiffFile& in, const TiffPageInfo& info, const TiffPageInfo& canvas,
                           const std::filesystem::path& output, const RepackedPage& repacked,
                           const CanvasRowHook& rowHook, const FileHook& fileHook, std::string* detail) {
  NewFile temp = CreateNumberedSibling(output);
  if (!temp.fd) return WithDetail(detail, kTiffOpenError, temp.failure);
  FileRemover removeTemp(temp.path);
  {
    TiffFile out(std::move(temp.fd), temp.path, "w");
    if (!out) return WithDetail(detail, kTiffOpenError, out.OpenFailure());
    if (TiffResult result = SetBilevelTags(out, canvas.width, canvas.length, COMPRESSION_CCITTFAX4,
                                           PHOTOMETRIC_MINISWHITE, repacked.xDpi, repacked.yDpi, detail);
        result != kTiffOk) {
      return result;
    }
    if (TiffResult result = WriteCanvasRows(in, info, canvas, out, rowHook, detail); result != kTiffOk)
      return result;
    if (!out.Close()) return WithDetail(detail, kTiffWriteError, out.CloseFailure());
  }
  in.Close();
  return WriteRepacked(temp.path, output, repacked, fileHook, detail);
}

}  // namespace

TiffResult PlaceOnCanvas(const std::filesystem::path& input, int page, const std::filesystem::path& output,
                         double widthMm, double heightMm, bool compress, TiffPageInfo* pageInfo,
                         const CanvasRowHook& rowHook, const FileHook& fileHook, std::string* detail) {
  struct stat inputTimes {};
  const bool haveTimes = ::stat(input.c_str(), &inputTimes) == 0;

  TiffFile in(input, "rc");
  if (!in) return WithDetail(detail, kTiffOpenError, in.OpenFailure());
  if (!in.SetPage(page)) return WithDetail(detail, kTiffPageError, in.MissingPage());
  TiffPageInfo info;
  if (TiffResult result = CheckPageHeader(in, info, detail); result != kTiffOk) return result;
  if (pageInfo) *pageInfo = info;

  const double xDpi = ResolutionDpi(info.xResolution, info.resolutionUnit);
  const double yDpi = ResolutionDpi(info.yResolution, info.resolutionUnit);
  const auto canvasWidth = CanvasPixels(xDpi, widthMm, info.width, kMaxRowPixels);
  const auto canvasLength = CanvasPixels(xDpi, heightMm, info.length, UINT32_MAX);
  if (!canvasWidth || !canvasLength || !WithinPageBytes(*canvasWidth, *canvasLength)) {
    // The page's resolution is what makes the canvas so large: it leads.
    return WithDetail(detail, kTiffMemoryError,
                      in.Where() + " has a resolution of " + base::FormatFixed(xDpi, 1) +
                          " dpi, at which a canvas of " + base::FormatFixed(widthMm, 1) + " x " +
                          base::FormatFixed(heightMm, 1) + " mm would be more than 4 GiB unpacked");
  }
  TiffPageInfo canvas = info;
  canvas.width = *canvasWidth;
  canvas.length = *canvasLength;

  const RepackedPage repacked{canvas.width, canvas.length, compress, xDpi, yDpi};
  if (compress) {
    if (TiffResult result = WriteCompressed(in, info, canvas, output, repacked, rowHook, fileHook, detail);
        result != kTiffOk) {
      return result;
    }
  } else {
    // Stored as it is: the rows go straight into the output.
    RepackedRowWriter out;
    if (TiffResult result = out.Start(output, repacked, fileHook, detail); result != kTiffOk) return result;
    if (TiffResult result = WriteCanvasRows(in, info, canvas, out, rowHook, detail); result != kTiffOk)
      return result;
    if (TiffResult result = out.Finish(detail); result != kTiffOk) return result;
  }
  if (haveTimes) {
    const struct timespec times[2] = {inputTimes.st_atim, inputTimes.st_mtim};
    ::utimensat(AT_FDCWD, output.c_str(), times, 0);
  }
  return kTiffOk;
}

}  // namespace orvella::imaging

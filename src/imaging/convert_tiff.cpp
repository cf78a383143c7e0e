#include "imaging/convert_tiff.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "base/fixed_format.h"
#include "imaging/compose_page.h"
#include "imaging/tiff_append.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "printfile/print_command_error.h"
#include "printfile/print_file_reader.h"
#include "printfile/raster_job.h"

namespace orvella::imaging {
namespace {

// The operator's texts.
constexpr const char* kComposeFailed = "スタンプ画像の合成エラー";
constexpr const char* kRotateFailed = "TIFFファイル回転変換エラー";
constexpr const char* kLongSheetFailed = "model02横長尺回転エラー";
constexpr const char* kResolutionFailed = "TIFFファイル解像度取得エラー";
constexpr const char* kResampleFailed = "TIFFファイル変倍・解像度変換エラー";
constexpr const char* kJoinFailed = "TIFFファイルの連結エラー";
constexpr const char* kConverting = "変換中";

// Landscape sheets longer than this (mm) go through a MODEL_02 turned a quarter.
constexpr double kModel02MaxAcross = 1387;

std::string PageOf(int page, int pages) {
  return "(ページ" + std::to_string(page) + "/" + std::to_string(pages) + ")";
}

std::string CodeText(int code) { return " : code - " + std::to_string(code); }

bool Fail(base::Failure& failure, std::string message, std::string detail) {
  failure = {std::move(message), std::move(detail)};
  return false;
}

// Turns current by the request's rotation into tiff_rotated.tif; current then
// names the file the next step reads.
bool TurnPage(const settings::WorkContext& context, const PageConversionRequest& request,
              std::filesystem::path& current, std::string& detail) {
  if (request.rotation == kRotateNone) return true;
  if (request.RotationAngle() < 0) {
    detail = "rotation code " + std::to_string(request.rotation) + " is none of 0 to 3";
    return false;
  }
  const auto rotated = context.work / "tiff_rotated.tif";
  if (RotateTiff(current, rotated, request.RotationAngle(), 0, context, &detail) != kTiffOk) return false;
  current = rotated;
  return true;
}

enum class ScaleResult { kOk, kNoResolution, kFailed };

// Resamples current into tiff_magnify.tif as the print file carries it: at
// the target resolution and magnification when the host scales, else as it
// is (the printer scales) but repacked all the same.
ScaleResult ScaleForOutput(const settings::WorkContext& context, const PageConversionRequest& request,
                           const std::filesystem::path& current, std::string& detail) {
  if (!std::isfinite(request.magnification) || !(request.magnification > 0)) {
    detail =
        "the magnification " + base::FormatFixed(request.magnification, 2) + " % is not a positive number";
    return ScaleResult::kFailed;
  }
  double dpi = request.header.resolution;
  double scale = request.magnification / 100;
  if (!request.hostMagnification) {
    TiffPageResolution resolution;
    if (ReadPageResolution(current, 0, resolution, &detail) != kTiffOk) return ScaleResult::kNoResolution;
    dpi = resolution.xDpi;
    scale = 1;
  }
  return ResampleTiff(current, context.work / "tiff_magnify.tif", dpi, scale, true, true, &detail) == kTiffOk
             ? ScaleResult::kOk
             : ScaleResult::kFailed;
}

// The request's header with the scaling the chain chose, for one page
// printed once without finishing.
printfile::RasterJobOptions HeaderOptions(const PageConversionRequest& request) {
  printfile::RasterJobOptions options = request.header;
  options.finishing = {};
  options.quantity = 1;
  if (request.hostMagnification) {
    options.xMagnification = options.yMagnification = 1.0;
    options.fit = 0;
  } else {
    options.xMagnification = options.yMagnification = request.magnification / 100;
    options.fit = 1;
  }
  return options;
}

bool NeedsLongSheetTurn(const PageConversionRequest& request) {
  return request.model02LongSheet && request.sheetWidthMm > request.sheetHeightMm &&
         request.sheetWidthMm * request.magnification / 100 > kModel02MaxAcross;
}

// The first page starts the joined file afresh; later pages are appended.
bool JoinPage(const std::filesystem::path& page, const std::filesystem::path& joined, bool first,
              std::string& detail) {
  if (!first) return AppendFile(joined, page, &detail) == kTiffOk;
  std::error_code ec;
  if (std::filesystem::copy_file(page, joined, std::filesystem::copy_options::overwrite_existing, ec))
    return true;
  detail = "cannot copy " + page.string() + " to " + joined.string() + ": " + ec.message();
  return false;
}

// Writes the print file and reads it back: a job is only done when the file
// holds each of its pages whole, so a page lost on the way is never reported
// as printed. A print file that fails the check is removed.
bool WriteAndCheckJob(const std::filesystem::path& pages, const std::filesystem::path& output,
                      const printfile::RasterJobOptions& options, size_t expectedPages, std::string& detail) {
  if (!printfile::WriteRasterJob(pages, output, options, &detail)) return false;
  std::string readError;
  const auto view = printfile::ReadPrintFile(output, readError);
  const size_t found = view ? view->Pages() : 0;
  if (view && view->Clean() && found == expectedPages) return true;
  detail = "the print file " + output.string() + " does not hold its pages when read back (" +
           (view ? std::to_string(found) + " of " + std::to_string(expectedPages) + " found" : readError) +
           ")";
  std::error_code ec;
  std::filesystem::remove(output, ec);
  return false;
}

}  // namespace

bool ConvertSingleTiff(const settings::WorkContext& context, const std::filesystem::path& input, int page,
                       const PageConversionRequest& request, const std::filesystem::path& output,
                       base::Failure& failure) {
  std::string detail;
  const auto drawn = context.work / "tiff_drawed.tif";
  if (const ComposeCode code = ComposePage(context, input, page, drawn, request, &detail); code != kComposeOk)
    return Fail(failure, kComposeFailed + CodeText(code), detail);
  std::filesystem::path current = drawn;
  if (!TurnPage(context, request, current, detail)) return Fail(failure, kRotateFailed, detail);

  printfile::RasterJobOptions header = HeaderOptions(request);
  if (NeedsLongSheetTurn(request)) {
    const auto turned = context.work / "tiff_model02rpt.tif";
    if (RotateTiff(current, turned, 90, 0, context, &detail) != kTiffOk)
      return Fail(failure, kLongSheetFailed, detail);
    current = turned;
    header.landscape = 0;
  }
  switch (ScaleForOutput(context, request, current, detail)) {
    case ScaleResult::kNoResolution:
      return Fail(failure, kResolutionFailed, detail);
    case ScaleResult::kFailed:
      return Fail(failure, kResampleFailed, detail);
    case ScaleResult::kOk:
      break;
  }
  if (!WriteAndCheckJob(context.work / "tiff_magnify.tif", output, header, 1, detail))
    return Fail(failure, printfile::kPrintCommandError, detail);
  return true;
}

bool ConvertMultiTiff(const settings::WorkContext& context, const std::filesystem::path& input,
                      const PageConversionRequest& request, const MultiPageOptions& options,
                      const std::filesystem::path& output, base::Failure& failure,
                      const ConversionProgress& progress) {
  const bool twoUp = request.header.finishing.twoUp != 0;
  // Pages are composed on the whole two-up sheet at their own size; turning,
  // scaling and the header work with half of the job's sheet.
  PageConversionRequest compose = request;
  if (twoUp) {
    compose.sheetWidthMm = options.twoUpSheetWidthMm;
    compose.sheetHeightMm = options.twoUpSheetHeightMm;
    compose.magnification = 100;
  }
  const PageConversionRequest scaled = twoUp ? HalvedForTwoUp(request) : request;

  std::string detail;
  int pages = 0;
  if (CountPages(input, pages, &detail) != kTiffOk) return Fail(failure, kPageCountError, detail);
  if (pages < 1) return Fail(failure, kPageCountError, input.string() + " has no pages");
  const auto drawn = context.work / "tiff_drawed.tif";
  const auto magnified = context.work / "tiff_magnify.tif";
  const auto joined = context.work / "tiff_concat.tif";
  for (int k = 1; k <= pages; ++k) {
    const std::string of = PageOf(k, pages);
    if (progress) progress(kConverting + of);
    if (k == 2 && options.stampFirstPageOnly) {
      for (StampPlacement& stamp : compose.stamps) stamp.valid = false;
    }
    if (const ComposeCode code = ComposePage(context, input, k - 1, drawn, compose, &detail);
        code != kComposeOk)
      return Fail(failure, kComposeFailed + of + CodeText(code), detail);
    std::filesystem::path current = drawn;
    if (!TurnPage(context, scaled, current, detail)) return Fail(failure, kRotateFailed, detail);
    switch (ScaleForOutput(context, scaled, current, detail)) {
      case ScaleResult::kNoResolution:
        return Fail(failure, kResolutionFailed + of, detail);
      case ScaleResult::kFailed:
        return Fail(failure, kResampleFailed + of, detail);
      case ScaleResult::kOk:
        break;
    }
    if (!JoinPage(magnified, joined, k == 1, detail)) return Fail(failure, kJoinFailed + of, detail);
  }

  printfile::RasterJobOptions header = HeaderOptions(scaled);
  header.finishing = request.header.finishing;
  header.quantity = request.header.quantity;
  // The two-up layout runs across the halves, against the page orientation.
  if (twoUp) header.landscape = request.header.landscape == 0 ? 1 : 0;
  if (!WriteAndCheckJob(joined, output, header, static_cast<size_t>(pages), detail))
    return Fail(failure, printfile::kPrintCommandError, detail);
  return true;
}

PageConversionRequest HalvedForTwoUp(const PageConversionRequest& request) {
  PageConversionRequest halved = request;
  const double w = request.sheetWidthMm;
  const double h = request.sheetHeightMm;
  double factor = 0;
  if (w < h) {
    halved.sheetWidthMm = h / 2;
    halved.sheetHeightMm = w;
    factor = std::min(w / h, h / w / 2);
  } else {
    halved.sheetWidthMm = h;
    halved.sheetHeightMm = w / 2;
    factor = std::min(h / w, w / h / 2);
  }
  halved.magnification = factor * request.magnification;
  if (std::trunc(halved.magnification + 0.05) == 100) halved.magnification = 100;
  return halved;
}

}  // namespace orvella::imaging

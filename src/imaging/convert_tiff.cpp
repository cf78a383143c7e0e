#include "imaging/convert_tiff.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "imaging/compose_page.h"
#include "imaging/tiff_append.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "printfile/print_command_error.h"
#include "printfile/raster_job.h"
#include "settings/program_folders.h"

namespace orvella::imaging {
namespace {

// The operator's texts.
constexpr const char* kComposeFailed = "スタンプ画像の合成エラー";
constexpr const char* kRotateFailed = "TIFFファイル回転変換エラー";
constexpr const char* kLongSheetFailed = "model02横長尺回転エラー";
constexpr const char* kResolutionFailed = "TIFFファイル解像度取得エラー";
constexpr const char* kResampleFailed = "TIFFファイル変倍・解像度変換エラー";
constexpr const char* kCountFailed = "TIFFファイルページ数取得エラー";
constexpr const char* kJoinFailed = "TIFFファイルの連結エラー";
constexpr const char* kConverting = "変換中";

// Landscape sheets longer than this (mm) go through a MODEL_02 turned a quarter.
constexpr double kModel02MaxAcross = 1387;

std::filesystem::path WorkFile(const char* name) { return settings::TempFolder() / name; }

std::string PageOf(int page, int pages) {
  return "(ページ" + std::to_string(page) + "/" + std::to_string(pages) + ")";
}

std::string CodeText(int code) { return " : code - " + std::to_string(code); }

bool Fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

// Turns current by the request's rotation into tiff_rotated.tif; current then
// names the file the next step reads.
bool TurnPage(const PageConversionRequest& request, std::filesystem::path& current) {
  if (request.rotation == kRotateNone) return true;
  const auto rotated = WorkFile("tiff_rotated.tif");
  if (!RotateTiff(current, rotated, request.RotationAngle(), 0)) return false;
  current = rotated;
  return true;
}

enum class ScaleResult { kOk, kNoResolution, kFailed };

// Resamples current into tiff_magnify.tif as the print file carries it: at
// the target resolution and magnification when the host scales, else as it
// is (the printer scales) but repacked all the same.
ScaleResult ScaleForOutput(const PageConversionRequest& request, const std::filesystem::path& current) {
  if (!std::isfinite(request.magnification) || !(request.magnification > 0)) return ScaleResult::kFailed;
  double dpi = request.header.resolution;
  double scale = request.magnification / 100;
  if (!request.hostMagnification) {
    TiffPageResolution resolution;
    if (ReadPageResolution(current, 0, resolution) != kTiffOk) return ScaleResult::kNoResolution;
    dpi = resolution.xDpi;
    scale = 1;
  }
  return ResampleTiff(current, WorkFile("tiff_magnify.tif"), dpi, scale, true, true) == kTiffOk
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
bool JoinPage(const std::filesystem::path& page, const std::filesystem::path& joined, bool first) {
  if (!first) return AppendFile(joined, page);
  std::error_code ec;
  return std::filesystem::copy_file(page, joined, std::filesystem::copy_options::overwrite_existing, ec);
}

}  // namespace

bool ConvertSingleTiff(const std::filesystem::path& input, int page, const PageConversionRequest& request,
                       const std::filesystem::path& output, std::string& error) {
  const auto drawn = WorkFile("tiff_drawed.tif");
  int code = kComposeOk;
  if (!ComposePage(input, page, drawn, request, code)) return Fail(error, kComposeFailed + CodeText(code));
  std::filesystem::path current = drawn;
  if (!TurnPage(request, current)) return Fail(error, kRotateFailed);

  printfile::RasterJobOptions header = HeaderOptions(request);
  if (NeedsLongSheetTurn(request)) {
    const auto turned = WorkFile("tiff_model02rpt.tif");
    if (!RotateTiff(current, turned, 90, 0)) return Fail(error, kLongSheetFailed);
    current = turned;
    header.landscape = 0;
  }
  switch (ScaleForOutput(request, current)) {
    case ScaleResult::kNoResolution:
      return Fail(error, kResolutionFailed);
    case ScaleResult::kFailed:
      return Fail(error, kResampleFailed);
    case ScaleResult::kOk:
      break;
  }
  if (!printfile::WriteRasterJob(WorkFile("tiff_magnify.tif"), output, header))
    return Fail(error, printfile::kPrintCommandError);
  return true;
}

bool ConvertMultiTiff(const std::filesystem::path& input, const PageConversionRequest& request,
                      const MultiPageOptions& options, const std::filesystem::path& output,
                      std::string& error, const ConversionProgress& progress) {
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

  int pages = 0;
  if (CountPages(input, pages) != kTiffOk || pages < 1) return Fail(error, kCountFailed);
  const auto drawn = WorkFile("tiff_drawed.tif");
  const auto magnified = WorkFile("tiff_magnify.tif");
  const auto joined = WorkFile("tiff_concat.tif");
  for (int k = 1; k <= pages; ++k) {
    const std::string of = PageOf(k, pages);
    if (progress) progress(kConverting + of);
    if (k == 2 && options.stampFirstPageOnly) {
      for (StampPlacement& stamp : compose.stamps) stamp.valid = false;
    }
    int code = kComposeOk;
    if (!ComposePage(input, k - 1, drawn, compose, code))
      return Fail(error, kComposeFailed + of + CodeText(code));
    std::filesystem::path current = drawn;
    if (!TurnPage(scaled, current)) return Fail(error, kRotateFailed);
    switch (ScaleForOutput(scaled, current)) {
      case ScaleResult::kNoResolution:
        return Fail(error, kResolutionFailed + of);
      case ScaleResult::kFailed:
        return Fail(error, kResampleFailed + of);
      case ScaleResult::kOk:
        break;
    }
    if (!JoinPage(magnified, joined, k == 1)) return Fail(error, kJoinFailed + of);
  }

  printfile::RasterJobOptions header = HeaderOptions(scaled);
  header.finishing = request.header.finishing;
  header.quantity = request.header.quantity;
  // The two-up layout runs across the halves, against the page orientation.
  if (twoUp) header.landscape = request.header.landscape == 0 ? 1 : 0;
  if (!printfile::WriteRasterJob(joined, output, header)) return Fail(error, printfile::kPrintCommandError);
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

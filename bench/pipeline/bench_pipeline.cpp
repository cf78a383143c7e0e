// Measures the whole single-page conversion (compose with one stamp, quarter
// turn, 70.7 %, print file) of the A0 600-dpi page against "tiffcp -c g4" on
// the same page, then each step of the chain on its own (each reading what the
// step before it wrote). Each run is a child process, so its CPU time (user +
// system) and peak RSS are its own.
//   orvella-bench-pipeline run PAGES OUTDIR [REPEATS]   one line per figure:
//       NAME ratio_vs_tiffcp R peak_rss_mb M
//       NAME_STEP ratio_vs_tiffcp R peak_rss_mb M      (compose, turn, scale, print)
//   orvella-bench-pipeline convert IN HOME STEP          runs the whole conversion
//                                                        (STEP all) or one step
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/bench_main.h"
#include "common/child_measure.h"
#include "imaging/compose_page.h"
#include "imaging/convert_tiff.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "printfile/print_file_reader.h"
#include "printfile/raster_job.h"
#include "settings/program_folders.h"

using orvella::bench::Best;
using orvella::bench::Measure;

namespace {

namespace imaging = orvella::imaging;
namespace fs = std::filesystem;

constexpr int kDpi = 600;

// A 60 x 30 mm stamp as the renderer writes it (uncompressed, one strip): a
// 1 mm frame round rows of text-like blocks.
bool WriteStamp(const fs::path& path) {
  const uint32_t width = 60 * kDpi * 10 / 254, length = 30 * kDpi * 10 / 254, frame = kDpi / 25;
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (!tiff) return false;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, length);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, length);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(kDpi));
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(kDpi));
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  std::vector<uint8_t> row((width + 7) / 8);
  bool ok = true;
  for (uint32_t y = 0; y < length && ok; ++y) {
    const bool edge = y < frame || y >= length - frame;
    const bool text = (y / 40) % 3 != 0 && y > 2 * frame && y < length - 2 * frame;
    for (uint32_t x = 0; x < width; ++x) {
      const bool on =
          edge || x < frame || x >= width - frame ||
          (text && x > 3 * frame && x < width - 3 * frame && (x / 24) % 4 != 3 && (x + y) % 5 < 3);
      if (on)
        row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      else
        row[x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
    }
    ok = TIFFWriteScanline(tiff, row.data(), y, 0) == 1;
  }
  TIFFClose(tiff);
  return ok;
}

constexpr const char* kName = "a0_600/convert_single_90_70.7_stamp";
// The chain's steps in order, as the conversion runs them.
constexpr const char* kSteps[] = {"compose", "turn", "scale", "print"};

// An A0 drawing printed on A1 turned a quarter: the composition canvas is
// about the page itself.
imaging::PageConversionRequest BenchRequest(const fs::path& home) {
  imaging::PageConversionRequest request;
  request.hostMagnification = true;
  request.header.resolution = kDpi;
  request.magnification = 70.7;
  request.sheetWidthMm = 841;
  request.sheetHeightMm = 594;
  request.rotation = imaging::kRotate90;
  request.header.landscape = 1;
  request.header.trayName = "4";
  request.stamps[0] = {.valid = true, .path = home / "stamp.tif", .x = 20, .y = 20, .halftone = 0};
  return request;
}

// One step of the chain on the work files the step before it left, with the
// same arguments as the conversion gives it.
bool RunStep(const std::string& step, const fs::path& input, const fs::path& home, const fs::path& work,
             const imaging::PageConversionRequest& request, std::string& detail) {
  const orvella::settings::WorkContext context{home, work, {}};
  if (step == "compose") {
    return imaging::ComposePage(context, input, 0, work / "tiff_drawed.tif", request, &detail) ==
           imaging::kComposeOk;
  }
  if (step == "turn") {
    return imaging::RotateTiff(work / "tiff_drawed.tif", work / "tiff_rotated.tif", request.RotationAngle(),
                               0, context, &detail) == imaging::kTiffOk;
  }
  if (step == "scale") {
    return imaging::ResampleTiff(work / "tiff_rotated.tif", work / "tiff_magnify.tif", kDpi,
                                 request.magnification / 100, true, true, &detail) == imaging::kTiffOk;
  }
  if (step == "print") {
    const fs::path printed = home / "sendfile.prn";
    orvella::printfile::RasterJobOptions header = request.header;
    header.xMagnification = header.yMagnification = 1.0;
    header.quantity = 1;
    if (!orvella::printfile::WriteRasterJob(work / "tiff_magnify.tif", printed, header)) {
      detail = "cannot write " + printed.string();
      return false;
    }
    return orvella::printfile::ReadPrintFile(printed, detail).has_value();
  }
  detail = "no step " + step;
  return false;
}

// IN HOME STEP
int Convert(const std::vector<std::string>& args) {
  const fs::path input = args[0];
  const fs::path home = args[1];
  const fs::path work = home / "TEMP";
  fs::create_directories(work);
  const imaging::PageConversionRequest request = BenchRequest(home);
  if (args[2] != "all") {
    std::string detail;
    if (RunStep(args[2], input, home, work, request, detail)) return 0;
    std::fprintf(stderr, "%s: %s\n", args[2].c_str(), detail.c_str());
    return 1;
  }
  orvella::base::Failure failure;
  if (!imaging::ConvertSingleTiff({home, work, {}}, input, 0, request, home / "sendfile.prn", failure)) {
    std::fprintf(stderr, "%s: %s\n", failure.message.c_str(), failure.detail.c_str());
    return 1;
  }
  return 0;
}

int Run(const orvella::bench::RunArgs& args) {
  const fs::path page = fs::path(args.pages) / "a0_600.tif";
  const fs::path outDir = args.outDir;
  const fs::path home = outDir / "pipeline_home";
  fs::create_directories(home);
  if (!WriteStamp(home / "stamp.tif")) {
    std::fprintf(stderr, "cannot write the stamp\n");
    return 1;
  }
  const Measure floor =
      Best({"tiffcp", "-c", "g4", page.string(), (outDir / "tiffcp.tif").string()}, args.repeats);
  if (!floor.ok || floor.cpuSeconds <= 0) {
    std::fprintf(stderr, "tiffcp failed on %s\n", page.c_str());
    return 1;
  }
  auto measure = [&](const std::string& step, const std::string& name) {
    const Measure m = Best({args.self, "convert", page.string(), home.string(), step}, args.repeats);
    if (!m.ok) {
      std::printf("%s failed\n", name.c_str());
      return false;
    }
    std::printf("%s ratio_vs_tiffcp %.2f peak_rss_mb %.0f\n", name.c_str(), m.cpuSeconds / floor.cpuSeconds,
                m.peakRssMb);
    return true;
  };
  if (!measure("all", kName)) return 1;
  // Each step reads what the step before it left in the work folder.
  for (const char* step : kSteps) {
    if (!measure(step, std::string(kName) + "_" + step)) return 1;
  }
  return 0;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{
    .name = "orvella-bench-pipeline",
    .run = &Run,
    .step = "convert",
    .stepUsage = "IN HOME all|compose|turn|scale|print",
    .stepArgCount = 3,
    .runStep = &Convert,
};

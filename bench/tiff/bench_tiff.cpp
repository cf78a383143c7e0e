// Measures the bilevel TIFF operations against "tiffcp -c g4 IN OUT" (one
// Group 4 decode and encode: the codec floor) on the same page. Each run is a
// child process, so its CPU time (user + system) and peak RSS are its own.
//   orvella-bench-tiff run PAGES OUTDIR [REPEATS]   one line per figure:
//       NAME ratio_vs_tiffcp R peak_rss_mb M
//   orvella-bench-tiff op OPERATION IN OUT          runs one operation
#include <cstdio>
#include <string>
#include <vector>

#include "common/bench_main.h"
#include "common/child_measure.h"
#include "imaging/tiff_primitives.h"

using orvella::bench::Best;
using orvella::bench::Measure;

namespace {

namespace imaging = orvella::imaging;

// The operations, as the page pipeline calls them: OPERATION IN OUT.
int RunOperation(const std::vector<std::string>& args) {
  const std::string& op = args[0];
  const std::string& in = args[1];
  const std::string& out = args[2];
  if (op == "place_on_canvas") return imaging::PlaceOnCanvas(in, 0, out, 841, 1189, true);
  if (op == "place_on_canvas_padded") return imaging::PlaceOnCanvas(in, 0, out, 861, 1209, true);
  if (op == "rotate_90") return imaging::RotateTiff(in, out, 90, 0);
  if (op == "rotate_180") return imaging::RotateTiff(in, out, 180, 0);
  if (op == "rotate_270") return imaging::RotateTiff(in, out, 270, 0);
  if (op == "resample_70.7") return imaging::ResampleTiff(in, out, 0, 0.707, true, true);
  if (op == "resample_to_600dpi") return imaging::ResampleTiff(in, out, 600, 1, true, true);
  if (op == "stamp_raster_packed") return imaging::WriteStampRaster(in, out, 0, 0, true);
  std::fprintf(stderr, "unknown operation %s\n", op.c_str());
  return 2;
}

int RunAll(const orvella::bench::RunArgs& args) {
  const std::string& pages = args.pages;
  const std::string& outDir = args.outDir;
  struct Plan {
    const char* page;
    std::vector<const char*> operations;
  };
  const Plan plans[] = {
      {"a0_600",
       {"place_on_canvas", "place_on_canvas_padded", "rotate_90", "rotate_180", "rotate_270",
        "resample_70.7"}},
      {"a0_400", {"place_on_canvas", "rotate_90", "resample_to_600dpi"}},
      {"a4_600", {"place_on_canvas", "rotate_90", "resample_70.7", "stamp_raster_packed"}},
  };
  int failures = 0;
  for (const Plan& plan : plans) {
    const std::string in = pages + "/" + plan.page + ".tif";
    const Measure floor = Best({"tiffcp", "-c", "g4", in, outDir + "/tiffcp.tif"}, args.repeats);
    if (!floor.ok || floor.cpuSeconds <= 0) {
      std::fprintf(stderr, "tiffcp failed on %s\n", in.c_str());
      return 1;
    }
    std::printf("# %s tiffcp cpu_s %.3f peak_rss_mb %.0f\n", plan.page, floor.cpuSeconds, floor.peakRssMb);
    std::fflush(stdout);
    for (const char* op : plan.operations) {
      const Measure m = Best({args.self, "op", op, in, outDir + "/" + op + ".out"}, args.repeats);
      if (!m.ok) {
        std::printf("%s/%s failed\n", plan.page, op);
        ++failures;
        continue;
      }
      std::printf("%s/%s ratio_vs_tiffcp %.2f peak_rss_mb %.0f\n", plan.page, op,
                  m.cpuSeconds / floor.cpuSeconds, m.peakRssMb);
      std::fflush(stdout);
    }
  }
  return failures ? 1 : 0;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{
    .name = "orvella-bench-tiff",
    .run = &RunAll,
    .step = "op",
    .stepUsage = "OPERATION IN OUT",
    .stepArgCount = 3,
    .runStep = &RunOperation,
};

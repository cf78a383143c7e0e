// How fast a large plot is measured and rewritten, and in how much memory:
// plots of hundreds of MB must stream, never be held whole.
//   orvella-bench-plot run PAGES OUTDIR [REPEATS]   one line per figure:
//       NAME mb_per_s S peak_rss_mb R
// PAGES is not used: the plot (200 MB of pen moves in a PJL envelope) is
// generated in OUTDIR. measure strips the envelope and scans; scan is the scan
// of the stripped plot alone; measure_rewrite adds the rewrite. Each step runs as a child process; S is the
// plot's size over the child's CPU time, the best of REPEATS runs.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/bench_main.h"
#include "common/child_measure.h"
#include "printfile/plot_measure.h"
#include "printfile/plot_rewrite.h"

namespace {

using namespace orvella;

constexpr uint64_t kPlotBytes = 200ull << 20;

bool MakePlot(const std::filesystem::path& path) {
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= kPlotBytes) return true;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fputs(
      "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BBPIN;PS47520,33640;"
      "IP0,0,47520,33640;SC0,1189,0,841;SP1;PA0,0;",
      out);
  uint64_t written = 0;
  char line[96];
  for (unsigned i = 0; written < kPlotBytes; ++i) {
    const int n =
        std::snprintf(line, sizeof line, "PU%u,%u;PD%u,%u,%u,%u;PR-12.5,7.25,3,-4;\n", i % 47520,
                      (i * 7) % 33640, (i * 13) % 47520, (i * 3) % 33640, (i * 5) % 47520, (i * 11) % 33640);
    written += std::fwrite(line, 1, static_cast<size_t>(n), out);
  }
  std::fputs("PU;SP0;PG;\x1b%-12345X@PJL EOJ\r\n\x1b%-12345X", out);
  return std::fclose(out) == 0;
}

int Report(const char* name, const bench::Measure& m, double megabytes) {
  if (!m.ok || m.cpuSeconds <= 0) {
    std::printf("%s failed\n", name);
    return 1;
  }
  std::printf("%s mb_per_s %.0f peak_rss_mb %.1f\n", name, megabytes / m.cpuSeconds, m.peakRssMb);
  std::fflush(stdout);
  return 0;
}

int Run(const bench::RunArgs& args) {
  const std::filesystem::path dir = args.outDir;
  const auto plot = dir / "bench.plt";
  if (!MakePlot(plot)) {
    std::printf("plot/generate failed\n");
    return 1;
  }
  const double megabytes = static_cast<double>(std::filesystem::file_size(plot)) / (1 << 20);
  int failures = Report(
      "plot/measure_200mb",
      bench::Best({args.self, "step", "measure", plot.string(), dir.string()}, args.repeats), megabytes);
  // The measure step left the plot without its envelope in dir.
  failures += Report(
      "plot/scan_200mb",
      bench::Best({args.self, "step", "scan", (dir / printfile::kPlotNoCommandFile).string(), dir.string()},
                  args.repeats),
      megabytes);
  failures += Report("plot/measure_rewrite_200mb",
                     bench::Best({args.self, "step", "rewrite", plot.string(), dir.string()}, args.repeats),
                     megabytes);
  return failures ? 1 : 0;
}

// "measure PLOT DIR": strip and scan; "scan PLOT DIR": the scan alone;
// "rewrite PLOT DIR": measure and rewrite.
int Step(const std::vector<std::string>& words) {
  if (words[0] == "scan") {
    printfile::PlotScan scan;
    return printfile::ScanPlot(words[1], scan) ? 0 : 1;
  }
  printfile::PlotMeasure measure;
  base::Failure failure;
  if (!printfile::MeasurePlot(words[1], words[2], measure, failure)) return 1;
  if (words[0] == "measure") return 0;
  return printfile::RewritePlot(measure.scanned, std::filesystem::path(words[2]) / "rewritten.tmp",
                                measure.scan, 1)
             ? 0
             : 1;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{.name = "orvella-bench-plot",
                                                            .run = &Run,
                                                            .step = "step",
                                                            .stepUsage = "measure|scan|rewrite PLOT DIR",
                                                            .stepArgCount = 3,
                                                            .runStep = &Step};

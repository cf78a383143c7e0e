// How long one job's stamp takes to make. A four-row circle stamp at 600 dpi
// must stay well under 50 ms: it is rendered before every unit of work.
//   orvella-bench-stamps run PAGES OUTDIR [REPEATS]   one line per figure:
//       NAME cpu_ms_per_stamp T
// The stamp is painted and rendered in this process (PAGES is not used); T is
// the CPU time per stamp, the best of REPEATS runs.
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/bench_main.h"
#include "imaging/stamp_painter.h"

namespace {

using namespace orvella;

constexpr int kDpi = 600;
constexpr int kStampsPerRun = 20;
constexpr imaging::StampDate kDate{2004, 10, 1};

settings::StampSetting CircleStamp() {
  settings::StampSetting s = settings::NewStamp();
  s.type = settings::StampType::kSimple;
  s.font.SetFaceNameUtf8("ＭＳ Ｐゴシック");
  s.font.charSet = 128;
  s.pointSize = 12;
  s.borderType = settings::StampBorder::kCircle;
  s.fourthRow = true;
  s.rulerLines = true;
  s.lineWidth = 5;
  s.rowTexts = {"設計部", "", "承認 山田", "検図 佐藤"};
  s.dateRow = 2;
  s.dateType = settings::StampDateType::kYyyyMmDdJ;
  return s;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Milliseconds of CPU time per stamp, the best of repeats runs after one
// unmeasured stamp (fonts are loaded once per process); negative when
// makeStamp fails.
template <typename MakeStamp>
double BestMsPerStamp(int repeats, MakeStamp&& makeStamp) {
  if (!makeStamp()) return -1;
  double best = -1;
  for (int r = 0; r < repeats; ++r) {
    const double start = CpuSeconds();
    for (int i = 0; i < kStampsPerRun; ++i) {
      if (!makeStamp()) return -1;
    }
    const double ms = (CpuSeconds() - start) * 1000 / kStampsPerRun;
    if (best < 0 || ms < best) best = ms;
  }
  return best;
}

int Report(const char* name, double ms) {
  if (ms < 0) {
    std::printf("%s failed\n", name);
    return 1;
  }
  std::printf("%s cpu_ms_per_stamp %.2f\n", name, ms);
  std::fflush(stdout);
  return 0;
}

int Run(const bench::RunArgs& args) {
  const settings::StampSetting stamp = CircleStamp();
  const std::filesystem::path out = std::filesystem::path(args.outDir) / "stamp.tif";
  int failures = Report("stamp/paint_circle_600", BestMsPerStamp(args.repeats, [&] {
                          imaging::StampCanvas canvas;
                          return imaging::PaintStamp(stamp, kDpi, kDate, canvas, args.outDir);
                        }));
  failures +=
      Report("stamp/render_circle_600",
             BestMsPerStamp(args.repeats, [&] { return imaging::RenderStamp(stamp, kDpi, out, kDate); }));
  return failures ? 1 : 0;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{.name = "orvella-bench-stamps", .run = &Run};

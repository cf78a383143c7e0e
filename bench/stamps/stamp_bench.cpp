// How long one job's stamp takes to make. A four-row circle stamp at 600 dpi
// must stay well under 50 ms: it is rendered before every unit of work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "imaging/stamp_painter.h"

namespace {

using namespace orvella;

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

void BM_PaintCircleStamp600(benchmark::State& state) {
  const settings::StampSetting stamp = CircleStamp();
  for (auto _ : state) {
    imaging::StampCanvas canvas;
    benchmark::DoNotOptimize(
        imaging::PaintStamp(stamp, 600, {2004, 10, 1}, canvas, std::filesystem::temp_directory_path()));
  }
}
BENCHMARK(BM_PaintCircleStamp600)->Unit(benchmark::kMillisecond);

void BM_RenderCircleStamp600(benchmark::State& state) {
  const settings::StampSetting stamp = CircleStamp();
  const std::filesystem::path out =
      std::filesystem::temp_directory_path() / ("bench_stamp_" + std::to_string(getpid()) + ".tif");
  for (auto _ : state) {
    if (!imaging::RenderStamp(stamp, 600, out, {2004, 10, 1})) state.SkipWithError("render failed");
  }
  std::filesystem::remove(out);
}
BENCHMARK(BM_RenderCircleStamp600)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#include "imaging/convert_plot.h"

#include <gtest/gtest.h>

#include "imaging/plot_stamp_block.h"
#include "printfile/plot_measure.h"
#include "printfile/print_file_reader.h"
#include "support/imaging/test_bitmap.h"
#include "support/process_setup.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using orvella::test::ReadFileBytes;
using orvella::test::TempDir;
using orvella::test::WriteFileBytes;
using printfile::BodyPartKind;

TEST(PlotStampPosition, OnePositionPerPageAngle) {
  PlotConversionRequest request;
  request.modelIndex = 0;  // 400 dpi
  request.scale = 50;      // 31.49 dots per mm
  request.paperWidth = 297;
  request.paperLength = 420;
  StampPlacement stamp{true, "stamp.tif", 10, 20, 0};
  // X 314, Y 629, page 9354 x 13228 dots, stamp 100 x 50; then x 3/4.
  const struct {
    int angle, x, y;
  } cases[] = {{0, 235, 471}, {90, 6468, 235}, {180, 6705, 9411}, {270, 471, 9648}};
  for (const auto& c : cases) {
    request.pageAngle = c.angle;
    const auto at = PlotStampPosition(stamp, request, 100, 50);
    EXPECT_EQ(at.x, c.x) << c.angle;
    EXPECT_EQ(at.y, c.y) << c.angle;
  }
  request.modelIndex = 1;  // 600 dpi at 100 %: X 236, Y 472; then x 3/6
  request.scale = 100;
  request.pageAngle = 0;
  const auto at = PlotStampPosition(stamp, request, 100, 50);
  EXPECT_EQ(at.x, 118);
  EXPECT_EQ(at.y, 236);
}

struct PlotJob {
  TempDir dir;
  PlotConversionRequest request;

  PlotJob() {
    request.scale = 100;
    request.paperWidth = 297;
    request.paperLength = 210;
    request.trayNumber = 1;
    std::filesystem::create_directories(dir / "work");
  }

  bool Convert(const std::string& plot, base::Failure& failure) {
    WriteFileBytes(dir / "plot.plt", plot);
    return ConvertPlotJob(dir / "plot.plt", dir / "out.prn", request, 0,
                          {dir.Path(), dir / "work", orvella::test::ProcessFolders().data}, failure);
  }
};

TEST(ConvertPlotJob, WritesTheRewrittenPlotAndEachStampBlock) {
  PlotJob job;
  test::WriteTiff(job.dir / "stamp.tif", test::Bitmap::Random(40, 20, 7),
                  {.xResolution = 400, .yResolution = 400});
  job.request.stamps[1] = {true, job.dir / "stamp.tif", 10, 5, 0};
  base::Failure failure;
  ASSERT_TRUE(job.Convert("IN;PA0,0;PD4000,0,4000,2000;PU;PG;", failure)) << failure.detail;

  const auto view = printfile::ParsePrintFile(ReadFileBytes(job.dir / "out.prn"));
  EXPECT_TRUE(view.Clean());
  ASSERT_EQ(view.Count(BodyPartKind::kPlot), 1u);
  ASSERT_EQ(view.Count(BodyPartKind::kRtlStamp), 1u);
  for (const auto& part : view.body) {
    if (part.kind == BodyPartKind::kPlot) {
      // 100 x 50 mm centred on 297 x 210: 98.5 and 80 mm free on each side.
      EXPECT_EQ(part.plotPrefix, "\x1b%0BBP2,1;INIP0,0,4000,2000;SC-3940,60,-3200,-1200;RO90;PA0,0;");
    }
    if (part.kind == BodyPartKind::kRtlStamp) {
      EXPECT_EQ(part.rtl->width, 40);
      EXPECT_EQ(part.rtl->height, 20);
      EXPECT_EQ(part.rtl->x, 117);  // 157 dots at 400 dpi
      EXPECT_EQ(part.rtl->y, 58);   // 78 dots
    }
  }
}

TEST(ConvertPlotJob, EachStepFailsWithItsMessage) {
  struct Case {
    std::string plot;
    bool missingStamp;
    const char* message;
  };
  const Case cases[] = {
      {"IN;PD1,1;", false, printfile::kPlotStripError},
      {"IN;PA0,0;PD0,100,0,500;PU;PG;", false, printfile::kPlotSizeError},
      {"IN;PA0,0;PD400,800;PU;PG;", true, kPlotStampError},
  };
  for (const auto& c : cases) {
    PlotJob job;
    if (c.missingStamp) job.request.stamps[0] = {true, job.dir / "missing.tif", 0, 0, 0};
    base::Failure failure;
    EXPECT_FALSE(job.Convert(c.plot, failure)) << c.plot;
    EXPECT_EQ(failure.message, c.message);
    EXPECT_FALSE(failure.detail.empty()) << c.plot;
  }
  // Options the print file cannot carry, and no scale to centre with.
  for (const auto refuse : {+[](PlotConversionRequest& r) { r.trayNumber = -1; },
                            +[](PlotConversionRequest& r) { r.scale = 0; }}) {
    PlotJob job;
    refuse(job.request);
    base::Failure failure;
    EXPECT_FALSE(job.Convert("IN;PA0,0;PD400,800;PU;PG;", failure));
    EXPECT_EQ(failure.message, kPlotJobError);
    EXPECT_FALSE(failure.detail.empty());
  }
}

}  // namespace
}  // namespace orvella::imaging

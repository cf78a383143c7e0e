#include "printfile/job_option_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "printfile/plot_job.h"
#include "printfile/raster_job.h"
#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

RasterJobOptions GoodRaster() {
  RasterJobOptions o;
  o.trayName = "R1";
  o.resolution = 600;
  o.xMagnification = 0.707;
  o.quantity = 999;
  return o;
}

TEST(JobOptionChecks, RasterValuesThatWouldBreakTheHeaderWriteNothing) {
  const struct {
    const char* name;
    std::function<void(RasterJobOptions&)> spoil;
    const char* mentions;
  } cases[] = {
      {"comma in tray", [](auto& o) { o.trayName = "1,copies=99"; }, "comma"},
      {"escape in tray", [](auto& o) { o.trayName = "1\x1b%-12345X"; }, "control character 27"},
      {"nul in tray", [](auto& o) { o.trayName = std::string("1\0", 2); }, "control character 0"},
      {"resolution 0", [](auto& o) { o.resolution = 0; }, "resolution"},
      {"negative resolution", [](auto& o) { o.resolution = -600; }, "resolution"},
      {"magnification not a number", [](auto& o) { o.yMagnification = std::nan(""); }, "not a number"},
      {"absurd magnification", [](auto& o) { o.xMagnification = 1e9; }, "x magnification"},
      {"negative magnification", [](auto& o) { o.xMagnification = -1; }, "x magnification"},
      {"copies", [](auto& o) { o.quantity = 1000; }, "copy count"},
  };
  test::TempDir dir;
  test::WriteFileBytes(dir / "page.tif", "TIFF");
  ASSERT_FALSE(CheckRasterJobOptions(GoodRaster()));
  ASSERT_TRUE(WriteRasterJob(dir / "page.tif", dir / "good.prn", GoodRaster()));
  for (const auto& c : cases) {
    RasterJobOptions o = GoodRaster();
    c.spoil(o);
    const auto why = CheckRasterJobOptions(o);
    ASSERT_TRUE(why) << c.name;
    EXPECT_NE(why->find(c.mentions), std::string::npos) << c.name << ": " << *why;
    EXPECT_FALSE(WriteRasterJob(dir / "page.tif", dir / "bad.prn", o)) << c.name;
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.prn")) << c.name;
  }
}

TEST(JobOptionChecks, PlotScalesAndSizesMustBeSensible) {
  PlotJobOptions o;
  o.scale = 70.7;
  o.trayNumber = 2;
  EXPECT_FALSE(CheckPlotJobOptions(o));
  o.firstScale = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(CheckPlotJobOptions(o));
  o.firstScale = 0;
  o.paperHeight = -1;
  EXPECT_TRUE(CheckPlotJobOptions(o));
  test::TempDir dir;
  test::WriteFileBytes(dir / "plot", "IN;");
  EXPECT_FALSE(WritePlotJob(dir / "plot", dir / "bad.prn", o));
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.prn"));
}

}  // namespace
}  // namespace orvella::printfile

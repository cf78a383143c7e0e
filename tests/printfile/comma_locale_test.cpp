// Printer commands must keep their decimal point when the process runs under
// a locale whose decimal separator is a comma (the GUI sets the locale from
// the environment).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>

#include "printfile/plot_job.h"
#include "printfile/raster_job.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

// Selects a comma-decimal C locale, building one with localedef when the
// system has none installed. False when neither works.
bool UseCommaLocale(const test::TempDir& dir) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) return true;
  if (!std::filesystem::exists("/usr/bin/localedef")) return false;
  auto r = test::RunProcess("/usr/bin/localedef",
                            {"-i", "de_DE", "-f", "UTF-8", (dir / "de_DE.UTF-8").string()}, 120);
  if (r.exitCode != 0) return false;
  setenv("LOCPATH", dir.Path().c_str(), 1);
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST(CommaLocale, NumbersInHeadersKeepTheDecimalPoint) {
  test::TempDir dir;
  if (!UseCommaLocale(dir)) GTEST_SKIP() << "no comma-decimal locale can be made here";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale is really in force

  RasterJobOptions raster;
  raster.xMagnification = 0.7071;
  raster.yMagnification = 1.5;
  PlotJobOptions plot;
  plot.scale = 50;
  plot.firstScale = 100;
  plot.secondScale = 12.5;
  const std::string rasterHeader = BuildRasterJobHeader(raster);
  const std::string plotHeader = BuildPlotJobHeader(plot);
  std::setlocale(LC_ALL, "C");
  unsetenv("LOCPATH");

  EXPECT_NE(rasterHeader.find(",xmag=0.707,ymag=1.500,"), std::string::npos);
  EXPECT_NE(plotHeader.find("MS-1,20,50.0;MS-1,21,100.00;MS-1,22,12.50;"), std::string::npos);
}

}  // namespace
}  // namespace orvella::printfile

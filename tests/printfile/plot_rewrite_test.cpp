#include "printfile/plot_rewrite.h"

#include <gtest/gtest.h>

#include "printfile/plot_measure.h"
#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// What the rewrite leaves of the data behind a fixed prefix.
std::string RewrittenData(const std::string& bytes) {
  TempDir dir;
  WriteFileBytes(dir / "plot", bytes);
  const PlotScan scan;
  EXPECT_TRUE(RewritePlot(dir / "plot", dir / "out", scan, 1));
  const std::string out = ReadFileBytes(dir / "out");
  const std::string prefix = PlotPrefix(scan, 1);
  EXPECT_EQ(out.substr(0, prefix.size()), prefix);
  return out.substr(prefix.size());
}

TEST(PlotRewrite, RemovesUpperCaseSetUpInTheFirst200Positions) {
  const std::string x199(199, 'x');
  const std::string zeros(20, '\0');
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"\x1b%-1B\x1b%0BBPIN;DF;PS100,200;IP0,0,1,1;SC0,1,0,1;RO90;PA0,0;PD5,5;", "PA0,0;PD5,5;"},
      {"in;ip0,0,10,10;PD5,5;", "in;ip0,0,10,10;PD5,5;"},
      {"BP1,\"name\";PD1,1;", "\"name\";PD1,1;"},
      {x199 + "IN;PD1,1;", x199 + "PD1,1;"},
      {x199 + "xIN;PD1,1;", x199 + "xIN;PD1,1;"},
      {"PD1,1;PG1;" + zeros, "PD1,1;" + zeros},
      {"PG;PD1,1,2,2,3,3;", "PG;PD1,1,2,2,3,3;"},
      {"PU;PG;PG;", "PU;"},
      {"", ""},
      {"IN", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RewrittenData(c.in), c.out) << c.in;
}

// The whole set-up written in front of two realistic plots.
std::string ConvertedPrefix(const std::string& bytes, double paperWidth, double paperLength, double scale,
                            int rotation, int extraRotation) {
  TempDir dir;
  WriteFileBytes(dir / "plot", bytes);
  PlotMeasure measure;
  base::Failure failure;
  EXPECT_TRUE(MeasurePlot(dir / "plot", dir.Path(), measure, failure)) << failure.detail;
  const bool turned = rotation == 1 || rotation == 2;
  const double a = turned ? measure.size.height : measure.size.width;
  const double b = turned ? measure.size.width : measure.size.height;
  CentrePlot(measure.scan, a, b, paperWidth, paperLength, scale);
  measure.scan.rotation = PlotRotationToWrite(a, b, paperWidth, paperLength, rotation, extraRotation);
  EXPECT_TRUE(RewritePlot(measure.scanned, dir / "out", measure.scan, 1));
  return ReadFileBytes(dir / "out");
}

TEST(PlotRewrite, GoldenSetUps) {
  const std::string enveloped =
      "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n"
      "\x1b%0BBPIN;PS23760,33640;RO90;IP0,0,33640,23760;SC0,841,0,594;"
      "PA0,0;PD33640,0,33640,23760;PU;PG;\x1b%-12345X@PJL EOJ\r\n";
  EXPECT_EQ(ConvertedPrefix(enveloped, 841, 1189, 100, 0, 0),
            "\x1b%0BBP2,1;INIP0,0,33640,23760;SC-174,667,-124,470;RO0;PA0,0;"
            "PA0,0;PD33640,0,33640,23760;PU;");
  const std::string bare = "IN;SP1;PU1000,1000;PD5000,1000,5000,3000,1000,3000,1000,1000;PU;SP0;PG;";
  EXPECT_EQ(ConvertedPrefix(bare, 297, 210, 200, 1, 180),
            "\x1b%0BBP2,1;INIP0,0,5000,3000;SC-600,4400,-470,2530;RO90;PA0,0;"
            "SP1;PU1000,1000;PD5000,1000,5000,3000,1000,3000,1000,1000;PU;SP0;");
}

TEST(PlotMeasure, FailuresAndTheBarePlot) {
  struct Case {
    std::string bytes;
    const char* message;  // nullptr: measured
  };
  const Case cases[] = {
      {"IN;PD1,1;", kPlotStripError},
      {"\x1b%-12345X@PJL\r\nIN;PD1,1;PG;", kPlotStripError},
      {"IN;PA0,0;PD0,100,0,500;PU;PG;", kPlotSizeError},
      {"IN;PA0,0;PD400,800;PU;PG;", nullptr},
  };
  TempDir dir;
  for (const auto& c : cases) {
    WriteFileBytes(dir / "plot", c.bytes);
    PlotMeasure measure;
    base::Failure failure;
    const bool ok = MeasurePlot(dir / "plot", dir.Path(), measure, failure);
    EXPECT_EQ(ok, c.message == nullptr) << c.bytes;
    if (!ok) {
      EXPECT_EQ(failure.message, c.message);
      EXPECT_FALSE(failure.detail.empty());
      continue;
    }
    EXPECT_EQ(measure.scanned, dir / "plot");
    EXPECT_DOUBLE_EQ(measure.size.width, 10);
    EXPECT_DOUBLE_EQ(measure.size.height, 20);
  }
}

}  // namespace
}  // namespace orvella::printfile

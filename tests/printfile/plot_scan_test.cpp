#include "printfile/plot_scan.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::TempDir;
using test::WriteFileBytes;

struct Frame {
  int p1x, p1y, p2x, p2y, xmin, xmax, ymin, ymax;
  bool operator==(const Frame&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Frame& f) {
  return out << "P1(" << f.p1x << "," << f.p1y << ") P2(" << f.p2x << "," << f.p2y << ") SC(" << f.xmin << ","
             << f.xmax << "," << f.ymin << "," << f.ymax << ")";
}

PlotScan Scan(const std::string& bytes) {
  TempDir dir;
  WriteFileBytes(dir / "plot", bytes);
  PlotScan scan;
  EXPECT_TRUE(ScanPlot(dir / "plot", scan));
  CompletePlotFrame(scan);
  return scan;
}

Frame FrameOf(const PlotScan& s) {
  return {s.p1x, s.p1y, s.p2x, s.p2y, s.scaleXMin, s.scaleXMax, s.scaleYMin, s.scaleYMax};
}

TEST(PlotScan, CompletedFrame) {
  struct Case {
    const char* name;
    std::string bytes;
    Frame frame;
  };
  const std::string size = "PS50,60;";  // 8 bytes
  const std::string pad245(245, ' ');
  const Case cases[] = {
      {"positive drawing framed from the origin",
       "IN;PA100,200;PD400,600;PU;",
       {0, 0, 400, 600, 0, 400, 0, 600}},
      {"negative points widen the extent",
       "PA-100,-50;PD300,200;",
       {-100, -50, 300, 200, -100, 300, -50, 200}},
      {"relative moves add up", "PR100,100,50,-300;PA10,10;", {0, -200, 150, 100, 0, 150, -200, 100}},
      {"plot size wins over the extent", "PS4000,3000;PA0,0;PD10,10;", {0, 0, 4000, 3000, 0, 4000, 0, 3000}},
      {"IP and SC as given", "IP10,20,30,40;SC1,2,3,4;PD9,9;", {10, 20, 30, 40, 1, 2, 3, 4}},
      {"lower case is recognised", "in;ip10,20,30,40;sc1,2,3,4;pd9,9;", {10, 20, 30, 40, 1, 2, 3, 4}},
      {"IP ending at byte 255 counts", size + pad245 + "IP1,2,3,4;", {1, 2, 3, 4, 0, 50, 0, 60}},
      {"IP ending at byte 256 is ignored", size + pad245 + " IP1,2,3,4;", {0, 0, 50, 60, 0, 50, 0, 60}},
      {"IP with one point keeps P2 at 0", "IP10,20;PD5,5;", {10, 20, 0, 0, 0, 5, 0, 5}},
      {"signs and points", "PA+12.7,-3.9,.5,1.;", {0, -3, 12, 1, 0, 12, -3, 1}},
      {"eleven characters at most per number", "PA123456789012,5;", {0, 0, INT_MAX, 2, 0, INT_MAX, 0, 2}},
      {"a letter ends the pairs", "PD10,10 X 20,20;", {0, 0, 10, 10, 0, 10, 0, 10}},
  };
  for (const auto& c : cases) EXPECT_EQ(FrameOf(Scan(c.bytes)), c.frame) << c.name;
}

TEST(PlotScan, RotationAndWindowFlagsOnlyNearTheStart) {
  const auto near = Scan("RO90;IP0,0,1,1;");
  EXPECT_TRUE(near.rotationFound);
  EXPECT_EQ(near.rotation, 90);
  EXPECT_TRUE(near.inputWindowFound);
  const auto far = Scan(std::string(300, ';') + "RO90;IP0,0,1,1;");
  EXPECT_FALSE(far.rotationFound);
  EXPECT_FALSE(far.inputWindowFound);
}

TEST(PlotScan, MissingFileFails) {
  TempDir dir;
  PlotScan scan;
  EXPECT_FALSE(ScanPlot(dir / "missing", scan));
}

}  // namespace
}  // namespace orvella::printfile

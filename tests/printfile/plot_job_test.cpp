#include "printfile/plot_job.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const std::string kTrailer = "PG;\x1b%-12345X@PJL\n@PJL EOJ\n@PJL RESET\n";

PlotJobOptions RollJob() {
  PlotJobOptions o;
  o.paperWidth = 841;
  o.paperHeight = 1189;
  o.trayNumber = 2;
  o.rollFlag = 1;
  o.scale = 100;
  o.firstScale = 100;
  o.secondScale = 100;
  o.foldType = 3;
  o.foldMargin = 25;
  return o;
}

TEST(PlotJob, NoStampsWritesOnePartEndExactly) {
  TempDir dir;
  WriteFileBytes(dir / "hpgl_rewrite.tmp", "\x1b%0BIN;PD0,0,100,100;");
  ASSERT_TRUE(WritePlotJob(dir / "hpgl_rewrite.tmp", dir / "sendfile.prn", RollJob()));
  EXPECT_EQ(ReadFileBytes(dir / "sendfile.prn"),
            "\x1b%-12345X@PJL\r\n@PJL JOB\n@PJL SET USERID=\"DEFAULT\"\n"
            "@PJL SET OUTBIN = FINISHERFOLD\n@PJL SET COPIERFOLD = OFF\n"
            "@PJL SET FOLD = FILE\n@PJL SET FOLDMARGIN = 25\n"
            "@PJL SET COPIERSTAMP=OFF\n@PJL ENTER LANGUAGE=GL2\r\n"
            "\x1b\x12!-1,1,2@GL2\x1b "
            "\x1b\x12?5841,1189,R\x1b "
            "MS-1,6,2;MS-1,18,2;MS-1,24,2;MS-1,43,1;MS-1,23,3;MS-1,20,100.0;MS-1,21,100.00;MS-1,22,100.00;"
            "MS-1,47,1;"
            "\x1b%0BIN;PD0,0,100,100;IW;IN;" +
                kTrailer);
}

TEST(PlotJob, StampsOneAndThreeFollowThePlotEachWithPartEnd) {
  TempDir dir;
  WriteFileBytes(dir / "plot", "PLOT");
  WriteFileBytes(dir / "stamp0.rtl", "S0");
  WriteFileBytes(dir / "stamp2.rtl", "S2");
  PlotJobOptions o;
  o.programNumber = 12;
  o.trayNumber = 1;
  o.scale = 33.35;
  o.firstScale = 50.5;
  o.secondScale = 25.125;
  o.stampFiles = {(dir / "stamp0.rtl").string(), "", (dir / "stamp2.rtl").string()};
  ASSERT_TRUE(WritePlotJob(dir / "plot", dir / "out.prn", o));
  EXPECT_EQ(ReadFileBytes(dir / "out.prn"),
            "\x1b%-12345X@PJL\r\n@PJL JOB\n@PJL SET USERID=\"DEFAULT\"\n"
            "@PJL SET COPIERSTAMP=OFF\n@PJL ENTER LANGUAGE=GL2\r\n"
            "\x1b\x12!0@P12\x1b "
            "MS-1,6,2;MS-1,18,2;MS-1,24,1;MS-1,43,1;MS-1,23,3;MS-1,20,33.4;MS-1,21,50.50;MS-1,22,25.12;"
            "MS-1,47,1;"
            "PLOTIW;IN;S0IW;IN;S2IW;IN;" +
                kTrailer);
}

TEST(PlotJob, FailsWhenAStampFileIsMissing) {
  TempDir dir;
  WriteFileBytes(dir / "plot", "PLOT");
  PlotJobOptions o = RollJob();
  o.stampFiles[1] = (dir / "missing.rtl").string();
  std::string detail;
  EXPECT_FALSE(WritePlotJob(dir / "plot", dir / "out.prn", o, &detail));
  EXPECT_EQ(detail, "cannot open " + (dir / "missing.rtl").string() + ": No such file or directory");
  EXPECT_FALSE(WritePlotJob(dir / "missing", dir / "out.prn", RollJob(), &detail));
  EXPECT_EQ(detail, "cannot open " + (dir / "missing").string() + ": No such file or directory");
}

}  // namespace
}  // namespace orvella::printfile

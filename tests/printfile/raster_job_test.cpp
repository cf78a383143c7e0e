#include "printfile/raster_job.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const std::string kTrailer = "PG;\x1b%-12345X@PJL\n@PJL EOJ\n@PJL RESET\n";
const std::string kHeaderStart = "\x1b%-12345X@PJL\r\n@PJL JOB\n@PJL SET USERID = \"DEFAULT\"\n";

std::string WriteAndRead(const TempDir& dir, const std::string& source, const RasterJobOptions& options) {
  WriteFileBytes(dir / "page.tif", source);
  EXPECT_TRUE(WriteRasterJob(dir / "page.tif", dir / "sendfile.prn", options));
  return ReadFileBytes(dir / "sendfile.prn");
}

TEST(RasterJob, WideClassWritesFoldBlockAndFreeSizeExactly) {
  TempDir dir;
  RasterJobOptions o;
  o.trayName = "R1";
  o.resolution = 600;
  o.foldType = 16;
  o.foldMargin = 20;
  o.landscape = 1;
  o.fit = 1;
  o.freeSizeFlag = 1;
  o.freeSizeWidth = 841;
  o.freeSizeHeight = 1189;
  o.xMagnification = 0.7071;
  o.quantity = 5;  // finisher copies belong to class 1 only
  o.finishing.staple = 1;
  EXPECT_EQ(WriteAndRead(dir, "TIFFDATA", o),
            kHeaderStart +
                "@PJL SET OUTBIN = FINISHERFOLD\n@PJL SET COPIERFOLD = OFF\n"
                "@PJL SET FOLD = ZIGZAG\n@PJL SET FOLDWIDTH = 170\n"
                "@PJL SET COPIERSTAMP = OFF\n@PJL ENTER LANGUAGE = RTF\r\n"
                "\x1b\x12!-1@RTF\x1b "
                "\x1b\x12?z,tray=R1,maxarea,copies=1,600dpi,xmag=0.707,tifffit,landscape,freesize=841x1189,"
                "noerrorprint\x1b "
                "TIFFDATA" +
                kTrailer);
}

TEST(RasterJob, A2ClassWritesFinisherLinesAndOptionsInOrder) {
  TempDir dir;
  RasterJobOptions o;
  o.printerClass = 1;
  o.programNumber = 7;
  o.finishing.staple = 1;
  o.finishing.punch = 3;
  o.finishing.zFold = 2;
  o.quantity = 3;
  o.finishing.duplex = 1;
  o.finishing.twoUp = 1;
  o.finishing.autoPaper = 1;
  o.finishing.autoPaperPercent = 80;
  o.errorPrint = 1;
  o.resolution = 600;
  o.xMagnification = 1;
  o.yMagnification = 0.5;
  o.foldType = 5;      // folds belong to class 0 only
  o.freeSizeFlag = 1;  // so does the free size
  EXPECT_EQ(
      WriteAndRead(dir, "", o),
      kHeaderStart +
          "@PJL SET STAPLE = LEFTTOP\n@PJL SET PUNCH = TOPPORT\n@PJL SET FOLD = ZRIGHT\n@PJL SET QTY = 3\n"
          "@PJL SET COPIERSTAMP = OFF\n@PJL ENTER LANGUAGE = RTF\r\n"
          "\x1b\x12!0@P7\x1b "
          "\x1b\x12?z,autopaper=80%,autotray,maxarea,copies=1,600dpi,xmag=1.000,ymag=0.500,portrait,"
          "errorprint,"
          "bothside,multicols=1,multirows=2,leftspace=0,rightspace=0,topspace=0,bottomspace=0,usualrot\x1b " +
          kTrailer);
}

// Variations on one A2 job: what each field adds to or keeps out of the header.
TEST(RasterJob, OptionVariations) {
  struct Case {
    const char* name;
    void (*change)(RasterJobOptions&);
    std::vector<std::string> present;
    std::vector<std::string> absent;
  };
  const Case cases[] = {
      {"quantity 1", [](RasterJobOptions& o) { o.quantity = 1; }, {}, {"QTY"}},
      {"quantity 2", [](RasterJobOptions& o) { o.quantity = 2; }, {"@PJL SET QTY = 2\n"}, {}},
      {"x magnification 0", [](RasterJobOptions& o) { o.xMagnification = 0; }, {}, {"xmag"}},
      {"landscape two-up",
       [](RasterJobOptions& o) { o.landscape = 1; },
       {",landscape,noerrorprint,singleside,multicols=2,multirows=1,leftspace=0"},
       {"multicols=1"}},
      {"flip", [](RasterJobOptions& o) { o.finishing.duplex = 2; }, {",flip"}, {"singleside"}},
      {"duplex out of range",
       [](RasterJobOptions& o) { o.finishing.duplex = 3; },
       {"noerrorprint,multicols"},
       {"side", "flip"}},
      {"staple 5 punch 1 zfold 3",
       [](RasterJobOptions& o) {
         o.finishing.staple = 5;
         o.finishing.punch = 1;
         o.finishing.zFold = 3;
       },
       {"STAPLE = TOP2PORT\n@PJL SET PUNCH = LEFTPORT\n@PJL SET FOLD = ZBOTTOM\n", ",usualrot\x1b "},
       {}},
      {"finisher values out of range",
       [](RasterJobOptions& o) {
         o.finishing.staple = 6;
         o.finishing.punch = -1;
         o.finishing.zFold = 4;
       },
       {",usualrot"},
       {"STAPLE", "PUNCH", "ZLEFT", "ZRIGHT", "ZBOTTOM"}},
      {"auto paper off",
       [](RasterJobOptions& o) { o.finishing.autoPaper = 0; },
       {"?z,tray=T2,maxarea"},
       {"autopaper"}},
      {"class 0 ignores auto paper and finishing",
       [](RasterJobOptions& o) {
         o.printerClass = 0;
         o.finishing.staple = 1;
         o.finishing.zFold = 1;
       },
       {"?z,tray=T2,maxarea", "USERID = \"DEFAULT\"\n@PJL SET COPIERSTAMP"},
       {"autopaper", "STAPLE", "usualrot", "singleside", "multicols", "QTY"}},
      {"other class: no finishing at all",
       [](RasterJobOptions& o) {
         o.printerClass = 2;
         o.foldType = 3;
         o.finishing.staple = 1;
         o.quantity = 4;
       },
       {"USERID = \"DEFAULT\"\n@PJL SET COPIERSTAMP", "?z,tray=T2,"},
       {"FOLD", "STAPLE", "QTY", "singleside"}},
      {"negative program number",
       [](RasterJobOptions& o) { o.programNumber = -3; },
       {"\x1b\x12!0@P-3\x1b "},
       {"RTF\x1b "}},
  };
  for (const auto& c : cases) {
    RasterJobOptions o;
    o.printerClass = 1;
    o.trayName = "T2";
    o.finishing.autoPaper = 1;
    o.finishing.autoPaperPercent = 90;
    o.finishing.twoUp = 1;
    o.quantity = 1;
    o.xMagnification = 0;
    o.resolution = 400;
    c.change(o);
    const std::string header = BuildRasterJobHeader(o);
    for (const auto& p : c.present) EXPECT_NE(header.find(p), std::string::npos) << c.name << ": " << p;
    for (const auto& a : c.absent) EXPECT_EQ(header.find(a), std::string::npos) << c.name << ": " << a;
  }
}

TEST(RasterJob, LongTrayNameIsWrittenWhole) {
  // The header is not a fixed buffer: the longest combination is never cut.
  RasterJobOptions o;
  o.trayName = std::string(2000, 'T');
  o.resolution = 600;
  o.xMagnification = 1e300;
  const std::string header = BuildRasterJobHeader(o);
  EXPECT_NE(header.find(",tray=" + o.trayName + ",maxarea"), std::string::npos);
  EXPECT_TRUE(header.ends_with(",portrait,noerrorprint\x1b "));
}

TEST(RasterJob, CopiesSourcesOfAnySizeUnchanged) {
  TempDir dir;
  RasterJobOptions o;
  o.resolution = 600;
  const std::string header = BuildRasterJobHeader(o);
  for (size_t size : {size_t{0}, size_t{1}, size_t{10 * 1024 * 1024}, size_t{10 * 1024 * 1024 + 3},
                      size_t{20 * 1024 * 1024 + 1}}) {
    std::string source(size, '\0');
    for (size_t i = 0; i < size; ++i) source[i] = static_cast<char>(i * 7 + i / 4096);
    const std::string file = WriteAndRead(dir, source, o);
    ASSERT_EQ(file.size(), header.size() + size + kTrailer.size()) << size;
    EXPECT_TRUE(file.compare(header.size(), size, source) == 0) << size;
    EXPECT_EQ(file.substr(file.size() - kTrailer.size()), kTrailer) << size;
  }
}

// The failure says which file it concerned and why, in the system's words.
TEST(RasterJob, FailsWhenSourceOrOutputIsUnusable) {
  TempDir dir;
  WriteFileBytes(dir / "page.tif", "data");
  const std::string page = (dir / "page.tif").string();
  const std::string missing = (dir / "missing.tif").string();
  const std::string folder = dir.Path().string();
  const std::string nowhere = (dir / "no-such-folder" / "out.prn").string();
  const std::string underFile = (dir / "page.tif" / "out.prn").string();
  struct Case {
    std::string source;
    std::string output;
    std::string detail;
  };
  const Case cases[] = {
      {missing, folder + "/out.prn", "cannot open " + missing + ": No such file or directory"},
      {folder, folder + "/out2.prn", folder + " is a folder, not a file"},
      {page, nowhere, "cannot create the print file " + nowhere + ": No such file or directory"},
      {page, underFile, "cannot create the print file " + underFile + ": Not a directory"},
      // A full disk is not success.
      {page, "/dev/full", "cannot write the print file /dev/full: No space left on device"},
  };
  RasterJobOptions o;
  o.resolution = 600;
  for (const Case& c : cases) {
    std::string detail;
    EXPECT_FALSE(WriteRasterJob(c.source, c.output, o, &detail)) << c.detail;
    EXPECT_EQ(detail, c.detail);
  }
  RasterJobOptions refused = o;
  refused.trayName = "A1,copies=9";
  std::string detail;
  EXPECT_FALSE(WriteRasterJob(page, folder + "/out3.prn", refused, &detail));
  EXPECT_NE(detail.find("tray"), std::string::npos) << detail;
}

TEST(RasterJob, OutputIsWrittenFromScratch) {
  TempDir dir;
  WriteFileBytes(dir / "sendfile.prn", std::string(100000, '~'));
  RasterJobOptions o;
  o.resolution = 600;
  const std::string file = WriteAndRead(dir, "T", o);
  EXPECT_EQ(file.find('~'), std::string::npos);
}

}  // namespace
}  // namespace orvella::printfile

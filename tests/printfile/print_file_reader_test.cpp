#include "printfile/print_file_reader.h"

#include <gtest/gtest.h>

#include "printfile/plot_job.h"
#include "printfile/raster_job.h"
#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using namespace std::string_literals;

const std::string kData = std::string(ORVELLA_TEST_DATA) + "/printfile/";

// A stamp block as the stamp raster writer makes it: 16 x 2 dots at (100, 200).
std::string RtlStamp(const std::string& row1, const std::string& row2) {
  return "\x1b%0A\x1b*t300R\x1b*r16s2t0A\x1b*p100x200Y\x1b*b0M\x1b*b" + std::to_string(row1.size()) + "W" +
         row1 + "\x1b*b" + std::to_string(row2.size()) + "W" + row2 + "\x1b*rC\x1b%0B";
}

std::vector<std::string> Texts(const std::vector<PjlLine>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.text);
  return out;
}

std::string Describe(const PrintFileView& v) {
  std::string s;
  for (const auto& u : v.unrecognised)
    s += std::to_string(u.offset) + "+" + std::to_string(u.size) + " " + u.what + "\n";
  return s;
}

// Options any printer takes; the tests here are about the body.
RasterJobOptions Plain() {
  RasterJobOptions o;
  o.resolution = 600;
  return o;
}

TEST(PrintFileReader, SplitsARasterJob) {
  TempDir dir;
  RasterJobOptions o;
  o.printerClass = 1;
  o.finishing.staple = 2;
  o.trayName = "A3";
  o.resolution = 600;
  o.finishing.duplex = 2;
  ASSERT_TRUE(WriteRasterJob(kData + "two_pages_g4.tif", dir / "job.prn", o));
  std::string error;
  auto v = ReadPrintFile(dir / "job.prn", error);
  ASSERT_TRUE(v) << error;
  EXPECT_TRUE(v->Clean()) << Describe(*v);
  EXPECT_TRUE(v->universalExit);
  EXPECT_EQ(Texts(v->pjl),
            (std::vector<std::string>{"@PJL", "@PJL JOB", "@PJL SET USERID = \"DEFAULT\"",
                                      "@PJL SET STAPLE = RIGHTTOP", "@PJL SET COPIERSTAMP = OFF",
                                      "@PJL ENTER LANGUAGE = RTF"}));
  EXPECT_EQ(v->pjl[0].end, LineEnd::kCrLf);
  EXPECT_EQ(v->pjl[1].end, LineEnd::kLf);
  EXPECT_EQ(v->pjl.back().end, LineEnd::kCrLf);
  EXPECT_EQ(v->language, "RTF");
  ASSERT_EQ(v->escapes.size(), 2u);
  EXPECT_EQ(v->escapes[0].text, "!-1@RTF");
  EXPECT_EQ(v->escapes[1].command, "?z");
  EXPECT_EQ(v->escapes[1].arguments, (std::vector<std::string>{"tray=A3", "maxarea", "copies=1", "600dpi",
                                                               "portrait", "noerrorprint", "flip"}));
  ASSERT_EQ(v->body.size(), 1u);
  const auto& tiff = v->body[0];
  EXPECT_EQ(tiff.kind, BodyPartKind::kTiff);
  EXPECT_EQ(tiff.offset, v->bodyOffset);
  EXPECT_EQ(tiff.size, ReadFileBytes(kData + "two_pages_g4.tif").size());
  ASSERT_EQ(tiff.tiff->directories.size(), 2u);
  for (const auto& d : tiff.tiff->directories) {
    EXPECT_EQ(d.width, 64u);
    EXPECT_EQ(d.length, 40u);
    EXPECT_EQ(d.compression, 4u);
    EXPECT_EQ(d.xResolution, 600);
    EXPECT_EQ(d.strips, 1u);
  }
  EXPECT_TRUE(v->trailerFound);
  EXPECT_EQ(v->trailerOffset, tiff.offset + tiff.size);
  EXPECT_EQ(Texts(v->trailerPjl), (std::vector<std::string>{"@PJL", "@PJL EOJ", "@PJL RESET"}));
}

TEST(PrintFileReader, TakesTiffFilesBackToBackAndAnEmptyBody) {
  TempDir dir;
  const std::string one = ReadFileBytes(kData + "one_page_g4.tif");
  const std::string two = ReadFileBytes(kData + "two_pages_g4.tif");
  WriteFileBytes(dir / "pages.tif", one + two);
  WriteFileBytes(dir / "empty.tif", "");
  ASSERT_TRUE(WriteRasterJob(dir / "pages.tif", dir / "pages.prn", Plain()));
  ASSERT_TRUE(WriteRasterJob(dir / "empty.tif", dir / "empty.prn", Plain()));
  std::string error;
  auto pages = ReadPrintFile(dir / "pages.prn", error);
  ASSERT_TRUE(pages);
  EXPECT_TRUE(pages->Clean()) << Describe(*pages);
  ASSERT_EQ(pages->Count(BodyPartKind::kTiff), 2u);
  EXPECT_EQ(pages->body[0].size, one.size());
  EXPECT_EQ(pages->body[1].offset, pages->bodyOffset + one.size());
  EXPECT_EQ(pages->body[1].tiff->directories.size(), 2u);
  auto empty = ReadPrintFile(dir / "empty.prn", error);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->Clean()) << Describe(*empty);
  EXPECT_TRUE(empty->body.empty());
  EXPECT_TRUE(empty->trailerFound);
}

TEST(PrintFileReader, SplitsAPlotJobWithStampBlocks) {
  TempDir dir;
  // Plot data that itself holds the part end and an RTL image, and stamp
  // rows that hold bytes looking like commands.
  const std::string plot = "\x1b%0BIN;LBIW;IN;\x03IW;IN;\x1b%0A\x1b*rC\x1b%0BPD0,0;";
  const std::string stamp1 = RtlStamp("IW", ";IN;\x1b%");
  const std::string stamp3 = RtlStamp("\x1b%0B", "PG;\x1b");
  WriteFileBytes(dir / "plot", plot);
  WriteFileBytes(dir / "s1.rtl", stamp1);
  WriteFileBytes(dir / "s3.rtl", stamp3);
  PlotJobOptions o;
  o.rollFlag = 1;
  o.paperWidth = 594;
  o.paperHeight = 1000;
  o.scale = 100;
  o.stampFiles = {(dir / "s1.rtl").string(), "", (dir / "s3.rtl").string()};
  ASSERT_TRUE(WritePlotJob(dir / "plot", dir / "job.prn", o));
  std::string error;
  auto v = ReadPrintFile(dir / "job.prn", error);
  ASSERT_TRUE(v);
  EXPECT_TRUE(v->Clean()) << Describe(*v);
  EXPECT_EQ(v->language, "GL2");
  EXPECT_EQ(v->pjl[2].text, "@PJL SET USERID=\"DEFAULT\"");
  ASSERT_EQ(v->escapes.size(), 2u);
  EXPECT_EQ(v->escapes[1].command, "?5");
  EXPECT_EQ(v->escapes[1].arguments, (std::vector<std::string>{"594", "1000", "R"}));
  EXPECT_EQ(v->plotSetup.size(), 9u);
  EXPECT_EQ(v->plotSetup[5], "MS-1,20,100.0;");

  std::vector<BodyPartKind> kinds;
  for (const auto& p : v->body) kinds.push_back(p.kind);
  using K = BodyPartKind;
  ASSERT_EQ(kinds,
            (std::vector<K>{K::kPlot, K::kPartEnd, K::kRtlStamp, K::kPartEnd, K::kRtlStamp, K::kPartEnd}));
  EXPECT_EQ(v->body[0].size, plot.size());
  EXPECT_EQ(v->body[2].size, stamp1.size());
  const auto& rtl = *v->body[4].rtl;
  EXPECT_EQ(rtl.resolution, 300);
  EXPECT_EQ(rtl.width, 16);
  EXPECT_EQ(rtl.height, 2);
  EXPECT_EQ(rtl.x, 100);
  EXPECT_EQ(rtl.y, 200);
  EXPECT_EQ(rtl.rows, 2);
  EXPECT_EQ(rtl.dataBytes, 8u);
}

TEST(PrintFileReader, PlotJobWithoutStamps) {
  TempDir dir;
  WriteFileBytes(dir / "plot", "\x1b%0BPD;");
  ASSERT_TRUE(WritePlotJob(dir / "plot", dir / "job.prn", PlotJobOptions{}));
  std::string error;
  auto v = ReadPrintFile(dir / "job.prn", error);
  ASSERT_TRUE(v);
  EXPECT_TRUE(v->Clean()) << Describe(*v);
  EXPECT_EQ(v->Count(BodyPartKind::kPartEnd), 1u);
  EXPECT_EQ(v->Count(BodyPartKind::kRtlStamp), 0u);
}

std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) {
  return Le16(static_cast<uint16_t>(v & 0xFFFF)) + Le16(static_cast<uint16_t>(v >> 16));
}
std::string Entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  return Le16(tag) + Le16(type) + Le32(count) + Le32(value);
}

TEST(PrintFileReader, ReportsDamagedFilesWithoutFailing) {
  const std::string head = "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE = RTF\r\n\x1b\x12?z,tray=A\x1b ";
  const std::string trailer = "PG;\x1b%-12345X@PJL\n@PJL EOJ\n@PJL RESET\n";
  // One directory whose strip lies beyond the data, and one pointing at itself.
  const std::string stripBeyond =
      "II*\0"s + Le32(8) + Le16(2) + Entry(273, 4, 1, 5000) + Entry(279, 4, 1, 10) + Le32(0);
  const std::string loop = "II*\0"s + Le32(8) + Le16(0) + Le32(8);
  struct Case {
    const char* name;
    std::string bytes;
    std::string what;  // start of the first complaint
  };
  const Case cases[] = {
      {"empty", "", "no universal exit language"},
      {"garbage", "hello world", "no universal exit language"},
      {"no language", "\x1b%-12345X@PJL\r\n@PJL JOB\n" + trailer, "no ENTER LANGUAGE line"},
      {"unterminated command", head.substr(0, head.size() - 2), "printer command without"},
      {"no trailer", head + "II", "no trailer"},
      {"raster body not TIFF", head + "not a tiff" + trailer, "raster data is not a TIFF file"},
      {"strip beyond the data", head + stripBeyond + trailer, "raster data is not a TIFF file: image data"},
      {"directory loop", head + loop + trailer, "raster data is not a TIFF file: directory chain loops"},
      {"unknown language", "\x1b%-12345X@PJL ENTER LANGUAGE=PCL\n1234" + trailer, "body in an unknown"},
      {"plot without part end", "\x1b%-12345X@PJL ENTER LANGUAGE=GL2\r\nPD;" + trailer, "no IW;IN; after"},
      {"cut stamp block", "\x1b%-12345X@PJL ENTER LANGUAGE=GL2\r\nPD;IW;IN;\x1b%0A\x1b*b9WAB" + trailer,
       "no IW;IN; after"},
      {"bytes after the trailer", head + trailer + "x", "bytes after the trailer"},
      {"trailer without RESET", head + "PG;\x1b%-12345X@PJL\n@PJL EOJ\n", "trailer lines are not"},
  };
  for (const auto& c : cases) {
    const PrintFileView v = ParsePrintFile(c.bytes);
    ASSERT_FALSE(v.Clean()) << c.name;
    EXPECT_TRUE(v.unrecognised[0].what.starts_with(c.what)) << c.name << ": " << Describe(v);
  }
}

TEST(PrintFileReader, EveryTruncationOfAGoodFileIsHandled) {
  TempDir dir;
  WriteFileBytes(dir / "plot", "\x1b%0BPD0,0;");
  WriteFileBytes(dir / "s.rtl", RtlStamp("ab", "cd"));
  PlotJobOptions plot;
  plot.rollFlag = 1;
  plot.foldType = 2;
  plot.stampFiles[1] = (dir / "s.rtl").string();
  ASSERT_TRUE(WritePlotJob(dir / "plot", dir / "plot.prn", plot));
  ASSERT_TRUE(WriteRasterJob(kData + "two_pages_g4.tif", dir / "raster.prn", Plain()));
  for (const char* name : {"plot.prn", "raster.prn"}) {
    const std::string bytes = ReadFileBytes(dir / name);
    EXPECT_TRUE(ParsePrintFile(bytes).Clean()) << name;
    for (size_t n = 0; n < bytes.size(); ++n) {
      const PrintFileView v = ParsePrintFile(std::string_view(bytes).substr(0, n));
      EXPECT_FALSE(v.Clean()) << name << " cut at " << n;
    }
  }
}

TEST(PrintFileReader, UnreadableFile) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(ReadPrintFile(dir / "missing.prn", error));
  EXPECT_NE(error.find("missing.prn"), std::string::npos);
  EXPECT_FALSE(ReadPrintFile(dir.Path(), error));
}

}  // namespace
}  // namespace orvella::printfile

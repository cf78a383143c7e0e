#include "printfile/plot_envelope.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::printfile {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const std::string kOpen = "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n";
const std::string kClose = "\x1b%-12345X@PJL EOJ\r\n\x1b%-12345X";

TEST(PlotEnvelope, HeadNeedsSixteenBytesAndTellsEnvelopeAndLineEnd) {
  struct Case {
    std::string bytes;
    bool ok, envelope, lfOnly;
  };
  const Case cases[] = {
      {"", false, false, false},
      {"IN;PA0,0;PD1,1;", false, false, false},  // 15 bytes, even without envelope
      {"IN;PA0,0;PD10,10;", true, false, false},
      {kOpen, true, true, false},
      {"\x1b%-12345X@PJL\n@PJL", true, true, true},
      {"\x1b%-12345X@\r\n\n\n\n\n\n\n", true, true, false},
  };
  TempDir dir;
  for (const auto& c : cases) {
    WriteFileBytes(dir / "plot", c.bytes);
    PlotHead head;
    std::string detail;
    EXPECT_EQ(ReadPlotHead(dir / "plot", head, &detail), c.ok) << c.bytes;
    if (!c.ok) {
      EXPECT_FALSE(detail.empty());
      continue;
    }
    EXPECT_EQ(head.envelope, c.envelope) << c.bytes;
    EXPECT_EQ(head.lfOnly, c.lfOnly) << c.bytes;
  }
  PlotHead head;
  EXPECT_FALSE(ReadPlotHead(dir / "missing", head));
}

TEST(PlotEnvelope, StripKeepsEnterThroughLastPageEndAndBlanksThePclSwitch) {
  TempDir dir;
  WriteFileBytes(dir / "plot", kOpen + "\x1b%0BIN;PG;PD1,1;\x1b%1A123456789XYPG;" + kClose);
  std::string detail;
  ASSERT_TRUE(StripPlotEnvelope(dir / "plot", dir / "out", &detail)) << detail;
  EXPECT_EQ(ReadFileBytes(dir / "out"), "\x1b%0BIN;PG;PD1,1;             XYPG;");
}

TEST(PlotEnvelope, StripBlanksNoFurtherThanTheData) {
  TempDir dir;
  WriteFileBytes(dir / "plot", kOpen + "\x1b%0BPD1,1;PG;\x1b%1A12");
  ASSERT_TRUE(StripPlotEnvelope(dir / "plot", dir / "out"));
  EXPECT_EQ(ReadFileBytes(dir / "out"), "\x1b%0BPD1,1;PG;");
}

TEST(PlotEnvelope, StripFailsWithoutEitherEnd) {
  const std::string cases[] = {
      kOpen + "IN;PD1,1;PG;" + kClose,      // no ESC %0B
      kOpen + "\x1b%0BIN;PD1,1;" + kClose,  // no PG;
      kOpen + "PG;xxxx\x1b%0B",             // ESC %0B within the last 4 bytes
      kOpen + "PG;\x1b%0BPD1,1;",           // the last PG; before ESC %0B
  };
  TempDir dir;
  for (const auto& bytes : cases) {
    WriteFileBytes(dir / "plot", bytes);
    std::string detail;
    EXPECT_FALSE(StripPlotEnvelope(dir / "plot", dir / "out", &detail)) << bytes;
    EXPECT_FALSE(detail.empty());
  }
}

}  // namespace
}  // namespace orvella::printfile

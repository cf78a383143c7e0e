#include "jobs/input_file_type.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

const std::string kUel = "\x1B%-12345X@PJL";

TEST(DetectInputFileType, TellsTiffEnvelopedHpglAndTheRest) {
  struct Case {
    std::string content;
    InputFileType off;  // with unsupported GL disabled
    InputFileType on;   // and enabled
  };
  const auto T = InputFileType::kTiff;
  const auto H = InputFileType::kHpgl2;
  const auto U = InputFileType::kUnsupported;
  const Case cases[] = {
      {std::string("MM\0*", 4), T, T},
      {std::string("II*\0", 4), T, T},
      {kUel + "\r\n@PJL JOB\r\n@PJL ENTER LANGUAGE = HPGL2\r\nIN;", H, H},
      {kUel + "\n@PJL ENTER LANGUAGE=GL2\n", H, H},
      {kUel + "\r@PJL ENTER LANGUAGE = HPGL2\r", H, H},
      {kUel + "\r\n@PJL ENTER LANGUAGE = RTF\r\n", U, U},
      {kUel + "\r\n@PJL ENTER LANGUAGE = HPGL/2\r\n", U, U},
      {kUel + "\r\n@PJL ENTER LANGUAGE\r\n= GL2\r\n", U, U},     // the language ends at the line end
      {kUel + "\r\n@PJL ENTER LANGUAGE GL2 = RTF\r\n", U, U},    // GL2 only counts after the "="
      {kUel + "\r\n@PJL ENTER LANGUAGE = \x1BGL2\r\n", U, U},    // an escape ends it too
      {kUel + "\r\n@PJL ENTER LANG", U, U},                      // no language line
      {kUel + " JOB\r\n@PJL ENTER LANGUAGE = HPGL2\r\n", U, H},  // no line end after the envelope
      {"IN;SP1;PA0,0;PD100,100;", U, H},
      {"", U, H},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    test::WriteFileBytes(dir / "input.plt", c.content);
    InputFileType type = InputFileType::kTiff;
    EXPECT_TRUE(DetectInputFileType(dir / "input.plt", type, false));
    EXPECT_EQ(type, c.off);
    EXPECT_TRUE(DetectInputFileType(dir / "input.plt", type, true));
    EXPECT_EQ(type, c.on);
  }
}

TEST(DetectInputFileType, FindsTheLanguageLineFarIntoTheFile) {
  test::TempDir dir;
  std::string content = kUel + "\r\n";
  for (int i = 0; i < 20000; ++i) content += "@PJL COMMENT padding line " + std::to_string(i) + "\r\n";
  test::WriteFileBytes(dir / "long.plt", content + "@PJL ENTER LANGUAGE = HPGL2\r\n");
  InputFileType type = InputFileType::kTiff;
  EXPECT_TRUE(DetectInputFileType(dir / "long.plt", type, false));
  EXPECT_EQ(type, InputFileType::kHpgl2);
}

// Neither a folder nor a FIFO without a writer is read (the FIFO would block an open for reading).
TEST(DetectInputFileType, UnreadableFileIsFalseAndUnsupported) {
  test::TempDir dir;
  ASSERT_EQ(mkfifo((dir / "pipe.tif").c_str(), 0600), 0);
  for (const auto& path : {dir / "missing.tif", dir.Path(), dir / "pipe.tif"}) {
    InputFileType type = InputFileType::kTiff;
    EXPECT_FALSE(DetectInputFileType(path, type, true));
    EXPECT_EQ(type, InputFileType::kUnsupported);
  }
}

}  // namespace
}  // namespace orvella::jobs

namespace orvella::jobs {
namespace {

TEST(DetectInputFileType, FollowsEnableUnsupportedGl) {
  test::TempDir home;
  test::WriteFileBytes(home / "plot.plt", "IN;SP1;");
  InputFileType type = InputFileType::kTiff;
  EXPECT_TRUE(DetectInputFileType(home / "plot.plt", type, false));
  EXPECT_EQ(type, InputFileType::kUnsupported);
  EXPECT_TRUE(DetectInputFileType(home / "plot.plt", type, true));
  EXPECT_EQ(type, InputFileType::kHpgl2);
}

}  // namespace
}  // namespace orvella::jobs

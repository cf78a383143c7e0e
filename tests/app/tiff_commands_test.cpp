// The orvella tool tiff-* commands, run as a user would.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/imaging/test_bitmap.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::ReadTiff;
using test::WriteTiff;

nlohmann::json RunTool(const std::vector<std::string>& args, int expectedExit = 0) {
  const auto result = orvella::test::RunProcess(orvella::test::BinaryPath("orvella"), args);
  EXPECT_EQ(result.exitCode, expectedExit) << result.err;
  return nlohmann::json::parse(result.out);
}

TEST(TiffCommands, InfoPrintsTheHeaderSizeAndPages) {
  orvella::test::TempDir dir;
  const std::string file = (dir / "in.tif").string();
  WriteTiff(file, {Bitmap(600, 300), Bitmap(8, 8)},
            {.xResolution = 118.11f, .yResolution = 118.11f, .resolutionUnit = RESUNIT_CENTIMETER});
  const auto json = RunTool({"tool", "tiff-info", file});
  EXPECT_EQ(json["code"], 0);
  EXPECT_EQ(json["text"], "TIFF操作は正常に終了しました");
  EXPECT_EQ(json["width"], 600);
  EXPECT_EQ(json["length"], 300);
  EXPECT_EQ(json["compression"], 4);
  EXPECT_EQ(json["x_resolution"], 118.11);
  EXPECT_EQ(json["resolution_unit"], 3);
  EXPECT_EQ(json["dpi"], nlohmann::json::array({300, 300}));
  EXPECT_DOUBLE_EQ(json["width_mm"].template get<double>(), 50.8);
  EXPECT_EQ(json["pages"], 2);
  EXPECT_EQ(RunTool({"tool", "tiff-info", file, "--page", "1"})["width"], 8);
  EXPECT_EQ(RunTool({"tool", "tiff-info", file, "--page", "2"}, 1),
            nlohmann::json({{"code", 8},
                            {"text", "TIFFファイルのページ移動エラー"},
                            {"detail", file + " has 2 pages; there is no page 3"}}));
}

TEST(TiffCommands, RunEachOperation) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(40, 20, 41);
  WriteTiff(dir / "in.tif", page, {.xResolution = 254, .yResolution = 254});
  const std::string in = (dir / "in.tif").string();

  EXPECT_EQ(RunTool({"tool", "tiff-canvas", in, (dir / "canvas.tif").string(), "--page", "0", "--width-mm",
                     "5", "--height-mm", "3", "--compress"})["code"],
            0);
  EXPECT_EQ(ReadTiff(dir / "canvas.tif").width, 50u);

  // The --home pattern screens the turn.
  std::filesystem::create_directories(dir / "home/Halftone");
  WriteTiff(dir / "home/Halftone/1.TIF", Bitmap(40, 20));
  EXPECT_EQ(RunTool({"--home", (dir / "home").string(), "tool", "tiff-rotate", in,
                     (dir / "turned.tif").string(), "--angle", "90", "--halftone", "1"}),
            nlohmann::json({{"code", 0}, {"text", "TIFF操作は正常に終了しました"}}));
  EXPECT_EQ(ReadTiff(dir / "turned.tif"), Bitmap(20, 40));
  EXPECT_EQ(RunTool({"tool", "tiff-rotate", in, (dir / "bad.tif").string(), "--angle", "45"}, 1),
            nlohmann::json({{"code", 10},
                            {"text", "TIFFファイルの解析エラー"},
                            {"detail", "cannot turn by 45 degrees; only 0, 90, 180 and 270 are possible"}}));

  EXPECT_EQ(RunTool({"tool", "tiff-resample", in, (dir / "half.tif").string(), "--dpi", "0", "--scale", "0.5",
                     "--compress", "--repack"})["code"],
            0);
  EXPECT_EQ(ReadTiff(dir / "half.tif").width, 20u);

  EXPECT_EQ(RunTool({"tool", "stamp-raster", in, (dir / "stamp.rtl").string(), "--x", "1", "--y", "2",
                     "--pack"})["code"],
            0);
  EXPECT_EQ(orvella::test::ReadFileBytes(dir / "stamp.rtl").substr(0, 4), "\x1b%0A");

  const auto usage = orvella::test::RunProcess(orvella::test::BinaryPath("orvella"),
                                               {"tool", "tiff-resample", in, (dir / "x.tif").string()});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("usage: orvella tool tiff-resample"), std::string::npos);
}

}  // namespace
}  // namespace orvella::imaging

// orvella tool measure-plot / convert-plot, and inspect-job on their output.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "settings/stamp_settings.h"
#include "support/imaging/convert_test_support.h"
#include "support/process.h"

namespace orvella::imaging {
namespace {

using nlohmann::json;
using orvella::test::BinaryPath;
using orvella::test::RunProcess;
using orvella::test::WriteFileBytes;

class PlotCommands : public test::ConversionTest {
 protected:
  orvella::test::ProcessResult Orvella(std::vector<std::string> words) {
    words.insert(words.begin(), {"--home", home_.Path().string(), "tool"});
    return RunProcess(BinaryPath("orvella"), words);
  }
  std::string Path(const char* name) { return (home_ / name).string(); }
};

TEST_F(PlotCommands, MeasurePrintsTheFrameOrTheFailure) {
  WriteFileBytes(home_ / "bare.plt", "IN;SC0,100,0,50;PA0,0;PD4000,0,4000,2000;PU;PG;");
  auto r = Orvella({"measure-plot", Path("bare.plt")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(json::parse(r.out), json::parse(R"({"ok": true, "width_mm": 100.0, "height_mm": 50.0,
      "envelope": false, "lf_only": false,
      "frame": {"p1": [0, 0], "p2": [4000, 2000], "scale": [0, 100, 0, 50], "rotation": null}})"));

  WriteFileBytes(home_ / "short.plt", "IN;PD1,1;");
  r = Orvella({"measure-plot", Path("short.plt")});
  EXPECT_EQ(r.exitCode, 1);
  const auto failure = json::parse(r.out);
  EXPECT_EQ(failure["ok"], false);
  EXPECT_EQ(failure["message"], "HPGLコマンド削除エラー");
  EXPECT_NE(failure["detail"], "");
}

TEST_F(PlotCommands, ConvertWritesAPrintFileInspectJobTakesApart) {
  std::filesystem::create_directory(home_ / "INI");
  test::Bitmap block(16, 8);
  for (auto& p : block.pixels) p = 1;
  test::WriteTiff(home_ / "block.tif", block,
                  {.compression = COMPRESSION_NONE, .xResolution = 100, .yResolution = 100});
  settings::StampSetting stamp = settings::NewStamp();
  stamp.name = "検図";
  stamp.type = settings::StampType::kImage;
  stamp.imagePath = Path("block.tif");
  settings::SaveStamps(home_.Path(), {stamp});
  WriteFileBytes(
      home_ / "plot.plt",
      "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BBPIN;PA0,0;PD4000,0,4000,2000;PU;PG;"
      "\x1b%-12345X@PJL EOJ\r\n");
  WriteFileBytes(home_ / "request.json", R"({"scale": 100, "paper_width_mm": 297, "paper_length_mm": 210,
      "tray_number": 1, "stamps": [{"name": "検図", "halftone": 0}]})");
  auto r = Orvella({"convert-plot", Path("plot.plt"), Path("out.prn"), "--request", Path("request.json")});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "{\"ok\":true,\"message\":\"\"}\n");

  r = Orvella({"inspect-job", Path("out.prn")});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  const auto body = json::parse(r.out)["body"];
  ASSERT_EQ(body.size(), 4u) << r.out;
  EXPECT_EQ(body[0]["kind"], "plot");
  EXPECT_EQ(body[0]["prefix"], "\x1b%0BBP2,1;INIP0,0,4000,2000;SC-3940,60,-3200,-1200;RO90;PA0,0;");
  EXPECT_EQ(body[2]["kind"], "rtl_stamp");
  EXPECT_EQ(body[2]["resolution"], 400);

  WriteFileBytes(home_ / "request.json", R"({"scale": 0})");
  r = Orvella({"convert-plot", Path("plot.plt"), Path("out.prn"), "--request", Path("request.json")});
  EXPECT_EQ(r.exitCode, 2) << r.out;
  EXPECT_NE(r.err.find("scale"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orvella::imaging

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "settings/input_settings.h"
#include "settings/program_folders.h"
#include "settings/stamp_settings.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using Json = nlohmann::json;

test::ProcessResult RunTool(const std::filesystem::path& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.string(), "tool"});
  return test::RunProcess(test::BinaryPath("orvella"), args);
}

// A circle stamp in the lower right and a date stamp, used by input folder 0.
void WriteSettings(const std::filesystem::path& home) {
  settings::CreateApplicationFolders(home);
  settings::StampSetting circle = settings::NewStamp();
  circle.name = "検印";
  circle.type = settings::StampType::kSimple;
  circle.borderType = settings::StampBorder::kCircle;
  circle.fourthRow = true;
  circle.rulerLines = true;
  circle.lineWidth = 5;
  circle.rowTexts = {"設計", "", "山田", ""};
  circle.dateRow = 2;
  circle.dateType = settings::StampDateType::kYyMmDdJ;
  circle.corner = settings::StampCorner::kLowerRight;
  circle.xOffset = 10;
  circle.yOffset = 5;
  settings::StampSetting date = settings::NewStamp();
  date.name = "日付";
  settings::SaveStamps(home, {circle, date});
  settings::InputFolderSetting input;
  input.inputDir = (home / "in").string();
  input.stamps = {{{"検印", 2}, {"", 0}, {"日付", 0}}};
  settings::SaveInputSettings(home, {input});
}

TEST(StampCommands, RenderStampReportsSizeAndLayout) {
  test::TempDir home;
  WriteSettings(home.Path());
  const auto out = home / "stamp.tif";
  auto result = RunTool(
      home.Path(), {"render-stamp", "検印", "--dpi", "600", "--out", out.string(), "--date", "2004-10-01"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json["ok"], true);
  EXPECT_EQ(json["width_px"], json["height_px"]);
  EXPECT_NEAR(json["width_mm"].get<double>(), json["width_px"].get<int>() * 25.4 / 600, 1e-9);
  const Json& layout = json["layout"];
  EXPECT_GT(layout["radius_mm"].get<double>(), 0);
  ASSERT_EQ(layout["rows_mm"].size(), 4u);
  EXPECT_EQ(layout["rows_mm"][1]["text"], "04年10月01日");
  EXPECT_TRUE(std::filesystem::exists(out));

  result = RunTool(home.Path(), {"render-stamp", "無い", "--dpi", "600", "--out", out.string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(Json::parse(result.out), Json({{"ok", false}, {"message", "スタンプ画像の生成エラー[無い]"}}));
  result = RunTool(home.Path(),
                   {"render-stamp", "検印", "--dpi", "600", "--out", out.string(), "--date", "2004-13-01"});
  EXPECT_EQ(result.exitCode, 2);
}

TEST(StampCommands, PlaceStampsRunsTheJobStepForOneFolder) {
  test::TempDir home;
  WriteSettings(home.Path());
  auto result =
      RunTool(home.Path(), {"place-stamps", "--folder", "0", "--dpi", "300", "--sheet-width-mm", "297",
                            "--sheet-height-mm", "210", "--rotation", "0", "--date", "2004-10-01"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Json json = Json::parse(result.out);
  ASSERT_EQ(json["placements"].size(), 3u);
  const Json& circle = json["placements"][0];
  EXPECT_EQ(circle["valid"], true);
  EXPECT_EQ(circle["halftone"], 2);
  EXPECT_EQ(circle["path"], (home / "TEMP" / "stamp1.tif").string());
  // Lower right, 10 / 5 mm in from the right and bottom edges.
  const Json size = Json::parse(RunTool(home.Path(), {"render-stamp", "検印", "--dpi", "300", "--out",
                                                      (home / "s.tif").string(), "--date", "2004-10-01"})
                                    .out);
  EXPECT_NEAR(circle["x_mm"].get<double>(), 297 - size["width_mm"].get<double>() - 10, 1e-6);
  EXPECT_NEAR(circle["y_mm"].get<double>(), 210 - size["height_mm"].get<double>() - 5, 1e-6);
  EXPECT_EQ(json["placements"][1]["valid"], false);
  EXPECT_EQ(json["placements"][2]["x_mm"], 0);
  EXPECT_EQ(json["placements"][2]["y_mm"], 0);
}

}  // namespace
}  // namespace orvella

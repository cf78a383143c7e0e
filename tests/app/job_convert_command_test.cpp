// orvella convert: a file through a job's decision and conversions, each
// print file read back with tool inspect-job.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"
#include "support/imaging/convert_test_support.h"
#include "support/process.h"

namespace orvella::imaging {
namespace {

using nlohmann::json;
using orvella::test::BinaryPath;
using orvella::test::RunProcess;
using orvella::test::WriteFileBytes;
using settings::WideTraySize;

// 0: the wide MODEL_05 only; 1: the A2 printer with staple and punch;
// 2: a printer that does not exist; 3: a stamp that does not exist.
class JobConvertCommand : public test::ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    settings::CreateApplicationFolders(home_.Path());
    settings::PrinterSetting wide;
    wide.name = "広幅";
    wide.ipAddr = {127, 0, 0, 1};
    wide.model = settings::kModel05Number;
    wide.trays[0].size = WideTraySize::kRoll210;
    wide.trays[1].size = WideTraySize::kRoll297;
    settings::PrinterSetting a2;
    a2.name = "A2機";
    a2.ipAddr = {127, 0, 0, 2};
    a2.model = settings::kA2ModelNumber;
    a2.a2TrayStructAuto = true;  // the trays stored here are empty
    ASSERT_TRUE(settings::SavePrinterSettings(home_.Path(), {wide, a2}));

    settings::InputFolderSetting pages;
    pages.inputDir = (home_ / "in0").string();
    pages.widePrinterName = wide.name;
    settings::InputFolderSetting finishing;
    finishing.inputDir = (home_ / "in1").string();
    finishing.a2PrinterName = a2.name;
    finishing.staple = settings::StapleMode::kLeftTop;
    finishing.punch = settings::PunchMode::kLeft;
    finishing.quantity = 3;
    settings::InputFolderSetting missing = pages;
    missing.inputDir = (home_ / "in2").string();
    missing.widePrinterName = "無い";
    settings::InputFolderSetting stamped = pages;
    stamped.inputDir = (home_ / "in3").string();
    stamped.stamps[0].name = "無い";
    settings::SaveInputSettings(home_.Path(), {pages, finishing, missing, stamped});

    // A4 portrait at 50 dpi: 209.8 x 297.2 mm.
    test::WriteTiff(home_ / "a4.tif", {test::Bitmap(413, 585), test::Bitmap(413, 585)},
                    {.xResolution = 50, .yResolution = 50});
  }

  orvella::test::ProcessResult Orvella(std::vector<std::string> words) {
    words.insert(words.begin(), {"--home", home_.Path().string()});
    return RunProcess(BinaryPath("orvella"), words);
  }

  json Inspect(const std::string& printFile) {
    const auto r = Orvella({"tool", "inspect-job", printFile});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    return json::parse(r.out);
  }

  static bool HasPjl(const json& job, const std::string& text) {
    for (const auto& line : job["pjl"]) {
      if (line["text"] == text) return true;
    }
    return false;
  }

  static std::string Conditions(const json& job) {
    for (const auto& e : job["escapes"]) {
      const std::string text = e["text"];
      if (text.find("tray=") != std::string::npos || text.find("autopaper") != std::string::npos) return text;
    }
    return "";
  }

  std::string Out() const { return (home_ / "out").string(); }
};

TEST_F(JobConvertCommand, PageModeConvertsEachPageOnTheChosenTray) {
  auto r = Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "0", "--out", Out()});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const json result = json::parse(r.out);
  EXPECT_EQ(result["type"], "tiff");
  EXPECT_EQ(result["mode"], "page");
  ASSERT_EQ(result["units"].size(), 2u) << r.out;
  // The A4 landscape sheet of the 297 roll's slot is shorter than the portrait one.
  const json expected = {{"page", 2},
                         {"ok", true},
                         {"message", ""},
                         {"keep_file", false},
                         {"printer", "広幅"},
                         {"printer_class", "wide"},
                         {"tray", "5"},
                         {"tray_number", 6},
                         {"roll", false},
                         {"width_mm", 297.0},
                         {"length_mm", 210.0},
                         {"magnification", 100.0},
                         {"rotation", 0},
                         {"rotate_flag", true},
                         {"fold_type", 0},
                         {"fold_margin", 0},
                         {"page_angle", 0},
                         {"extra_rotation", 0},
                         {"print_file", Out() + "/page-002.prn"}};
  EXPECT_EQ(result["units"][1], expected);

  const json job = Inspect(Out() + "/page-001.prn");
  EXPECT_EQ(job["pages"], 1);
  const auto& page = job["body"][0]["pages"][0];
  // The paper along the image: 210 x 297 mm composed at the page's 50 dpi, at the model's 400 dpi.
  EXPECT_EQ(page["width"], 413 * 8);
  EXPECT_EQ(page["length"], 585 * 8);
  EXPECT_NE(Conditions(job).find(",tray=5,"), std::string::npos) << Conditions(job);
  EXPECT_NE(Conditions(job).find(",portrait"), std::string::npos) << Conditions(job);

  r = Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "0", "--out", Out(), "--page", "3"});
  EXPECT_EQ(r.exitCode, 2) << r.out;
}

TEST_F(JobConvertCommand, WholeFileJobTakesTheTraysFromTheSavedInfoFile) {
  WriteFileBytes(home_ / "info.txt",
                 "Tray Information\r\n"
                 "No.  Name                Page Size  Status\r\n"
                 "---  ------------------  ---------  ------\r\n"
                 "1    Tray 1 (Thick)      A4         Ready\r\n"
                 "2    Tray 2              A3         Ready\r\n"
                 "3    Tray 3              A4         Ready\r\n");
  auto r = Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "1", "--out", Out(), "--tray-info",
                    "A2機=" + (home_ / "info.txt").string()});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const json result = json::parse(r.out);
  EXPECT_EQ(result["mode"], "whole");
  ASSERT_EQ(result["units"].size(), 1u) << r.out;
  const json& unit = result["units"][0];
  EXPECT_EQ(unit["page"], nullptr);
  EXPECT_EQ(unit["printer_class"], "a2");
  EXPECT_EQ(unit["tray"], "3");  // tray 1 holds special paper
  EXPECT_EQ(unit["print_file"], Out() + "/whole.prn");

  const json job = Inspect(Out() + "/whole.prn");
  EXPECT_EQ(job["pages"], 2);
  EXPECT_TRUE(HasPjl(job, "@PJL SET STAPLE = LEFTTOP")) << job["pjl"];
  EXPECT_TRUE(HasPjl(job, "@PJL SET PUNCH = LEFTPORT")) << job["pjl"];
  EXPECT_TRUE(HasPjl(job, "@PJL SET QTY = 3")) << job["pjl"];
  EXPECT_NE(Conditions(job).find(",tray=3,maxarea,copies=1,600dpi"), std::string::npos) << Conditions(job);

  // No plain A4 in the printer: the tray choice fails and names what it has.
  WriteFileBytes(home_ / "info.txt",
                 "Tray Information\r\n"
                 "No.  Name                Page Size  Status\r\n"
                 "---  ------------------  ---------  ------\r\n"
                 "1    Tray 1              A3         Ready\r\n"
                 "2    Tray 2              B4         Ready\r\n");
  r = Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "1", "--out", Out(), "--tray-info",
               "A2機=" + (home_ / "info.txt").string()});
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  const json failed = json::parse(r.out)["units"][0];
  EXPECT_EQ(failed["message"], "トレイ選択不可");
  EXPECT_EQ(failed["keep_file"], false);
  EXPECT_EQ(failed["print_file"], nullptr);
  EXPECT_NE(failed["detail"].get<std::string>().find("sheets 297 x 420, 257 x 364"), std::string::npos)
      << failed;
}

TEST_F(JobConvertCommand, ConfigurationFaultsKeepTheFile) {
  struct Case {
    const char* folder;
    const char* message;
  };
  for (const Case& c : {Case{"2", "プリンタエラー"}, Case{"3", "スタンプ画像の生成エラー[無い]"}}) {
    const auto r = Orvella(
        {"convert", (home_ / "a4.tif").string(), "--folder", c.folder, "--out", Out(), "--page", "1"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const json unit = json::parse(r.out)["units"][0];
    EXPECT_EQ(unit["message"], c.message) << unit;
    EXPECT_EQ(unit["keep_file"], true) << unit;
    EXPECT_NE(unit["detail"], "") << unit;
  }
  EXPECT_EQ(Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "4", "--out", Out()}).exitCode, 2);
  EXPECT_EQ(Orvella({"convert", (home_ / "a4.tif").string(), "--folder", "1", "--out", Out(), "--tray-info",
                     "A2機"})
                .exitCode,
            2);
}

TEST_F(JobConvertCommand, PlotGoesOnTheWidePrintersRoll) {
  // 100 x 50 mm in a PJL envelope.
  WriteFileBytes(
      home_ / "plot.plt",
      "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BBPIN;PA0,0;PD4000,0,4000,2000;PU;PG;"
      "\x1b%-12345X@PJL EOJ\r\n");
  const auto r = Orvella({"convert", (home_ / "plot.plt").string(), "--folder", "0", "--out", Out()});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const json result = json::parse(r.out);
  EXPECT_EQ(result["type"], "plot");
  EXPECT_EQ(result["mode"], "plot");
  const json& unit = result["units"][0];
  EXPECT_EQ(unit["tray"], "3");  // the 210 roll, cut to the model's minimum
  EXPECT_EQ(unit["tray_number"], 4);
  EXPECT_EQ(unit["roll"], true);
  EXPECT_EQ(unit["width_mm"], 210.0);
  EXPECT_EQ(unit["length_mm"], 200.0);
  EXPECT_EQ(unit["page_angle"], 0);
  EXPECT_EQ(unit["extra_rotation"], 0);

  const json job = Inspect(Out() + "/plot.prn");
  ASSERT_FALSE(job["body"].empty());
  EXPECT_EQ(job["body"][0]["kind"], "plot");
}

TEST_F(JobConvertCommand, UnsupportedFilesConvertNothing) {
  WriteFileBytes(home_ / "note.txt", "hello\n");
  const auto r = Orvella({"convert", (home_ / "note.txt").string(), "--folder", "0", "--out", Out()});
  EXPECT_EQ(r.exitCode, 1);
  const json result = json::parse(r.out);
  EXPECT_EQ(result["type"], "unsupported");
  EXPECT_EQ(result["mode"], nullptr);
  // Nothing is converted; the one unit says why, as the job window does.
  ASSERT_EQ(result["units"].size(), 1u) << result;
  EXPECT_EQ(result["units"][0]["message"], "未対応ファイル");
  EXPECT_EQ(result["units"][0]["print_file"], nullptr);
}

}  // namespace
}  // namespace orvella::imaging

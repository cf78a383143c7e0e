// orvella tool raster-job / plot-job / inspect-job, run as the operator would.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::printer {
namespace {

using nlohmann::json;
using test::BinaryPath;
using test::ReadFileBytes;
using test::RunProcess;
using test::TempDir;
using test::WriteFileBytes;

const std::string kData = std::string(ORVELLA_TEST_DATA) + "/printfile/";

json RunOrvella(const std::vector<std::string>& args, int expectedExit) {
  const auto r = RunProcess(BinaryPath("orvella"), args);
  EXPECT_EQ(r.exitCode, expectedExit) << r.out << r.err;
  return json::parse(r.out, nullptr, false);
}

TEST(JobCommands, RasterJobFromJsonOptionsThenInspect) {
  TempDir dir;
  WriteFileBytes(
      dir / "o.json",
      R"({"printer_class": 1, "staple": 1, "punch": 3, "z_fold": 2, "quantity": 3, "resolution": 600,
                     "tray_name": "A3", "x_magnification": 0.7071, "landscape": true})");
  EXPECT_EQ(RunOrvella({"tool", "raster-job", kData + "one_page_g4.tif", (dir / "job.prn").string(),
                        "--options", (dir / "o.json").string()},
                       0),
            json({{"ok", true}}));
  const std::string bytes = ReadFileBytes(dir / "job.prn");
  EXPECT_NE(
      bytes.find(
          "@PJL SET STAPLE = LEFTTOP\n@PJL SET PUNCH = TOPPORT\n@PJL SET FOLD = ZRIGHT\n@PJL SET QTY = 3\n"),
      std::string::npos);
  EXPECT_NE(
      bytes.find(
          ",tray=A3,maxarea,copies=1,600dpi,xmag=0.707,landscape,noerrorprint,singleside,usualrot\x1b "),
      std::string::npos);

  const json view = RunOrvella({"tool", "inspect-job", (dir / "job.prn").string()}, 0);
  EXPECT_EQ(view["clean"], true);
  EXPECT_EQ(view["language"], "RTF");
  EXPECT_EQ(view["pjl"][3]["text"], "@PJL SET STAPLE = LEFTTOP");
  EXPECT_EQ(view["pjl"][0]["end"], "CRLF");
  EXPECT_EQ(view["body"][0]["kind"], "tiff");
  EXPECT_EQ(view["body"][0]["pages"][0]["width"], 64);
  EXPECT_EQ(view["trailer"]["pjl"][2]["text"], "@PJL RESET");
  EXPECT_EQ(view["pages"], 1);
}

TEST(JobCommands, InspectRefusesAJobWithoutPages) {
  TempDir dir;
  WriteFileBytes(dir / "o.json", R"({"resolution": 600})");
  WriteFileBytes(dir / "empty.tif", "");
  RunOrvella({"tool", "raster-job", (dir / "empty.tif").string(), (dir / "job.prn").string(), "--options",
              (dir / "o.json").string()},
             0);
  const json view = RunOrvella({"tool", "inspect-job", (dir / "job.prn").string()}, 1);
  EXPECT_EQ(view["clean"], true);
  EXPECT_EQ(view["pages"], 0);
}

TEST(JobCommands, PlotJobWithStampsThenInspect) {
  TempDir dir;
  WriteFileBytes(dir / "plot", "\x1b%0BPD0,0;");
  WriteFileBytes(dir / "s.rtl", "\x1b%0A\x1b*t300R\x1b*r8s1t0A\x1b*p1x2Y\x1b*b0M\x1b*b1W\xff\x1b*rC\x1b%0B");
  WriteFileBytes(dir / "o.json", R"({"scale": 100, "first_scale": 100, "second_scale": 100, "roll_flag": 1,
                                     "paper_width": 841, "paper_height": 1189, "stamp_files": [")" +
                                     (dir / "s.rtl").string() + R"(", "", ")" + (dir / "s.rtl").string() +
                                     R"("]})");
  RunOrvella({"tool", "plot-job", (dir / "plot").string(), (dir / "job.prn").string(), "--options",
              (dir / "o.json").string()},
             0);
  EXPECT_NE(ReadFileBytes(dir / "job.prn").find("MS-1,20,100.0;MS-1,21,100.00;"), std::string::npos);
  const json view = RunOrvella({"tool", "inspect-job", (dir / "job.prn").string()}, 0);
  EXPECT_EQ(view["language"], "GL2");
  std::vector<std::string> kinds;
  for (const auto& p : view["body"]) kinds.push_back(p["kind"]);
  EXPECT_EQ(kinds,
            (std::vector<std::string>{"plot", "part_end", "rtl_stamp", "part_end", "rtl_stamp", "part_end"}));
  EXPECT_EQ(view["body"][2]["x"], 1);
}

TEST(JobCommands, RefusedOptionsAndFailedWrites) {
  TempDir dir;
  WriteFileBytes(dir / "typo.json", R"({"tray": "A1"})");
  WriteFileBytes(dir / "type.json", R"({"quantity": "3"})");
  WriteFileBytes(dir / "bad.json", "{");
  WriteFileBytes(dir / "ok.json", "{}");
  // The error names the key and what it should hold.
  const std::pair<const char*, std::string> refused[] = {{"typo.json", "unknown key \"tray\""},
                                                         {"type.json", "\"quantity\" must be a whole number"},
                                                         {"bad.json", "not valid JSON"},
                                                         {"missing.json", "cannot be read"}};
  for (const auto& [options, error] : refused) {
    const json r = RunOrvella({"tool", "raster-job", kData + "one_page_g4.tif", (dir / "job.prn").string(),
                               "--options", (dir / options).string()},
                              1);
    EXPECT_EQ(r["ok"], false) << options;
    EXPECT_NE(r["error"].get<std::string>().find(error), std::string::npos) << r["error"];
  }
  // A file that cannot be read or written is named, with the system's reason.
  const std::string noPlot = (dir / "no-plot").string();
  const std::string noFolder = (dir / "no-folder/job.prn").string();
  WriteFileBytes(dir / "raster.json", R"({"resolution": 600})");
  const std::string job = (dir / "job.prn").string();
  const std::string plotOptions = (dir / "ok.json").string();
  const std::string rasterOptions = (dir / "raster.json").string();
  const std::pair<std::vector<std::string>, std::string> failed[] = {
      {{"plot-job", noPlot, job, "--options", plotOptions},
       "cannot open " + noPlot + ": No such file or directory"},
      {{"raster-job", noPlot, job, "--options", rasterOptions},
       "cannot open " + noPlot + ": No such file or directory"},
      {{"raster-job", kData + "one_page_g4.tif", noFolder, "--options", rasterOptions},
       "cannot create the print file " + noFolder + ": No such file or directory"},
  };
  for (const auto& [words, detail] : failed) {
    std::vector<std::string> args{"tool"};
    args.insert(args.end(), words.begin(), words.end());
    EXPECT_EQ(RunOrvella(args, 1),
              json({{"ok", false}, {"error", "印刷コマンド付加エラー"}, {"detail", detail}}));
  }
  // A damaged file is shown, and the exit status says it is not clean.
  WriteFileBytes(dir / "junk.prn", "not a print file");
  const json junk = RunOrvella({"tool", "inspect-job", (dir / "junk.prn").string()}, 1);
  EXPECT_EQ(junk["clean"], false);
  EXPECT_FALSE(junk["unrecognised"].empty());
}

}  // namespace
}  // namespace orvella::printer

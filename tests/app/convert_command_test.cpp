// orvella tool convert-tiff: the stamps named in the request are rendered and
// composed, and the result is reported as JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "settings/stamp_settings.h"
#include "support/imaging/convert_test_support.h"
#include "support/process.h"

namespace orvella::imaging {
namespace {

using orvella::test::BinaryPath;
using orvella::test::RunProcess;
using orvella::test::WriteFileBytes;
using test::Bitmap;
using test::BlackPixels;
using test::Crop;
using test::ReadPrintedJob;
using test::WriteTiff;

class ConvertCommand : public test::ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    std::filesystem::create_directory(home_ / "INI");
    // An image stamp: a solid 16 x 8 block, 10 mm from the left, 20 mm from the top.
    Bitmap block(16, 8);
    for (auto& p : block.pixels) p = 1;
    WriteTiff(home_ / "block.tif", block,
              {.compression = COMPRESSION_NONE, .xResolution = 100, .yResolution = 100});
    settings::StampSetting stamp = settings::NewStamp();
    stamp.name = "検図";
    stamp.type = settings::StampType::kImage;
    stamp.imagePath = (home_ / "block.tif").string();
    stamp.xOffset = 10;
    stamp.yOffset = 20;
    settings::SaveStamps(home_.Path(), {stamp});
    WriteTiff(home_ / "pages.tif", {Bitmap(400, 600), Bitmap(400, 600)},
              {.xResolution = 100, .yResolution = 100});
  }

  orvella::test::ProcessResult Run(const std::string& request, std::vector<std::string> extra,
                                   const std::string& input = "pages.tif",
                                   const std::string& output = "out.prn") {
    WriteFileBytes(home_ / "request.json", request);
    std::vector<std::string> args{"--home",
                                  home_.Path().string(),
                                  "tool",
                                  "convert-tiff",
                                  (home_ / input).string(),
                                  (home_ / output).string(),
                                  "--request",
                                  (home_ / "request.json").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProcess(BinaryPath("orvella"), args);
  }
};

const std::string kA4 =
    R"("host_magnification": true, "resolution": 100, "magnification": 100, "sheet_width_mm": 210,
       "sheet_height_mm": 297, "tray_name": "1", "printer_class": 1)";

TEST_F(ConvertCommand, ComposesTheNamedStampsOnOnePageOrEveryPage) {
  // 10 mm and 20 mm are pixels 39 and 78 at 100 dpi.
  auto r = Run("{" + kA4 + R"(, "stamps": [{"name": "", "halftone": 0}, {"name": "検図", "halftone": 0}]})",
               {"--page", "1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "{\"ok\":true,\"message\":\"\"}\n");
  auto job = ReadPrintedJob(home_ / "out.prn", home_.Path());
  ASSERT_EQ(job.pages.size(), 1u);
  EXPECT_EQ(BlackPixels(Crop(job.pages[0].image, 39, 78, 16, 8)), 128u);
  EXPECT_EQ(BlackPixels(job.pages[0].image), 128u);

  r = Run("{" + kA4 + R"(, "quantity": 2, "stamp_first_page_only": true, "stamps": [{"name": "検図"}]})",
          {"--multi"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "変換中(ページ1/2)\n変換中(ページ2/2)\n");
  job = ReadPrintedJob(home_ / "out.prn", home_.Path());
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(BlackPixels(job.pages[0].image), 128u);
  EXPECT_EQ(BlackPixels(job.pages[1].image), 0u);
  EXPECT_TRUE(job.HasPjl("@PJL SET QTY = 2"));
}

// Runs that share one program folder each work in a folder of their own and
// leave nothing behind.
TEST_F(ConvertCommand, SixRunsAtOnceOnOneProgramFolderEachPrintTheirPages) {
  WriteFileBytes(home_ / "request.json", "{" + kA4 + R"(, "stamps": [{"name": "検図"}]})");
  constexpr int kRuns = 6;
  std::vector<orvella::test::ProcessResult> results(kRuns);
  std::vector<std::thread> runs;
  for (int i = 0; i < kRuns; ++i) {
    runs.emplace_back([&, i] {
      results[i] =
          RunProcess(BinaryPath("orvella"),
                     {"--home", home_.Path().string(), "tool", "convert-tiff", (home_ / "pages.tif").string(),
                      (home_ / ("out" + std::to_string(i) + ".prn")).string(), "--request",
                      (home_ / "request.json").string(), "--multi"});
    });
  }
  for (auto& run : runs) run.join();
  for (int i = 0; i < kRuns; ++i) {
    EXPECT_EQ(results[i].exitCode, 0) << i << results[i].out << results[i].err;
    const auto job = ReadPrintedJob(home_ / ("out" + std::to_string(i) + ".prn"), home_.Path());
    ASSERT_EQ(job.pages.size(), 2u) << i;
    EXPECT_EQ(BlackPixels(Crop(job.pages[1].image, 39, 78, 16, 8)), 128u) << i;
  }
  EXPECT_TRUE(std::filesystem::is_empty(Temp()));
}

TEST_F(ConvertCommand, ReportsFailuresAsJsonAndRefusesBadRequests) {
  auto r = Run("{" + kA4 + R"(, "stamps": [{"name": "無い"}]})", {});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(r.out),
            (nlohmann::json{{"ok", false},
                            {"message", "スタンプ画像の生成エラー[無い]"},
                            {"detail", "STAMP.INI has no stamp named \"無い\""}}));

  WriteTiff(home_ / "lzw.tif", Bitmap(100, 100), {.compression = COMPRESSION_LZW});
  r = Run("{" + kA4 + "}", {}, "lzw.tif");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(r.out),
            (nlohmann::json{{"ok", false},
                            {"message", "スタンプ画像の合成エラー : code - 1"},
                            {"detail", "page 1 of " + (home_ / "lzw.tif").string() +
                                           " is LZW-compressed; LZW compression is not supported"}}));
  EXPECT_FALSE(std::filesystem::exists(home_ / "out.prn"));

  // A mistyped key or value never falls back to a default.
  for (const std::string request : {"{\"magnifcation\": 50}", "{\"resolution\": \"600\"}",
                                    "{\"stamps\": [{\"name\": \"a\", \"halftone\": 4}]}", "[]", "{"}) {
    r = Run(request, {});
    EXPECT_EQ(r.exitCode, 2) << request;
    EXPECT_TRUE(r.out.empty()) << request;
  }
  EXPECT_EQ(Run("{}", {"--multi", "--page", "0"}).exitCode, 2);

  // No TEMP to work in: said as such, not as a conversion step's failure.
  std::filesystem::remove_all(Temp());
  orvella::test::WriteFileBytes(Temp(), "a file where the folder belongs");
  r = Run("{" + kA4 + "}", {});
  EXPECT_EQ(r.exitCode, 1);
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["message"], "作業フォルダの作成エラー");
  EXPECT_NE(json["detail"].get<std::string>().find("TEMP"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orvella::imaging

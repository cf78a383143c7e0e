// Whole multi-page files into one print file, and the failures of both paths.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/convert_tiff.h"
#include "support/imaging/convert_test_support.h"

namespace orvella::imaging {
namespace {

using orvella::test::ReadFileBytes;
using test::Bitmap;
using test::BlackPixels;
using test::PrintedJob;
using test::ReadPrintedJob;
using test::WriteTiff;

class ConvertMulti : public test::ConversionTest {
 protected:
  // Two pages of different sizes with noise in them, at 100 dpi.
  std::filesystem::path TwoPages() {
    const auto path = home_ / "pages.tif";
    WriteTiff(path, {Bitmap::Random(400, 600, 1, 0.2), Bitmap::Random(500, 300, 2, 0.2)},
              {.xResolution = 100, .yResolution = 100});
    return path;
  }

  PrintedJob Convert(const std::filesystem::path& input, const PageConversionRequest& request,
                     const MultiPageOptions& options, std::vector<std::string>* progress = nullptr) {
    base::Failure failure;
    EXPECT_TRUE(ConvertMultiTiff(Work(), input, request, options, home_ / "sendfile.prn", failure,
                                 [progress](const std::string& status) {
                                   if (progress) progress->push_back(status);
                                 }))
        << failure.message;
    return ReadPrintedJob(home_ / "sendfile.prn", home_.Path());
  }
};

TEST_F(ConvertMulti, BodyIsEachPagesRepackedFileBackToBack) {
  const auto input = TwoPages();
  PageConversionRequest request = A4Request();
  request.rotation = kRotate90;
  request.sheetWidthMm = 297;
  request.sheetHeightMm = 210;

  // Each page alone through the single-page chain gives the same page file.
  std::string pages[2];
  for (int k = 0; k < 2; ++k) {
    base::Failure failure;
    ASSERT_TRUE(ConvertSingleTiff(Work(), input, k, request, home_ / "single.prn", failure))
        << failure.message;
    const PrintedJob single = ReadPrintedJob(home_ / "single.prn", home_.Path());
    ASSERT_EQ(single.pages.size(), 1u);
    pages[k] = single.pages[0].bytes;
  }

  MultiPageOptions options;
  request.header.finishing.staple = 1;
  request.header.finishing.duplex = 1;
  request.header.quantity = 3;
  std::vector<std::string> progress;
  const PrintedJob job = Convert(input, request, options, &progress);
  EXPECT_EQ(job.body, pages[0] + pages[1]);
  EXPECT_EQ(ReadFileBytes(Temp() / "tiff_concat.tif"), job.body);
  ASSERT_EQ(job.pages.size(), 2u);
  EXPECT_EQ(job.pages[0].header.width, 1169u);  // turned A4 at 100 dpi
  EXPECT_EQ(job.pages[1].header.length, 827u);
  EXPECT_EQ(progress, (std::vector<std::string>{"変換中(ページ1/2)", "変換中(ページ2/2)"}));

  EXPECT_TRUE(job.HasPjl("@PJL SET STAPLE = LEFTTOP"));
  EXPECT_TRUE(job.HasPjl("@PJL SET QTY = 3"));
  EXPECT_TRUE(job.HasOption("bothside"));
  EXPECT_TRUE(job.HasOption("portrait"));
  EXPECT_FALSE(job.HasOption("multicols=1"));
}

TEST_F(ConvertMulti, StampsOnTheFirstPageOnlyWhenAsked) {
  const auto input = home_ / "blank.tif";
  WriteTiff(input, {Bitmap(400, 600), Bitmap(400, 600), Bitmap(400, 600)},
            {.xResolution = 100, .yResolution = 100});
  Bitmap stamp(32, 16);
  for (auto& p : stamp.pixels) p = 1;
  WriteTiff(Temp() / "stamp1.tif", stamp,
            {.compression = COMPRESSION_NONE, .xResolution = 100, .yResolution = 100});
  PageConversionRequest request = A4Request();
  request.stamps[0] = {.valid = true, .path = Temp() / "stamp1.tif", .x = 10, .y = 10, .halftone = 0};

  for (const bool firstOnly : {true, false}) {
    SCOPED_TRACE(firstOnly ? "first page only" : "every page");
    MultiPageOptions options;
    options.stampFirstPageOnly = firstOnly;
    const PrintedJob job = Convert(input, request, options);
    ASSERT_EQ(job.pages.size(), 3u);
    EXPECT_EQ(BlackPixels(job.pages[0].image), 32u * 16u);
    for (size_t k = 1; k < 3; ++k)
      EXPECT_EQ(BlackPixels(job.pages[k].image), firstOnly ? 0u : 32u * 16u) << k;
  }
}

TEST(TwoUp, HalvesTheSheetAndFitsThePageIntoIt) {
  struct Case {
    double width, height, magnification;
    double halfWidth, halfHeight, fitted;
  };
  const Case cases[] = {
      {297, 420, 100, 210, 297, 70.71},
      {420, 297, 100, 297, 210, 70.71},
      // 141.42 % x 0.7071 comes within rounding of 100 and is made exactly 100.
      {420, 297, 141.42, 297, 210, 100},
  };
  for (const Case& c : cases) {
    PageConversionRequest request;
    request.sheetWidthMm = c.width;
    request.sheetHeightMm = c.height;
    request.magnification = c.magnification;
    const PageConversionRequest halved = HalvedForTwoUp(request);
    EXPECT_EQ(halved.sheetWidthMm, c.halfWidth);
    EXPECT_EQ(halved.sheetHeightMm, c.halfHeight);
    EXPECT_NEAR(halved.magnification, c.fitted, 0.005);
  }
  PageConversionRequest request;
  request.sheetWidthMm = 420;
  request.sheetHeightMm = 297;
  request.magnification = 141.42;
  EXPECT_EQ(HalvedForTwoUp(request).magnification, 100.0);
}

TEST_F(ConvertMulti, TwoUpPrintsA3PagesAsA4At70Percent) {
  const auto input = home_ / "a3.tif";
  WriteTiff(input, {Bitmap(1000, 1500), Bitmap(1000, 1500)}, {.xResolution = 100, .yResolution = 100});
  PageConversionRequest request = A4Request();
  request.sheetWidthMm = 297;
  request.sheetHeightMm = 420;
  MultiPageOptions options;
  request.header.finishing.twoUp = 1;
  options.twoUpSheetWidthMm = 297;
  options.twoUpSheetHeightMm = 420;

  for (const bool host : {true, false}) {
    SCOPED_TRACE(host ? "host scales" : "printer scales");
    request.hostMagnification = host;
    const PrintedJob job = Convert(input, request, options);
    ASSERT_EQ(job.pages.size(), 2u);
    for (const auto& page : job.pages) {
      const double widthMm = page.header.width / page.header.xResolution * 25.4;
      const double lengthMm = page.header.length / page.header.yResolution * 25.4;
      // Composed on A3 at 100 %; the host's 70.7 % makes it A4.
      EXPECT_NEAR(widthMm, host ? 210 : 297, 0.5);
      EXPECT_NEAR(lengthMm, host ? 297 : 420, 0.5);
    }
    EXPECT_TRUE(job.HasOption(host ? "xmag=1.000" : "xmag=0.707"));
    // A portrait job is laid out two-up as landscape halves.
    EXPECT_TRUE(job.HasOption("landscape"));
    EXPECT_TRUE(job.HasOption("multicols=2"));
  }
}

TEST_F(ConvertMulti, FailingStepsReportTheirMessageAndWriteNothing) {
  const auto page = home_ / "page.tif";
  WriteTiff(page, Bitmap(100, 100), {.xResolution = 100, .yResolution = 100});
  const auto lzw = home_ / "lzw.tif";
  WriteTiff(lzw, Bitmap(100, 100), {.compression = COMPRESSION_LZW, .xResolution = 100, .yResolution = 100});
  std::filesystem::create_directory(home_ / "Halftone");
  orvella::test::WriteFileBytes(home_ / "Halftone/3.TIF", "not a TIFF");
  Bitmap stamp(8, 8);
  WriteTiff(Temp() / "stamp1.tif", stamp,
            {.compression = COMPRESSION_NONE, .xResolution = 100, .yResolution = 100});

  struct Case {
    const char* name;
    std::filesystem::path input;
    void (*change)(PageConversionRequest&, const std::filesystem::path& temp);
    const char* single;
    const char* multi;
  };
  const auto nothing = [](PageConversionRequest&, const std::filesystem::path&) {};
  const Case cases[] = {
      {"LZW page", lzw, nothing, "スタンプ画像の合成エラー : code - 1",
       "スタンプ画像の合成エラー(ページ1/1) : code - 1"},
      {"missing file", home_ / "none.tif", nothing, "スタンプ画像の合成エラー : code - 1",
       "TIFFファイルページ数取得エラー"},
      {"broken halftone pattern", page,
       [](PageConversionRequest& r, const std::filesystem::path& temp) {
         r.stamps[0] = {.valid = true, .path = temp / "stamp1.tif", .x = 0, .y = 0, .halftone = 3};
       },
       "スタンプ画像の合成エラー : code - 2", "スタンプ画像の合成エラー(ページ1/1) : code - 2"},
      {"missing stamp file", page,
       [](PageConversionRequest& r, const std::filesystem::path& temp) {
         r.stamps[2] = {.valid = true, .path = temp / "stamp3.tif", .x = 0, .y = 0, .halftone = 0};
       },
       "スタンプ画像の合成エラー : code - 2", "スタンプ画像の合成エラー(ページ1/1) : code - 2"},
      {"no magnification", page,
       [](PageConversionRequest& r, const std::filesystem::path&) { r.magnification = 0; },
       "スタンプ画像の合成エラー : code - 7", "TIFFファイル変倍・解像度変換エラー(ページ1/1)"},
      {"unknown rotation code", page,
       [](PageConversionRequest& r, const std::filesystem::path&) { r.rotation = 4; },
       "TIFFファイル回転変換エラー", "TIFFファイル回転変換エラー"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageConversionRequest request;
    request.sheetWidthMm = 210;
    request.sheetHeightMm = 297;
    request.hostMagnification = true;
    request.header.resolution = 100;
    c.change(request, Temp());
    base::Failure failure;
    EXPECT_FALSE(ConvertSingleTiff(Work(), c.input, 0, request, home_ / "single.prn", failure));
    EXPECT_EQ(failure.message, c.single);
    // Two-up composes at 100 %, so a broken magnification shows when scaling.
    MultiPageOptions options;
    request.header.finishing.twoUp = 1;
    options.twoUpSheetWidthMm = 210;
    options.twoUpSheetHeightMm = 297;
    EXPECT_FALSE(ConvertMultiTiff(Work(), c.input, request, options, home_ / "multi.prn", failure));
    EXPECT_EQ(failure.message, c.multi);
    EXPECT_FALSE(std::filesystem::exists(home_ / "single.prn"));
    EXPECT_FALSE(std::filesystem::exists(home_ / "multi.prn"));
  }

  base::Failure failure;
  EXPECT_FALSE(ConvertSingleTiff(Work(), page, 0, A4Request(), home_ / "no/such/folder.prn", failure));
  EXPECT_EQ(failure.message, "印刷コマンド付加エラー");
  EXPECT_FALSE(ConvertMultiTiff(Work(), page, A4Request(), {}, home_ / "no/such/folder.prn", failure));
  EXPECT_EQ(failure.message, "印刷コマンド付加エラー");
}

}  // namespace
}  // namespace orvella::imaging

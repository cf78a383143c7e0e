#include "imaging/tiff_page_info.h"

#include <gtest/gtest.h>

#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::TiffOptions;
using test::WriteTiff;

TEST(ReadPageInfo, ReadsTheHeaderOfTheRequestedPage) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "two.tif", {Bitmap(40, 30), Bitmap(17, 9)}, {.xResolution = 400, .yResolution = 300});
  TiffPageInfo info;
  ASSERT_EQ(ReadPageInfo(dir / "two.tif", 1, info), kTiffOk);
  EXPECT_EQ(info.width, 17u);
  EXPECT_EQ(info.length, 9u);
  EXPECT_EQ(info.samplesPerPixel, 1);
  EXPECT_EQ(info.bitsPerSample, 1);
  EXPECT_EQ(info.photometric, PHOTOMETRIC_MINISWHITE);
  EXPECT_EQ(info.compression, COMPRESSION_CCITTFAX4);
  EXPECT_FLOAT_EQ(info.xResolution, 400);
  EXPECT_FLOAT_EQ(info.yResolution, 300);
  EXPECT_EQ(info.resolutionUnit, RESUNIT_INCH);
  EXPECT_EQ(ReadPageInfo(dir / "two.tif", 2, info), kTiffPageError);
  EXPECT_EQ(ReadPageInfo(dir / "two.tif", -1, info), kTiffPageError);
}

TEST(ReadPageInfo, RefusesWhatTheOperationsCannotProcess) {
  orvella::test::TempDir dir;
  struct Case {
    const char* name;
    TiffOptions options;
    TiffResult expected;
  };
  const Case cases[] = {
      {"lzw", {.compression = COMPRESSION_LZW}, kTiffUnsupportedCompression},
      {"8bit", {.compression = COMPRESSION_NONE, .bitsPerSample = 8}, kTiffUnsupported},
      {"rgb", {.compression = COMPRESSION_NONE, .photometric = PHOTOMETRIC_RGB}, kTiffUnsupported},
      {"no-photometric", {.withPhotometric = false}, kTiffMissingTag},
      {"no-resolution", {.withResolution = false}, kTiffMissingTag},
      {"min-is-black", {.photometric = PHOTOMETRIC_MINISBLACK}, kTiffOk},
      {"packbits", {.compression = COMPRESSION_PACKBITS}, kTiffOk},
  };
  for (const Case& c : cases) {
    const auto path = dir / (std::string(c.name) + ".tif");
    WriteTiff(path, Bitmap::Random(20, 10, 1), c.options);
    TiffPageInfo info;
    EXPECT_EQ(ReadPageInfo(path, 0, info), c.expected) << c.name;
  }
  TiffPageInfo info;
  // Made by tiffcp -c jbig: libtiff reads its header but no row of it.
  EXPECT_EQ(ReadPageInfo(std::filesystem::path(ORVELLA_TEST_DATA) / "imaging/one_page_jbig.tif", 0, info),
            kTiffUnsupportedCompression);
  EXPECT_EQ(ReadPageInfo(dir / "missing.tif", 0, info), kTiffOpenError);
  orvella::test::WriteFileBytes(dir / "text.tif", "not a TIFF at all");
  EXPECT_EQ(ReadPageInfo(dir / "text.tif", 0, info), kTiffOpenError);
}

TEST(ReadPageResolution, ConvertsCentimetresToWholeDotsPerInch) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "cm.tif", Bitmap(600, 300),
            {.xResolution = 118.11f, .yResolution = 39.37f, .resolutionUnit = RESUNIT_CENTIMETER});
  TiffPageResolution r;
  ASSERT_EQ(ReadPageResolution(dir / "cm.tif", 0, r), kTiffOk);
  EXPECT_EQ(r.width, 600u);
  EXPECT_EQ(r.length, 300u);
  EXPECT_EQ(r.xDpi, 300);  // 299.9994 snapped, not truncated to 299
  EXPECT_EQ(r.yDpi, 100);

  WriteTiff(dir / "inch.tif", Bitmap(600, 300), {.xResolution = 400.9f, .yResolution = 200});
  ASSERT_EQ(ReadPageResolution(dir / "inch.tif", 0, r), kTiffOk);
  EXPECT_EQ(r.xDpi, 400);  // truncated
  EXPECT_EQ(r.yDpi, 200);
}

TEST(ReadPageSizeMm, DividesByTheIntegerResolution) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "a.tif", Bitmap(600, 1200), {.xResolution = 600, .yResolution = 300});
  double w = 0, l = 0;
  ASSERT_EQ(ReadPageSizeMm(dir / "a.tif", 0, w, l), kTiffOk);
  EXPECT_DOUBLE_EQ(w, 25.4);
  EXPECT_DOUBLE_EQ(l, 101.6);
  // A zero resolution would give an infinite size.
  WriteTiff(dir / "zero.tif", Bitmap(8, 8), {.xResolution = 0});
  EXPECT_EQ(ReadPageSizeMm(dir / "zero.tif", 0, w, l), kTiffParseError);
}

TEST(CountPages, CountsEveryDirectory) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "three.tif", {Bitmap(8, 8), Bitmap(9, 9), Bitmap(10, 10)});
  int count = 0;
  ASSERT_EQ(CountPages(dir / "three.tif", count), kTiffOk);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(CountPages(dir / "none.tif", count), kTiffOpenError);
}

TEST(ResultText, GivesTheTextOfEveryCode) {
  EXPECT_EQ(ResultText(0), "TIFF操作は正常に終了しました");
  EXPECT_EQ(ResultText(1), "TIFFファイルの読み込みエラー");
  EXPECT_EQ(ResultText(4), ResultText(3));
  EXPECT_EQ(ResultText(6), "サポートしていない圧縮形式です");
  EXPECT_EQ(ResultText(9), "TIFFファイルのメモリエラー");
  EXPECT_EQ(ResultText(11), "※コールバックエラー※");
  EXPECT_EQ(ResultText(12), "※対応するエラーコードはありません※");
  EXPECT_EQ(ResultText(1000), "※対応するエラーコードはありません※");
  EXPECT_EQ(ResultText(-1), "※対応するエラーコードはありません※");
}

}  // namespace
}  // namespace orvella::imaging

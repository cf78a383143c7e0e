#include "imaging/tiff_resample.h"

#include <gtest/gtest.h>

#include "imaging/tiff_page_info.h"
#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::ReadTiff;
using test::WriteTiff;

// Nearest neighbour towards the left, pixel by pixel.
Bitmap Scaled(const Bitmap& in, double ratio) {
  Bitmap out(static_cast<uint32_t>(in.width * ratio), static_cast<uint32_t>(in.length * ratio));
  for (uint32_t y = 0; y < out.length; ++y) {
    for (uint32_t x = 0; x < out.width; ++x) {
      out.Set(x, y, in.At(static_cast<uint32_t>(x * (1 / ratio)), static_cast<uint32_t>(y * (1 / ratio))));
    }
  }
  return out;
}

TEST(ResampleTiff, HalvingKeepsEverySecondRowAndColumn) {
  orvella::test::TempDir dir;
  Bitmap page(9, 8);
  for (uint32_t x = 0; x < 9; ++x) {
    page.Set(x, 2);  // even row: kept
    page.Set(x, 3);  // odd row: dropped
  }
  page.Set(5, 6);  // odd column: dropped
  page.Set(4, 6);
  WriteTiff(dir / "in.tif", page);
  ASSERT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 0.5, true, false), kTiffOk);
  EXPECT_EQ(ReadTiff(dir / "out.tif"), Bitmap::FromText({"....", "####", "....", "..#."}));
}

TEST(ResampleTiff, MatchesNearestNeighbourAtAnyRatio) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(203, 61, 21, 0.3);
  WriteTiff(dir / "in.tif", page, {.xResolution = 400, .yResolution = 400});
  for (double scale : {0.707, 0.1, 0.05, 1.5, 2.0, 3.3}) {
    ASSERT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, scale, true, false), kTiffOk);
    EXPECT_EQ(ReadTiff(dir / "out.tif"), Scaled(page, scale)) << scale;
  }
  // A target resolution scales by target / input and labels the output with it.
  ASSERT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 600, 0.5, true, false), kTiffOk);
  EXPECT_EQ(ReadTiff(dir / "out.tif"), Scaled(page, 0.75));
  TiffPageResolution r;
  ASSERT_EQ(ReadPageResolution(dir / "out.tif", 0, r), kTiffOk);
  EXPECT_EQ(r.xDpi, 600);
  EXPECT_EQ(r.yDpi, 600);
}

TEST(ResampleTiff, ScaleOneCopiesRowsBitForBitAndInvertsMinIsBlack) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(37, 11, 22);
  WriteTiff(dir / "in.tif", page);
  ASSERT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 1, true, false), kTiffOk);
  EXPECT_EQ(ReadTiff(dir / "out.tif"), page);

  Bitmap stored = page;
  for (auto& p : stored.pixels) p = !p;
  WriteTiff(dir / "black.tif", stored, {.photometric = PHOTOMETRIC_MINISBLACK});
  for (double scale : {1.0, 0.5}) {
    ASSERT_EQ(ResampleTiff(dir / "black.tif", dir / "out.tif", 0, scale, true, false), kTiffOk);
    EXPECT_EQ(ReadTiff(dir / "out.tif"), Scaled(page, scale)) << scale;
  }
}

TEST(ResampleTiff, RepacksThroughANumberedIntermediate) {
  orvella::test::TempDir dir;
  const Bitmap page = Bitmap::Random(40, 20, 23);
  WriteTiff(dir / "in.tif", page);
  // A file already holding the first intermediate name is left alone.
  orvella::test::WriteFileBytes(dir / "out.tif_00000", "someone else's");
  for (bool compress : {true, false}) {
    ASSERT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 0.5, compress, true), kTiffOk);
    const std::string bytes = orvella::test::ReadFileBytes(dir / "out.tif");
    EXPECT_EQ(bytes[46 + 8], compress ? 4 : 1);
    // Uncompressed means the strip is the raw rows: 20 x 10 pixels, 3 bytes a row.
    if (!compress) {
      EXPECT_EQ(bytes.size(), 174u + 30u);
    }
    EXPECT_EQ(ReadTiff(dir / "out.tif"), Scaled(page, 0.5));
  }
  EXPECT_EQ(orvella::test::ReadFileBytes(dir / "out.tif_00000"), "someone else's");
  EXPECT_FALSE(std::filesystem::exists(dir / "out.tif_00001"));
}

TEST(ResampleTiff, RefusesRatiosThatGiveNoImage) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "in.tif", Bitmap(10, 10));
  WriteTiff(dir / "lzw.tif", Bitmap(10, 10), {.compression = COMPRESSION_LZW});
  EXPECT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 0, true, false), kTiffParseError);
  EXPECT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, -1, true, false), kTiffParseError);
  EXPECT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 0.05, true, false), kTiffParseError);
  EXPECT_EQ(ResampleTiff(dir / "lzw.tif", dir / "out.tif", 0, 1, true, true), kTiffUnsupportedCompression);
  EXPECT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 1e9, true, false), kTiffMemoryError);
  // Rows within the limit, but a page of terabytes (a resolution near 0 dpi).
  EXPECT_EQ(ResampleTiff(dir / "in.tif", dir / "out.tif", 0, 1e6, true, false), kTiffMemoryError);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.tif"));
}

}  // namespace
}  // namespace orvella::imaging

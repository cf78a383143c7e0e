#include "imaging/tiff_rotate.h"

#include <gtest/gtest.h>

#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::ReadTiff;
using test::Turned;
using test::WriteTiff;

TEST(RotateTiff, MovesTheTopLeftPixelClockwise) {
  orvella::test::TempDir dir;
  Bitmap page(5, 3);
  page.Set(0, 0);
  WriteTiff(dir / "in.tif", page);
  struct Case {
    int angle;
    uint32_t width, length, x, y;
  };
  for (const Case& c :
       {Case{0, 5, 3, 0, 0}, Case{90, 3, 5, 2, 0}, Case{180, 5, 3, 4, 2}, Case{270, 3, 5, 0, 4}}) {
    ASSERT_EQ(RotateTiff(dir / "in.tif", dir / "out.tif", c.angle, 0), kTiffOk) << c.angle;
    Bitmap expected(c.width, c.length);
    expected.Set(c.x, c.y);
    EXPECT_EQ(ReadTiff(dir / "out.tif"), expected) << c.angle;
  }
}

// Odd sizes around the 8 x 8 blocks and the 512-row bands of the quarter turn.
TEST(RotateTiff, MatchesAPixelByPixelTurnForAnySize) {
  orvella::test::TempDir dir;
  const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1},   {1, 9},    {9, 1},   {13, 7},
                                                 {64, 64}, {523, 17}, {17, 600}};
  uint32_t seed = 10;
  for (auto [w, h] : sizes) {
    const Bitmap page = Bitmap::Random(w, h, ++seed);
    for (uint16_t compression : {COMPRESSION_CCITTFAX4, COMPRESSION_NONE}) {
      WriteTiff(dir / "in.tif", page, {.compression = compression});
      for (int angle : {0, 90, 180, 270}) {
        ASSERT_EQ(RotateTiff(dir / "in.tif", dir / "out.tif", angle, 0), kTiffOk);
        EXPECT_EQ(ReadTiff(dir / "out.tif"), Turned(page, angle)) << w << "x" << h << " at " << angle;
      }
    }
  }
}

TEST(RotateTiff, KeepsTheEncodingAndTurnsTheResolutions) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "in.tif", Bitmap::Random(16, 8, 7),
            {.compression = COMPRESSION_PACKBITS,
             .photometric = PHOTOMETRIC_MINISBLACK,
             .xResolution = 600,
             .yResolution = 300});
  ASSERT_EQ(RotateTiff(dir / "in.tif", dir / "out.tif", 90, 0), kTiffOk);
  TIFF* tif = TIFFOpen((dir / "out.tif").c_str(), "r");
  ASSERT_NE(tif, nullptr);
  uint16_t compression = 0, photometric = 0;
  float x = 0, y = 0;
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
  TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y);
  TIFFClose(tif);
  EXPECT_EQ(compression, COMPRESSION_PACKBITS);
  EXPECT_EQ(photometric, PHOTOMETRIC_MINISBLACK);
  EXPECT_FLOAT_EQ(x, 300);
  EXPECT_FLOAT_EQ(y, 600);
}

TEST(RotateTiff, FailsWithoutOutputOnBadInputOrAngle) {
  orvella::test::TempDir dir;
  WriteTiff(dir / "gray.tif", Bitmap(8, 8), {.compression = COMPRESSION_NONE, .bitsPerSample = 8});
  WriteTiff(dir / "ok.tif", Bitmap(8, 8));
  EXPECT_EQ(RotateTiff(dir / "gray.tif", dir / "out.tif", 90, 0), kTiffUnsupported);
  EXPECT_EQ(RotateTiff(dir / "missing.tif", dir / "out.tif", 90, 0), kTiffOpenError);
  EXPECT_EQ(RotateTiff(dir / "ok.tif", dir / "out.tif", 45, 0), kTiffParseError);
  EXPECT_EQ(RotateTiff(dir / "ok.tif", dir / "out.tif", 90, 4), kTiffOpenError);  // no such pattern
  EXPECT_FALSE(std::filesystem::exists(dir / "out.tif"));
}

}  // namespace
}  // namespace orvella::imaging

#include "imaging/stamp_canvas.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <vector>

#include "base/units.h"
#include "imaging/stamp_fonts.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

struct InkBox {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  bool empty() const { return x1 < 0; }
};

InkBox FindInk(const StampCanvas& c, int fromY = 0, int toY = -1) {
  InkBox box;
  if (toY < 0) toY = c.Height();
  for (int y = fromY; y < toY; ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y)) {
        box.x0 = std::min(box.x0, x), box.y0 = std::min(box.y0, y);
        box.x1 = std::max(box.x1, x), box.y1 = std::max(box.y1, y);
      }
  return box;
}

TEST(StampCanvas, SavesAnUncompressedMinIsWhiteStripWithRowsTopFirstMsbFirst) {
  test::TempDir dir;
  StampCanvas canvas;
  ASSERT_TRUE(canvas.Create(40 * 25.4 / 100, 20 * 25.4 / 100, 100));
  EXPECT_EQ(canvas.Width(), 40);
  EXPECT_EQ(canvas.Height(), 20);
  EXPECT_DOUBLE_EQ(canvas.WidthMm(), 40 * 25.4 / 100);
  const double px = 25.4 / 100;
  // One-pixel vertical line at x = 2, short horizontal line at y = 3 from x = 10.
  ASSERT_TRUE(canvas.DrawLine(2 * px, 5 * px, 2 * px, 15 * px, px));
  ASSERT_TRUE(canvas.DrawLine(10 * px, 3 * px, 20 * px, 3 * px, px));
  const auto path = dir / "stamp.tif";
  ASSERT_TRUE(canvas.SaveTiff(path));

  TIFF* tif = TIFFOpen(path.c_str(), "r");
  ASSERT_NE(tif, nullptr);
  uint32_t width = 0, length = 0, rowsPerStrip = 0;
  uint16_t bits = 0, photometric = 9, compression = 0, samples = 0, planar = 0, unit = 0;
  float xres = 0, yres = 0;
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &length));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_PLANARCONFIG, &planar));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres));
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit));
  EXPECT_EQ(width, 40u);
  EXPECT_EQ(length, 20u);
  EXPECT_EQ(bits, 1);
  EXPECT_EQ(photometric, PHOTOMETRIC_MINISWHITE);
  EXPECT_EQ(compression, COMPRESSION_NONE);
  EXPECT_EQ(samples, 1);
  EXPECT_EQ(rowsPerStrip, 20u);
  EXPECT_EQ(TIFFNumberOfStrips(tif), 1u);
  EXPECT_EQ(planar, PLANARCONFIG_CONTIG);
  EXPECT_EQ(xres, 100);
  EXPECT_EQ(yres, 100);
  EXPECT_EQ(unit, RESUNIT_INCH);
  EXPECT_FALSE(TIFFIsTiled(tif));

  std::vector<uint8_t> row(TIFFScanlineSize(tif));
  ASSERT_EQ(row.size(), 5u);
  ASSERT_EQ(TIFFReadScanline(tif, row.data(), 10, 0), 1);
  EXPECT_EQ(row, (std::vector<uint8_t>{0x20, 0, 0, 0, 0}));  // x = 2, most significant bit first
  ASSERT_EQ(TIFFReadScanline(tif, row.data(), 3, 0), 1);
  EXPECT_EQ(row[0], 0);
  EXPECT_EQ(row[1] & 0x7F, 0x3F);  // x = 10..14 at least
  EXPECT_EQ(row[4], 0);
  TIFFClose(tif);
}

TEST(StampCanvas, LoadsTiffsPixelForPixelAndKeepsBlackBlack) {
  test::TempDir dir;
  StampCanvas drawn;
  ASSERT_TRUE(drawn.Create(30, 12, 200));
  ASSERT_TRUE(drawn.DrawRoundRect(1, 1, 25, 11, 0.5));
  ASSERT_TRUE(drawn.SaveTiff(dir / "a.tif"));
  StampCanvas loaded;
  ASSERT_TRUE(loaded.LoadTiff(dir / "a.tif"));
  EXPECT_EQ(loaded.Dpi(), 200);
  ASSERT_EQ(loaded.Width(), drawn.Width());
  ASSERT_EQ(loaded.Height(), drawn.Height());
  std::vector<uint8_t> a((drawn.Width() + 7) / 8), b(a.size());
  for (int y = 0; y < drawn.Height(); ++y) {
    drawn.CopyRow(y, a.data());
    loaded.CopyRow(y, b.data());
    ASSERT_EQ(a, b) << "row " << y;
  }

  // A MinIsBlack page at 47.244 px/cm (120 dpi) with one black pixel at (3, 1),
  // an odd width so the padding bits must stay white after inversion.
  TIFF* tif = TIFFOpen((dir / "b.tif").c_str(), "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 13u);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2u);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 47.2441);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 47.2441);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
  uint8_t white[2] = {0xFF, 0xF8}, dot[2] = {0xEF, 0xF8};
  TIFFWriteScanline(tif, white, 0, 0);
  TIFFWriteScanline(tif, dot, 1, 0);
  TIFFClose(tif);
  ASSERT_TRUE(loaded.LoadTiff(dir / "b.tif"));
  EXPECT_EQ(loaded.Dpi(), 120);
  InkBox ink = FindInk(loaded);
  EXPECT_EQ(ink.x0, 3);
  EXPECT_EQ(ink.y0, 1);
  EXPECT_EQ(ink.x1, 3);
  EXPECT_EQ(ink.y1, 1);
  uint8_t copied[2];
  loaded.CopyRow(0, copied);
  EXPECT_EQ(copied[1], 0);
}

TEST(StampCanvas, NotReadyCanvasDrawsNothingAndSavesNothing) {
  test::TempDir dir;
  StampCanvas canvas;
  EXPECT_FALSE(canvas.Ready());
  EXPECT_FALSE(canvas.DrawLine(0, 0, 1, 1, 0.1));
  EXPECT_FALSE(canvas.DrawText(0, 0, "a", {}, 10));
  EXPECT_FALSE(canvas.SaveTiff(dir / "x.tif"));
  EXPECT_FALSE(std::filesystem::exists(dir / "x.tif"));
  EXPECT_FALSE(canvas.Create(0, 10, 600));     // empty
  EXPECT_FALSE(canvas.Create(2000, 10, 600));  // beyond the pixel limit
  EXPECT_EQ(canvas.WidthMm(), 0);
  EXPECT_FALSE(canvas.LoadTiff(dir / "missing.tif"));
  test::WriteFileBytes(dir / "junk.tif", std::string("II*\0junk", 8));
  EXPECT_FALSE(canvas.LoadTiff(dir / "junk.tif"));
  ASSERT_TRUE(canvas.Create(10, 10, 100));
  EXPECT_FALSE(canvas.SaveTiff(dir / "no-such-folder" / "x.tif"));
}

TEST(StampCanvas, FitScaledKeepsTheAspectRatioCentred) {
  struct Case {
    int bw, bh, tw, th;
    ScaledRect want;
  };
  const Case cases[] = {
      {100, 50, 200, 200, {0, 50, 200, 100}},  {50, 100, 200, 200, {50, 0, 100, 200}},
      {300, 300, 200, 100, {50, 0, 100, 100}}, {1000, 3, 7, 7, {0, 3, 7, 0}},
      {0, 10, 10, 10, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ScaledRect r = FitScaled(c.bw, c.bh, c.tw, c.th);
    EXPECT_EQ(r.x, c.want.x);
    EXPECT_EQ(r.y, c.want.y);
    EXPECT_EQ(r.width, c.want.width);
    EXPECT_EQ(r.height, c.want.height);
  }
}

TEST(StampCanvas, DrawScaledPaintsBlackOnWhite) {
  StampCanvas canvas;
  ASSERT_TRUE(canvas.Create(20, 10, 100));
  ASSERT_TRUE(canvas.DrawRectangle(0, 0, 10, 10, 3));  // ink on the left half only
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 100);
  cairo_t* cr = cairo_create(target);
  canvas.DrawScaled(cr, 100, 100);
  cairo_destroy(cr);
  cairo_surface_flush(target);
  auto pixel = [&](int x, int y) {
    const uint8_t* data = cairo_image_surface_get_data(target);
    return *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(target) + x * 4) &
           0xFFFFFF;
  };
  EXPECT_EQ(pixel(1, 50), 0x000000u);   // left edge of the border, drawn 100 × 50 at y = 25
  EXPECT_EQ(pixel(75, 50), 0xFFFFFFu);  // the empty right half stays white
  EXPECT_EQ(pixel(50, 10), 0x000000u);  // the target outside the stamp is untouched
  cairo_surface_destroy(target);
}

TEST(StampCanvas, TextIsUprightUnmirroredAndInsideItsMeasuredBox) {
  FontRequest font{.face = "ＭＳ Ｐゴシック", .japanese = true};
  const TextSizeMm size = MeasureText("L", font, 20, 300);
  StampCanvas canvas;
  ASSERT_TRUE(canvas.Create(size.width + 2, size.height + 2, 300));
  ASSERT_TRUE(canvas.DrawText(1, 1, "L", font, 20));
  InkBox ink = FindInk(canvas);
  ASSERT_FALSE(ink.empty());
  const int origin = base::MmToDots(1, 300);
  EXPECT_GE(ink.x0, origin);
  EXPECT_GE(ink.y0, origin);
  EXPECT_LE(ink.x1, origin + base::MmToDots(size.width, 300));
  EXPECT_LE(ink.y1, origin + base::MmToDots(size.height, 300));
  // "L": the stem at the left reaches the top, the foot runs right at the bottom.
  InkBox topRow = FindInk(canvas, ink.y0, ink.y0 + 1);
  InkBox bottomRow = FindInk(canvas, ink.y1, ink.y1 + 1);
  EXPECT_EQ(topRow.x0, ink.x0);
  EXPECT_LT(topRow.x1, ink.x0 + (ink.x1 - ink.x0) / 2);
  EXPECT_EQ(bottomRow.x1, ink.x1);
}

}  // namespace
}  // namespace orvella::imaging

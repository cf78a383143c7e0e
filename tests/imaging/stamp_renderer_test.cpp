#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <vector>

#include "base/units.h"
#include "imaging/stamp_painter.h"
#include "settings/program_folders.h"
#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

namespace fs = std::filesystem;
using settings::StampBorder;
using settings::StampSetting;
using settings::StampType;

constexpr StampDate kOctober1st2004{2004, 10, 1};
constexpr int kDpi = 600;

StampSetting Stamp(StampType type) {
  StampSetting s = settings::NewStamp();
  s.name = "stamp";
  s.type = type;
  s.font.SetFaceNameUtf8("ＭＳ Ｐゴシック");
  s.font.charSet = 128;
  s.pointSize = 10;
  s.lineWidth = 5;
  return s;
}

int Px(double mm) { return base::MmToDots(mm, kDpi); }

int InkIn(const StampCanvas& c, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(c.Height(), y1); ++y)
    for (int x = std::max(0, x0); x < std::min(c.Width(), x1); ++x) n += c.Pixel(x, y);
  return n;
}

// Leaves nothing behind in TEMP but what a test put there itself.
class StampRendererTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(Temp()); }
  fs::path Temp() const { return home_ / "TEMP"; }
  // What the scratch folder of RenderStamp (the output's folder) holds.
  std::vector<fs::path> TempFiles() const {
    return {fs::directory_iterator(Temp()), fs::directory_iterator()};
  }

  orvella::test::TempDir home_;
};

TEST_F(StampRendererTest, DateStampIsExactlyTheSizeOfItsText) {
  StampSetting s = Stamp(StampType::kDate);
  s.dateType = settings::StampDateType::kYyMmDdJ;
  StampCanvas canvas;
  ASSERT_TRUE(PaintStamp(s, kDpi, kOctober1st2004, canvas, Temp()));
  const TextSizeMm size = MeasureText("04年10月01日", StampFontRequest(s.font), 10, kDpi);
  EXPECT_EQ(canvas.Width(), Px(size.width));
  EXPECT_EQ(canvas.Height(), Px(size.height));
  EXPECT_GT(InkIn(canvas, 0, 0, canvas.Width(), canvas.Height()), 0);

  // An unknown date type prints nothing, which makes no stamp.
  s.dateType = static_cast<settings::StampDateType>(7);
  EXPECT_FALSE(RenderStamp(s, kDpi, home_ / "d.tif", kOctober1st2004));
  EXPECT_FALSE(fs::exists(home_ / "d.tif"));
  s.type = static_cast<StampType>(3);
  EXPECT_FALSE(RenderStamp(s, kDpi, home_ / "d.tif", kOctober1st2004));
}

TEST_F(StampRendererTest, EmptyRowsDrawOnlyTheBorderAndTheRulers) {
  for (StampBorder border : {StampBorder::kSquare, StampBorder::kNone}) {
    SCOPED_TRACE(static_cast<int>(border));
    StampSetting s = Stamp(StampType::kSimple);
    s.borderType = border;
    s.rulerLines = true;
    StampCanvas canvas;
    StampLayout layout;
    ASSERT_TRUE(PaintStamp(s, kDpi, kOctober1st2004, canvas, Temp(), &layout));
    ASSERT_EQ(layout.rows, (std::vector<std::string>{" ", " ", " "}));
    EXPECT_EQ(layout.borderWidth, border == StampBorder::kNone ? 0 : 0.5);
    EXPECT_EQ(layout.rulerWidth, 0.5);
    const int pen = Px(0.5);
    // Nothing inside the rows...
    for (const MmRect& r : layout.rowBoxes)
      EXPECT_EQ(InkIn(canvas, pen + 1, Px(r.y0) + 2, canvas.Width() - pen - 1, Px(r.y1) - 2), 0);
    // ...every ruler across the whole width...
    ASSERT_EQ(layout.rulers.size(), 2u);
    for (const MmRect& r : layout.rulers) {
      const int y = Px(r.y0);
      EXPECT_EQ(InkIn(canvas, 0, y, canvas.Width() - pen, y + 1), canvas.Width() - pen);
    }
    // ...and the border's left side only when there is a border.
    const int leftColumn = InkIn(canvas, pen / 2, 0, pen / 2 + 1, canvas.Height());
    if (border == StampBorder::kNone) {
      EXPECT_LE(leftColumn, 2 * pen + 2);
    } else {
      EXPECT_GE(leftColumn, canvas.Height() - pen);
    }
  }
}

TEST_F(StampRendererTest, DateRowAndTextRowsAreDrawnInTheirBoxes) {
  StampSetting s = Stamp(StampType::kSimple);
  s.borderType = StampBorder::kCircle;
  s.fourthRow = true;
  s.rowTexts = {"設計", "", "", "山田"};
  s.dateRow = 3;
  s.dateType = settings::StampDateType::kYyMmDdJ;
  StampCanvas canvas;
  StampLayout layout;
  ASSERT_TRUE(PaintStamp(s, kDpi, kOctober1st2004, canvas, Temp(), &layout));
  EXPECT_EQ(layout.rows, (std::vector<std::string>{"設計", " ", "04年10月01日", "山田"}));
  EXPECT_GT(layout.radius, 0);
  EXPECT_EQ(canvas.Width(), Px(2 * layout.radius + 1));
  const bool inked[] = {true, false, true, true};
  for (size_t i = 0; i < 4; ++i) {
    const MmRect& r = layout.rowBoxes[i];
    EXPECT_EQ(InkIn(canvas, Px(r.x0), Px(r.y0), Px(r.x1), Px(r.y1)) > 0, inked[i]) << i;
  }
}

// The preview shows exactly what the stamp file holds.
TEST_F(StampRendererTest, BitmapInMemoryIsTheStampFile) {
  StampSetting s = Stamp(StampType::kSimple);
  s.borderType = StampBorder::kRoundedSquare;
  s.rulerLines = true;
  s.rowTexts = {"設計", "", "", ""};
  s.dateRow = 2;
  constexpr int kPreviewDpi = 144;
  ASSERT_TRUE(RenderStamp(s, kPreviewDpi, Temp() / "s.tif", kOctober1st2004));
  StampBitmap bitmap;
  ASSERT_TRUE(RenderStampBitmap(s, kPreviewDpi, Temp(), bitmap, kOctober1st2004));
  const test::Bitmap file = test::ReadTiff(Temp() / "s.tif");
  ASSERT_EQ(static_cast<uint32_t>(bitmap.size.widthPx), file.width);
  ASSERT_EQ(static_cast<uint32_t>(bitmap.size.heightPx), file.length);
  const size_t rowBytes = (file.width + 7) / 8;
  test::Bitmap memory(file.width, file.length);
  for (uint32_t y = 0; y < file.length; ++y)
    for (uint32_t x = 0; x < file.width; ++x)
      memory.Set(x, y, (bitmap.bits[y * rowBytes + x / 8] >> (7 - x % 8)) & 1);
  EXPECT_EQ(memory, file);
}

TEST_F(StampRendererTest, ImageStampIsResampledToTheJobResolution) {
  // A 300-dpi picture: a filled 4 × 2 mm block at its top-left corner.
  StampCanvas source;
  ASSERT_TRUE(source.Create(10, 6, 300));
  for (double y = 0.25; y < 2; y += 0.25) ASSERT_TRUE(source.DrawLine(0, y, 4, y, 0.3));
  const fs::path picture = home_ / "logo.tif";
  ASSERT_TRUE(source.SaveTiff(picture));

  StampSetting s = Stamp(StampType::kImage);
  s.imagePath = picture.string();
  StampCanvas same;
  ASSERT_TRUE(PaintStamp(s, 300, kOctober1st2004, same, Temp()));
  EXPECT_EQ(same.Width(), source.Width());
  EXPECT_EQ(same.Pixel(10, 10), source.Pixel(10, 10));

  const fs::path out = Temp() / "stamp.tif";
  ASSERT_TRUE(RenderStamp(s, kDpi, out, kOctober1st2004));
  StampCanvas doubled;
  ASSERT_TRUE(doubled.LoadTiff(out));
  EXPECT_EQ(doubled.Dpi(), kDpi);
  EXPECT_EQ(doubled.Width(), 2 * source.Width());
  EXPECT_EQ(doubled.Height(), 2 * source.Height());
  for (int y = 0; y < doubled.Height(); y += 7)
    for (int x = 0; x < doubled.Width(); x += 7) ASSERT_EQ(doubled.Pixel(x, y), source.Pixel(x / 2, y / 2));
  EXPECT_EQ(TempFiles(), std::vector<fs::path>{out});  // the resampled temporary is gone
}

// A one-row picture of 8 pixels with the given sample size and compression.
void WriteTiff(const fs::path& path, int bits, int compression) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 8u);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1u);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0);
  uint8_t row[8] = {0, 64, 128, 255, 0, 64, 128, 255};
  TIFFWriteScanline(tif, row, 0, 0);
  TIFFClose(tif);
}

TEST_F(StampRendererTest, ImageStampFailsWithoutAUsableFile) {
  WriteTiff(home_ / "grey.tif", 8, COMPRESSION_NONE);
  WriteTiff(home_ / "lzw.tif", 1, COMPRESSION_LZW);
  orvella::test::WriteFileBytes(home_ / "text.tif", "not a picture");

  for (const fs::path& path :
       {home_ / "missing.tif", home_ / "grey.tif", home_ / "lzw.tif", home_ / "text.tif", fs::path()}) {
    StampSetting s = Stamp(StampType::kImage);
    s.imagePath = path.string();
    EXPECT_FALSE(RenderStamp(s, kDpi, Temp() / "out.tif", kOctober1st2004)) << path;
  }
  EXPECT_TRUE(TempFiles().empty());
}

}  // namespace
}  // namespace orvella::imaging

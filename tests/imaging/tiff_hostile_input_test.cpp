// Damaged and forged files: every operation refuses them with a result code,
// leaves no output and allocates nothing page-sized for them.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "imaging/tiff_canvas.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_repack.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_rotate.h"
#include "imaging/tiff_stamp_raster.h"
#include "support/imaging/test_bitmap.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::WriteTiff;

struct Outcome {
  TiffResult canvas;
  TiffResult rotated;
  TiffResult resample;
  TiffResult stamp;
};

Outcome RunAll(const orvella::test::TempDir& dir, const std::filesystem::path& input) {
  Outcome o{};
  o.canvas = PlaceOnCanvas(input, 0, dir / "canvas.tif", 0, 0, true);
  o.rotated = RotateTiff(input, dir / "rotated.tif", 90, 0);
  o.resample = ResampleTiff(input, dir / "resampled.tif", 0, 1, true, true);
  o.stamp = WriteStampRaster(input, dir / "stamp.rtl", 0, 0, true);
  for (const char* name :
       {"canvas.tif", "rotated.tif", "resampled.tif", "resampled.tif_00000", "stamp.rtl"}) {
    EXPECT_FALSE(std::filesystem::exists(dir / name)) << name << " left behind for " << input;
  }
  return o;
}

// A repacked page made by the canvas step, its header in front of the strip.
std::string RepackedPage(const orvella::test::TempDir& dir) {
  WriteTiff(dir / "source.tif", Bitmap::Random(300, 200, 31, 0.2));
  EXPECT_EQ(PlaceOnCanvas(dir / "source.tif", 0, dir / "page.tif", 0, 0, true), kTiffOk);
  return orvella::test::ReadFileBytes(dir / "page.tif");
}

TEST(HostileInput, TruncatedOrCorruptStripsAreReadErrors) {
  orvella::test::TempDir dir;
  const std::string page = RepackedPage(dir);
  orvella::test::WriteFileBytes(dir / "cut.tif", page.substr(0, 174 + (page.size() - 174) / 2));
  std::string corrupt = page;
  for (size_t i = 174 + (page.size() - 174) / 2; i < corrupt.size(); ++i)
    corrupt[i] = static_cast<char>(i * 37);
  orvella::test::WriteFileBytes(dir / "corrupt.tif", corrupt);
  // An uncompressed strip whose byte count runs past the end of the file.
  WriteTiff(dir / "raw.tif", Bitmap::Random(64, 64, 32), {.compression = COMPRESSION_NONE});
  ASSERT_EQ(PlaceOnCanvas(dir / "raw.tif", 0, dir / "raw-page.tif", 0, 0, false), kTiffOk);
  const std::string raw = orvella::test::ReadFileBytes(dir / "raw-page.tif");
  orvella::test::WriteFileBytes(dir / "raw-cut.tif", raw.substr(0, raw.size() - 100));

  // Data the header places beyond the file's end is found at the header,
  // so a job names the page's fault before any step starts on it.
  for (const char* name : {"cut.tif", "raw-cut.tif"}) {
    TiffPageInfo info;
    std::string detail;
    EXPECT_EQ(ReadPageInfo(dir / name, 0, info, &detail), kTiffReadError) << name;
    EXPECT_EQ(
        detail.rfind("page 1 of " + (dir / name).string() +
                         " is cut short: its image data runs beyond the end of the file (strip 1 of 1: ",
                     0),
        0u)
        << detail;
  }
  TiffPageInfo corruptInfo;
  EXPECT_EQ(ReadPageInfo(dir / "corrupt.tif", 0, corruptInfo), kTiffOk);  // only its rows show it
  for (const char* name : {"cut.tif", "corrupt.tif", "raw-cut.tif"}) {
    const Outcome o = RunAll(dir, dir / name);
    EXPECT_EQ(o.canvas, kTiffReadError) << name;
    EXPECT_EQ(o.rotated, kTiffReadError) << name;
    EXPECT_EQ(o.resample, kTiffReadError) << name;
    EXPECT_EQ(o.stamp, kTiffReadError) << name;
  }
}

long PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

TEST(HostileInput, HugeHeadersCostNoMemory) {
  orvella::test::TempDir dir;
  // Tiny files whose headers claim 10^6 x 10^6 pixels (125 GB unpacked) and
  // 2^31 x 1 pixels; the strip is 64 bytes of nothing.
  const std::string strip(64, '\0');
  auto forge = [&](const char* name, uint32_t width, uint32_t length) {
    const auto header = RepackedHeader({width, length, true, 600, 600}, static_cast<uint32_t>(strip.size()));
    orvella::test::WriteFileBytes(dir / name, std::string(header.begin(), header.end()) + strip);
  };
  forge("square.tif", 1000000, 1000000);
  forge("wide.tif", 1u << 31, 1);
  const long before = PeakRssMb();

  TiffPageInfo info;
  int pages = 0;
  EXPECT_EQ(CountPages(dir / "square.tif", pages), kTiffOk);
  EXPECT_EQ(pages, 1);
  // Beyond 4 GiB no step can take the page: its header is refused, saying
  // why, and every step refuses it before reading.
  std::string detail;
  EXPECT_EQ(ReadPageInfo(dir / "square.tif", 0, info, &detail), kTiffMemoryError);
  EXPECT_EQ(detail, "page 1 of " + (dir / "square.tif").string() +
                        " is 1000000 x 1000000 pixels at 600 dpi, 125000000000 bytes unpacked; pages of more "
                        "than 4 GiB are refused");
  const Outcome square = RunAll(dir, dir / "square.tif");
  EXPECT_EQ(square.canvas, kTiffMemoryError);
  EXPECT_EQ(square.rotated, kTiffMemoryError);
  EXPECT_EQ(square.resample, kTiffMemoryError);
  EXPECT_EQ(square.stamp, kTiffMemoryError);

  // Rows too wide for any buffer are refused before anything is read.
  EXPECT_EQ(ReadPageInfo(dir / "wide.tif", 0, info), kTiffMemoryError);
  const Outcome wide = RunAll(dir, dir / "wide.tif");
  EXPECT_EQ(wide.canvas, kTiffMemoryError);
  EXPECT_EQ(wide.rotated, kTiffMemoryError);
  EXPECT_EQ(wide.resample, kTiffMemoryError);
  EXPECT_EQ(wide.stamp, kTiffMemoryError);

  EXPECT_LT(PeakRssMb() - before, 64);
}

// A file cut short while it is read (a copy over a drawing that prints
// rewrites it in place) fails the read; it must not bring the process down.
TEST(TiffHostileInput, AFileCutShortWhileItIsReadFailsItsRows) {
  orvella::test::TempDir dir;
  const std::filesystem::path file = dir / "cut.tif";
  test::TiffOptions options;
  options.compression = COMPRESSION_NONE;
  WriteTiff(file, {Bitmap::Random(2000, 3000, 5, 0.5)}, options);
  TiffFile tiff(file, "r");
  ASSERT_TRUE(tiff);
  ASSERT_TRUE(tiff.SetPage(0));
  ASSERT_EQ(::truncate(file.c_str(), 4096), 0);
  std::vector<uint8_t> row(RowBytes(2000));
  bool failed = false;
  for (uint32_t y = 0; y < 3000 && !failed; y += 100) failed = !tiff.ReadRow(row.data(), y);
  EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace orvella::imaging

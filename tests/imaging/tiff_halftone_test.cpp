#include "imaging/tiff_halftone.h"

#include <gtest/gtest.h>

#include "imaging/tiff_rotate.h"
#include "support/imaging/test_bitmap.h"
#include "support/process_setup.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using test::Bitmap;
using test::ReadTiff;
using test::WriteTiff;

// Each test gets its own program folder; the shipped patterns stay reachable
// beside the test binary.
class Halftone : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(home_ / "Halftone"); }
  // The program folder, and the shipped data the process set-up found.
  settings::WorkContext Folders() const { return {home_.Path(), {}, orvella::test::ProcessFolders().data}; }
  orvella::test::TempDir home_;
};

TEST_F(Halftone, ShipsThreeDitherPatternsOfAtLeast200mmAt600Dpi) {
  for (int n = 1; n <= 3; ++n) {
    const auto path = HalftonePatternPath(Folders(), n);
    ASSERT_TRUE(path) << n;
    EXPECT_EQ(*path, orvella::test::ProcessFolders().executable / "Halftone" / (std::to_string(n) + ".TIF"));
    const Bitmap pattern = ReadTiff(*path);
    EXPECT_GE(pattern.width, 4725u);
    EXPECT_GE(pattern.length, 4725u);
    EXPECT_DOUBLE_EQ(pattern.Density(), 0.25 * n) << n;
  }
  EXPECT_FALSE(HalftonePatternPath(Folders(), 0));
  EXPECT_FALSE(HalftonePatternPath(Folders(), 4));
}

TEST_F(Halftone, ScreensOnlyThePartThePatternCovers) {
  // A 12 x 2 pattern of alternate pixels, stored MinIsBlack (inverted on reading).
  Bitmap pattern = Bitmap::FromText({"#.#.#.#.#.#.", ".#.#.#.#.#.#"});
  Bitmap stored = pattern;
  for (auto& p : stored.pixels) p = !p;
  WriteTiff(home_ / "Halftone/2.TIF", stored, {.photometric = PHOTOMETRIC_MINISBLACK});
  ASSERT_EQ(HalftonePatternPath(Folders(), 2), home_ / "Halftone/2.TIF");

  // A solid 20 x 4 stamp: the pattern's 12 x 2 corner is screened, the rest
  // stays solid, also the 4 pixels beyond the pattern's width in its last byte.
  Bitmap solid(20, 4);
  for (auto& p : solid.pixels) p = 1;
  std::vector<uint8_t> image;
  for (uint32_t y = 0; y < 4; ++y) {
    auto row = solid.PackedRow(y);
    image.insert(image.end(), row.begin(), row.end());
  }
  ASSERT_EQ(ApplyHalftone(2, image.data(), 4, 3, Folders()), kTiffOk);
  Bitmap expected = solid;
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 12; ++x) expected.Set(x, y, pattern.At(x, y));
  }
  for (uint32_t y = 0; y < 4; ++y) {
    const auto want = expected.PackedRow(y);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 3 * y, image.begin() + 3 * y + 3), want) << y;
  }

  // Through the rotation, the screen applies before the turn.
  WriteTiff(home_ / "solid.tif", solid);
  ASSERT_EQ(RotateTiff(home_ / "solid.tif", home_ / "turned.tif", 180, 2, Folders()), kTiffOk);
  EXPECT_EQ(ReadTiff(home_ / "turned.tif"), test::Turned(expected, 180));
}

TEST_F(Halftone, ThePatternsComeFromTheDataFolderTheContextNames) {
  orvella::test::TempDir data;
  std::filesystem::create_directory(data / "Halftone");
  WriteTiff(data / "Halftone/2.TIF", Bitmap::FromText({"#.", ".#"}));
  const settings::WorkContext folders{home_.Path(), {}, data.Path()};
  EXPECT_EQ(HalftonePatternPath(folders, 2), data / "Halftone/2.TIF");
  uint8_t image[1] = {0xFF};
  ASSERT_EQ(ApplyHalftone(2, image, 1, 1, folders), kTiffOk);
  EXPECT_EQ(image[0], 0xBF);  // the pattern's corner screens the first two pixels only
}

TEST_F(Halftone, PatternZeroChangesNothingAndBrokenPatternsFail) {
  uint8_t image[2] = {0xFF, 0xFF};
  EXPECT_EQ(ApplyHalftone(0, image, 1, 2, Folders()), kTiffOk);
  EXPECT_EQ(image[0], 0xFF);
  // A pattern file in the program folder wins over the shipped one, broken or not.
  orvella::test::WriteFileBytes(home_ / "Halftone/1.TIF", "garbage");
  EXPECT_EQ(ApplyHalftone(1, image, 1, 2, Folders()), kTiffOpenError);
  WriteTiff(home_ / "Halftone/3.TIF", Bitmap(8, 8), {.compression = COMPRESSION_NONE, .bitsPerSample = 8});
  EXPECT_EQ(ApplyHalftone(3, image, 1, 2, Folders()), kTiffUnsupported);
  EXPECT_EQ(ApplyHalftone(-1, image, 1, 2, Folders()), kTiffOpenError);
  // The shipped 50 % pattern.
  EXPECT_EQ(ApplyHalftone(2, image, 1, 2, Folders()), kTiffOk);
  EXPECT_EQ(image[0], 0xAA);
}

}  // namespace
}  // namespace orvella::imaging

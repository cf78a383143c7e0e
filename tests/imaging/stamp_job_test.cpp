#include "imaging/stamp_job.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/tiff_page_info.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

namespace fs = std::filesystem;

settings::StampSetting DateStamp(const std::string& name, settings::StampCorner corner) {
  settings::StampSetting s = settings::NewStamp();
  s.name = name;
  s.corner = corner;
  s.xOffset = 10;
  s.yOffset = 5;
  s.font.SetFaceNameUtf8("ＭＳ Ｐゴシック");
  return s;
}

class GenerateJobStampsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Temp());
    stamps_ = {DateStamp("右下", settings::StampCorner::kLowerRight),
               DateStamp("左上", settings::StampCorner::kUpperLeft)};
  }
  fs::path Temp() const { return home_ / "TEMP"; }
  test::TempDir home_;
  settings::StampList stamps_;
};

TEST_F(GenerateJobStampsTest, RendersEachNamedSlotIntoTempAndPlacesIt) {
  const std::array<settings::StampUse, 3> slots{{{"右下", 2}, {"", 0}, {"左上", 0}}};
  std::array<StampPlacement, 3> placements{};
  placements[1].x = 42;  // an unused slot keeps what it held
  base::Failure failure;
  ASSERT_TRUE(GenerateJobStamps(Temp(), slots, stamps_, 300, 297, 210, kRotateNone, placements, failure,
                                {2004, 10, 1}));
  EXPECT_EQ(failure.message, "");

  const StampPlacement& lowerRight = placements[0];
  EXPECT_TRUE(lowerRight.valid);
  EXPECT_EQ(lowerRight.halftone, 2);
  EXPECT_EQ(lowerRight.path, Temp() / "stamp1.tif");
  double width = 0, height = 0;
  ASSERT_EQ(ReadPageSizeMm(lowerRight.path, 0, width, height), kTiffOk);
  EXPECT_NEAR(lowerRight.x, 297 - width - 10, 1e-9);
  EXPECT_NEAR(lowerRight.y, 210 - height - 5, 1e-9);

  EXPECT_FALSE(placements[1].valid);
  EXPECT_EQ(placements[1].x, 42);
  EXPECT_EQ(placements[2].path, Temp() / "stamp3.tif");
  EXPECT_EQ(placements[2].x, 10);
  EXPECT_EQ(placements[2].y, 5);
  EXPECT_TRUE(fs::exists(placements[2].path));
  EXPECT_FALSE(fs::exists(Temp() / "stamp2.tif"));

  // Turned by 180 degrees, the upper-left stamp is composed in the lower right.
  ASSERT_TRUE(GenerateJobStamps(Temp(), slots, stamps_, 300, 297, 210, kRotate180, placements, failure,
                                {2004, 10, 1}));
  EXPECT_NEAR(placements[2].x, 297 - width - 10, 1e-9);
  EXPECT_NEAR(placements[2].y, 210 - height - 5, 1e-9);
}

TEST_F(GenerateJobStampsTest, NamesTheStampOfTheFirstFailingSlot) {
  const std::array<settings::StampUse, 3> slots{{{"左上", 0}, {"無い", 1}, {"右下", 0}}};
  std::array<StampPlacement, 3> placements{};
  base::Failure failure;
  EXPECT_FALSE(GenerateJobStamps(Temp(), slots, stamps_, 300, 297, 210, kRotateNone, placements, failure));
  EXPECT_EQ(failure.message, "スタンプ画像の生成エラー[無い]");
  EXPECT_TRUE(placements[0].valid);
  EXPECT_EQ(placements[0].x, 10);
  EXPECT_FALSE(placements[2].valid);
}

}  // namespace
}  // namespace orvella::imaging

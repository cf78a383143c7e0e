#include "logging/error_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/text_codec.h"
#include "logging/job_log.h"
#include "logging/log_test_support.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::logging {
namespace {

using test::Cp932;
using test::Local;

class ErrorRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::CreateApplicationFolders(home.Path()); }
  test::TempDir home;
  test::TempDir hot;
  const std::time_t when = Local(2007, 3, 2, 14, 5, 9);
};

TEST_F(ErrorRecordTest, APageFailureGetsItsOwnFolderWithTheLineAndACopy) {
  const std::string source = (hot / "plan.tif").string();
  test::WriteFileBytes(source, "page data");
  EXPECT_TRUE(WriteErrorRecordAt(home.Path(), 3, source, "画像サイズエラー", when));

  const std::filesystem::path folder = home / "ERROR/20070302_140509_plan_p3.tif";
  EXPECT_EQ(test::ReadFileBytes(folder / "error.csv"),
            Cp932(kJobLogHeader) +
                Cp932("2007/03/02,14:05:09," + hot.Path().string() + ",-,plan.tif,-,-,-,-,画像サイズエラー"));
  EXPECT_EQ(test::ReadFileBytes(folder / "plan.tif"), "page data");
  EXPECT_EQ(ErrorFolderPath(home.Path(), kWholeFile, "/x/noext", when), home / "ERROR/20070302_140509_noext");
  EXPECT_EQ(ErrorFolderPath(home.Path(), 1, "/x/noext", when), home / "ERROR/20070302_140509_noext_p1");
}

TEST_F(ErrorRecordTest, TwoFailuresInOneSecondShareTheFolder) {
  test::TempDir other;
  test::WriteFileBytes(hot / "a.plt", "first");
  test::WriteFileBytes(other / "a.plt", "second");
  WriteErrorRecordAt(home.Path(), kWholeFile, (hot / "a.plt").string(), "one", when);
  WriteErrorRecordAt(home.Path(), kWholeFile, (other / "a.plt").string(), "two", when);

  const std::filesystem::path folder = home / "ERROR/20070302_140509_a.plt";
  const std::string csv = test::ReadFileBytes(folder / "error.csv");
  EXPECT_EQ(csv.find(*base::Utf8ToCp932(kJobLogHeader)), 0U);
  EXPECT_EQ(csv.rfind(*base::Utf8ToCp932(kJobLogHeader)), 0U);
  EXPECT_NE(csv.find(",one\r\n"), std::string::npos);
  EXPECT_NE(csv.find(",two\r\n"), std::string::npos);
  EXPECT_EQ(test::ReadFileBytes(folder / "a.plt"), "second");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);  // no temp left
}

TEST_F(ErrorRecordTest, AFolderOrCopyThatFailsIsLoggedInTheDailyLog) {
  EXPECT_FALSE(WriteErrorRecordAt(home.Path(), kWholeFile, (hot / "gone.tif").string(), "x", when));
  std::filesystem::remove_all(home / "ERROR");
  test::WriteFileBytes(home / "ERROR", "not a folder");
  test::WriteFileBytes(hot / "b.tif", "b");
  EXPECT_FALSE(WriteErrorRecordAt(home.Path(), kWholeFile, (hot / "b.tif").string(), "y", when));

  const std::string log =
      base::Cp932ToUtf8(test::ReadFileBytes(DailyLogPath(home.Path(), std::time(nullptr))));
  EXPECT_NE(log.find(",gone.tif,-,-,-,-,エラーファイルのコピーに失敗しました("), std::string::npos) << log;
  EXPECT_NE(log.find(",b.tif,-,-,-,-,エラーフォルダの作成に失敗しました("), std::string::npos) << log;
}

// A name near the file system's limit still gets its folder (cut short, its
// page and extension kept), and the copy is the program's own file by content:
// 0640, whatever the source's mode.
TEST_F(ErrorRecordTest, LongNamesGetAShortenedFolderAndTheCopyIsPrivate) {
  // 246 bytes; the cut falls inside a character either way.
  const std::string name = std::string(230, 'n') + "図面図面.tif";
  const std::string source = (hot / name).string();
  test::WriteFileBytes(source, "drawing");
  ASSERT_EQ(::chmod(source.c_str(), 04777), 0);
  for (const int page : {kWholeFile, 12}) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(WriteErrorRecordAt(home.Path(), page, source, "x", when));
    const std::filesystem::path folder = ErrorFolderPath(home.Path(), page, source, when);
    const std::string folderName = folder.filename().string();
    EXPECT_LE(folderName.size(), 255U);
    EXPECT_TRUE(folderName.ends_with(page == kWholeFile ? ".tif" : "_p12.tif")) << folderName;
    EXPECT_TRUE(base::Utf8ToCp932(folderName).has_value()) << "not cut inside a character";
    EXPECT_EQ(test::ReadFileBytes(folder / name), "drawing");
    struct stat info {};
    ASSERT_EQ(::stat((folder / name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
  }
}

}  // namespace
}  // namespace orvella::logging

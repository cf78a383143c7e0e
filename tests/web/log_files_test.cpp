// The logs and error records the status page serves: names from a request
// are only looked up, never followed out of LOG and ERROR.
#include "app/web/log_files.h"

#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "logging/error_record.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::web {
namespace {

class LogFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::CreateApplicationFolders(home.Path());
    test::WriteFileBytes(home / "secret.csv", "not a log");
    test::WriteFileBytes(
        home / "LOG/20261210.csv",
        *base::Utf8ToCp932("日付,時刻\r\n2026/12/10,08:00:00,/hot,-,a.tif,-,-,-,-,未対応ファイル\r\n"));
  }
  test::TempDir home;
};

TEST_F(LogFilesTest, ADayIsEightDigitsNamingAFileOfLog) {
  EXPECT_TRUE(FindLogDay(home.Path(), "20261210"));
  for (const char* date :
       {"20261211", "2026121", "202612100", "2026121a", "../secret", "..", "/etc/passwd", ""})
    EXPECT_FALSE(FindLogDay(home.Path(), date)) << date;
  const auto days = ListLogDays(home.Path(), 31);
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0].date, "20261210");
}

TEST_F(LogFilesTest, CommasBeyondTheNinthBelongToTheMessage) {
  const LogColumns columns = SplitLogLine("d,t,/hot,p,a.tif,tr,1,2,3,message, with, commas");
  EXPECT_EQ(columns[4], "a.tif");
  EXPECT_EQ(columns[9], "message, with, commas");
  const auto log = ReadLogFile(home / "LOG/20261210.csv", 1024);
  ASSERT_TRUE(log);
  ASSERT_EQ(log->lines.size(), 1u);
  EXPECT_EQ(log->lines[0][9], "未対応ファイル");
  // Only the end of a long log: whole lines, never half of one.
  const auto tail = ReadLogFile(home / "LOG/20261210.csv", 40);
  ASSERT_TRUE(tail);
  EXPECT_TRUE(tail->truncated);
  EXPECT_TRUE(tail->lines.empty());
}

TEST_F(LogFilesTest, AnErrorRecordIsFoundByItsFolderNameOnly) {
  std::filesystem::create_directory(home / "hot");
  test::WriteFileBytes(home / "hot/notes.txt", "not a drawing");
  ASSERT_TRUE(logging::WriteErrorRecordAt(home.Path(), logging::kWholeFile, (home / "hot/notes.txt").string(),
                                          "未対応ファイル", 1796889600,
                                          {{}, "neither a TIFF file\nnor HP-GL/2 in a PJL envelope"}));
  const auto records = ListErrorRecords(home.Path(), 200);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].fileName, "notes.txt");
  EXPECT_EQ(records[0].message, "未対応ファイル");
  EXPECT_EQ(records[0].detail, "neither a TIFF file nor HP-GL/2 in a PJL envelope");
  EXPECT_EQ(records[0].folder, (home / "hot").string());
  EXPECT_EQ(test::ReadFileBytes(records[0].kept), "not a drawing");

  const auto found = FindErrorRecord(home.Path(), records[0].id);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->kept, records[0].kept);
  for (const std::string& id : {std::string(".."), std::string("../INI"), records[0].id + "/../..",
                                (home / "ERROR" / records[0].id).string(), std::string("")})
    EXPECT_FALSE(FindErrorRecord(home.Path(), id)) << id;
}

}  // namespace
}  // namespace orvella::web

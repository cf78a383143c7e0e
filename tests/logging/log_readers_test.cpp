// The logs and error folders read back as the writers left them: names from
// a request are only looked up, never followed out of LOG and ERROR.
#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "logging/error_folder_reader.h"
#include "logging/error_record.h"
#include "logging/job_log.h"
#include "logging/job_log_reader.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::logging {
namespace {

class LogReadersTest : public ::testing::Test {
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

TEST_F(LogReadersTest, ADayIsEightDigitsNamingAFileOfLog) {
  EXPECT_TRUE(FindLogDay(home.Path(), "20261210"));
  for (const char* date :
       {"20261211", "2026121", "202612100", "2026121a", "../secret", "..", "/etc/passwd", ""})
    EXPECT_FALSE(FindLogDay(home.Path(), date)) << date;
  const auto days = ListLogDays(home.Path(), 31);
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0].date, "20261210");
}

TEST_F(LogReadersTest, CommasBeyondTheNinthBelongToTheMessage) {
  const JobLogRecord record = ParseJobLogRecord("d,t,/hot,p,a.tif,tr,1,2,3,message, with, commas");
  EXPECT_EQ(record.fileName, "a.tif");
  EXPECT_EQ(record.message, "message, with, commas");
  const auto log = ReadJobLog(home / "LOG/20261210.csv", 1024);
  ASSERT_TRUE(log);
  ASSERT_EQ(log->records.size(), 1u);
  EXPECT_EQ(log->records[0].message, "未対応ファイル");
  // Only the end of a long log: whole lines, never half of one.
  const auto tail = ReadJobLog(home / "LOG/20261210.csv", 40);
  ASSERT_TRUE(tail);
  EXPECT_TRUE(tail->truncated);
  EXPECT_TRUE(tail->records.empty());
}

// Names a file may have, and how the job log keeps them: CP932 has no é.
struct NameCase {
  std::string name;
  std::string logged;
};
const NameCase kNames[] = {
    {"plan.tif", "plan.tif"},
    {"13,15.tif", "13,15.tif"},
    {"say \"hi\".tif", "say \"hi\".tif"},
    {"cr\r.tif", "cr\r.tif"},
    {"lf\n.tif", "lf\n.tif"},
    // A line end and then what looks like the start of a record.
    {"x\r\n2026-12-11,09:00:00,-,-,-,-,-,-,-,OK.tif", "x\r\n2026-12-11,09:00:00,-,-,-,-,-,-,-,OK.tif"},
    {"図面,第2版.tif", "図面,第2版.tif"},
    {"café.tif", "caf?.tif"},
};

TEST_F(LogReadersTest, EveryFileNameReadsBackInItsColumnFromTheJobLog) {
  const std::filesystem::path log = home / "LOG/20261211.csv";
  for (const NameCase& c : kNames) {
    const JobLogFields fields{"/hot/" + c.name, "plotter", "ロール1", 594, 841, 13.15, "OK"};
    ASSERT_TRUE(WriteJobLogAt(home.Path(), log, fields, 1796976000));
  }
  const auto content = ReadJobLog(log, 1 << 20);
  ASSERT_TRUE(content);
  ASSERT_EQ(content->records.size(), std::size(kNames));
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    const JobLogRecord& record = content->records[i];
    EXPECT_EQ(record.folder, "/hot") << kNames[i].name;
    EXPECT_EQ(record.fileName, kNames[i].logged);
    EXPECT_EQ(record.sizeKb, "13.15") << kNames[i].name;
    EXPECT_EQ(record.message, "OK") << kNames[i].name;
  }

  // Only the end of the log, cut inside the name that holds a line end: the
  // read starts at the next whole record, not at the line in the name.
  const std::string bytes = test::ReadFileBytes(log);
  const std::size_t cut = bytes.find("x\r\n") + 1;
  const auto tail = ReadJobLog(log, bytes.size() - cut);
  ASSERT_TRUE(tail);
  EXPECT_TRUE(tail->truncated);
  ASSERT_EQ(tail->records.size(), 2u);
  EXPECT_EQ(tail->records[0].fileName, "図面,第2版.tif");
}

TEST_F(LogReadersTest, EveryFileNameReadsBackFromItsErrorRecord) {
  std::filesystem::create_directory(home / "hot");
  std::time_t now = 1796889600;
  for (const NameCase& c : kNames) {
    test::WriteFileBytes(home / "hot" / c.name, c.name);
    ASSERT_TRUE(WriteErrorRecordAt(home.Path(), kWholeFile, (home / "hot" / c.name).string(),
                                   "未対応ファイル", ++now));
  }
  const auto records = ListErrorFolders(home.Path(), 200);
  ASSERT_EQ(records.size(), std::size(kNames));
  for (const ErrorFolder& record : records) {
    SCOPED_TRACE(record.id);
    EXPECT_EQ(record.message, "未対応ファイル");
    EXPECT_EQ(record.folder, (home / "hot").string());
    // The copy is found under its own name, also when the log could not hold it.
    ASSERT_FALSE(record.kept.empty());
    EXPECT_EQ(record.fileName, record.kept.filename().string());
    EXPECT_EQ(test::ReadFileBytes(record.kept), record.fileName);
  }
}

TEST_F(LogReadersTest, AnErrorRecordIsFoundByItsFolderNameOnly) {
  std::filesystem::create_directory(home / "hot");
  test::WriteFileBytes(home / "hot/notes.txt", "not a drawing");
  ASSERT_TRUE(WriteErrorRecordAt(home.Path(), kWholeFile, (home / "hot/notes.txt").string(), "未対応ファイル",
                                 1796889600, {{}, "neither a TIFF file\nnor HP-GL/2 in a PJL envelope"}));
  const auto records = ListErrorFolders(home.Path(), 200);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].fileName, "notes.txt");
  EXPECT_EQ(records[0].message, "未対応ファイル");
  EXPECT_EQ(records[0].detail, "neither a TIFF file nor HP-GL/2 in a PJL envelope");
  EXPECT_EQ(records[0].folder, (home / "hot").string());
  EXPECT_EQ(test::ReadFileBytes(records[0].kept), "not a drawing");

  const auto found = FindErrorFolder(home.Path(), records[0].id);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->kept, records[0].kept);
  for (const std::string& id : {std::string(".."), std::string("../INI"), records[0].id + "/../..",
                                (home / "ERROR" / records[0].id).string(), std::string("")})
    EXPECT_FALSE(FindErrorFolder(home.Path(), id)) << id;
}

}  // namespace
}  // namespace orvella::logging

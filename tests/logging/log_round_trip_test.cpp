// What the writers put down reads back field by field: the job log with
// every kind of text a field may hold, and the error folders with and
// without a detail, under names cut to the folder name limit.
#include <gtest/gtest.h>

#include <fstream>

#include "logging/error_folder_reader.h"
#include "logging/error_record.h"
#include "logging/job_log.h"
#include "logging/job_log_reader.h"
#include "logging/log_test_support.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::logging {
namespace {

using test::Cp932;
using test::Local;

class LogRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::CreateApplicationFolders(home.Path()); }
  test::TempDir home;
  const std::time_t when = Local(2026, 12, 10, 8, 5, 9);
};

struct FieldsCase {
  JobLogFields written;
  JobLogRecord read;  // date and time aside
};
const FieldsCase kFields[] = {
    {{"/hot/in/図面.tif", "広幅1", "ロール1", 594, 841, 123.456, "OK"},
     {"", "", "/hot/in", "広幅1", "図面.tif", "ロール1", "594", "841", "123.46", "OK"}},
    {{}, {"", "", "-", "-", "-", "-", "-", "-", "-", "-"}},
    {{"/hot/a,b/c,d.tif", "広幅,1", "ロール,2", 0, 297, 0.0, "中止(部数1/2),再開"},
     {"", "", "/hot/a,b", "広幅,1", "c,d.tif", "ロール,2", "-", "297", "-", "中止(部数1/2),再開"}},
    {{"/hot/\"q\"/say \"hi\".tif", "\"", "a\"\"b", 1, 2, 3.0, "\"引用\""},
     {"", "", "/hot/\"q\"", "\"", "say \"hi\".tif", "a\"\"b", "1", "2", "3.00", "\"引用\""}},
    // Line ends, and after one what looks like the start of a record.
    {{"/hot/cr\r.tif", "p\r\nq", "t\nu", 0, 0, 0.0, "一行目\r\n2026/12/11,09:00:00,-,-,-,-,-,-,-,二行目"},
     {"", "", "/hot", "p\r\nq", "cr\r.tif", "t\nu", "-", "-", "-",
      "一行目\r\n2026/12/11,09:00:00,-,-,-,-,-,-,-,二行目"}},
    // Characters CP932 lacks are "?", each alone.
    {{"/hot/café/\U0001F600.tif", "Ωmega€", "ロール1", 0, 0, 0.5, "中止\U0001F600です"},
     {"", "", "/hot/caf?", "Ωmega?", "?.tif", "ロール1", "-", "-", "0.50", "中止?です"}},
};

TEST_F(LogRoundTripTest, EveryFieldReadsBackAsWritten) {
  const std::filesystem::path log = DailyLogPath(home.Path(), when);
  for (const FieldsCase& c : kFields) ASSERT_TRUE(WriteJobLogAt(home.Path(), std::nullopt, c.written, when));
  const auto content = ReadJobLog(log, 1 << 20);
  ASSERT_TRUE(content);
  EXPECT_FALSE(content->truncated);
  ASSERT_EQ(content->records.size(), std::size(kFields));
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    SCOPED_TRACE(i);
    JobLogRecord expected = kFields[i].read;
    expected.date = "2026/12/10";
    expected.time = "08:05:09";
    EXPECT_EQ(content->records[i].Columns(), expected.Columns());
  }
}

// A reader may meet the file between two appends or, in principle, in the
// middle of one; and with a bound, the read starts inside a record.
TEST_F(LogRoundTripTest, ACutTailReadsFromTheNextWholeRecord) {
  const std::filesystem::path log = DailyLogPath(home.Path(), when);
  for (const FieldsCase& c : kFields) ASSERT_TRUE(WriteJobLogAt(home.Path(), std::nullopt, c.written, when));
  const std::string whole = test::ReadFileBytes(log);
  // An unfinished record: inside a quoted field, cut inside a character.
  const std::string half = Cp932("2026/12/10,08:05:10,/hot,-,\"途中");
  std::ofstream(log, std::ios::app | std::ios::binary) << half.substr(0, half.size() - 3);

  const auto content = ReadJobLog(log, 1 << 20);
  ASSERT_TRUE(content);
  ASSERT_EQ(content->records.size(), std::size(kFields) + 1);
  EXPECT_EQ(content->records[std::size(kFields) - 1].message, "中止?です");
  EXPECT_EQ(content->records.back().time, "08:05:10");

  // Cut inside the printer name that holds a line end: the read starts at
  // the record after it, not at the line inside the field.
  const std::size_t cut = whole.find("p\r\nq") + 2;
  const auto tail = ReadJobLog(log, test::ReadFileBytes(log).size() - cut);
  ASSERT_TRUE(tail);
  EXPECT_TRUE(tail->truncated);
  ASSERT_EQ(tail->records.size(), 2u);
  EXPECT_EQ(tail->records[0].printerName, "Ωmega?");
}

struct FolderCase {
  std::string name;    // of the source file
  std::string detail;  // given to the writer
  std::string read;    // the detail read back
};

TEST_F(LogRoundTripTest, ErrorFoldersReadBackWithOrWithoutTheirDetail) {
  // 250 bytes: the folder name, with its stamp, is cut to 255.
  const std::string longName = std::string(232, 'n') + "図面図面.tif";
  const FolderCase cases[] = {
      {"plain.tif", "", ""},
      {"a,b \"c\".tif", "one line", "one line"},
      {"multi.plt", "first\r\nsecond\nthird", "first  second third"},
      {longName, "cut \U0001F600 kept", "cut \U0001F600 kept"},
  };
  std::filesystem::create_directory(home / "hot");
  std::time_t now = when;
  for (const FolderCase& c : cases) {
    const std::string source = (home / "hot" / c.name).string();
    test::WriteFileBytes(source, "bytes of " + c.name);
    ASSERT_TRUE(WriteErrorRecordAt(home.Path(), kWholeFile, source, "未対応ファイル", ++now, {{}, c.detail}));
  }
  const auto folders = ListErrorFolders(home.Path(), 200);
  ASSERT_EQ(folders.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const FolderCase& c = cases[i];
    const ErrorFolder& folder = folders[std::size(cases) - 1 - i];  // newest first
    SCOPED_TRACE(folder.id);
    EXPECT_LE(folder.id.size(), 255u);
    EXPECT_EQ(folder.id,
              ErrorFolderPath(home.Path(), kWholeFile, c.name, when + 1 + static_cast<std::time_t>(i))
                  .filename()
                  .string());
    EXPECT_EQ(folder.written, "2026/12/10 08:05:1" + std::to_string(i));
    EXPECT_EQ(folder.folder, (home / "hot").string());
    EXPECT_EQ(folder.fileName, c.name);
    EXPECT_EQ(folder.message, "未対応ファイル");
    EXPECT_EQ(folder.detail, c.read);
    EXPECT_EQ(std::filesystem::exists(home / "ERROR" / folder.id / kErrorDetailFile), !c.detail.empty());
    EXPECT_EQ(test::ReadFileBytes(folder.kept), "bytes of " + c.name);
    const auto found = FindErrorFolder(home.Path(), folder.id);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->kept, folder.kept);
  }
  EXPECT_EQ(folders[0].id.size(), 255u);
}

}  // namespace
}  // namespace orvella::logging

#include "logging/job_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <thread>
#include <vector>

#include "base/text_codec.h"
#include "logging/log_test_support.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::logging {
namespace {

using test::Cp932;
using test::Local;

class JobLogTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::CreateApplicationFolders(home.Path()); }
  test::TempDir home;
};

TEST_F(JobLogTest, TheFirstLineOfADayCreatesTheFileWithTheHeader) {
  const JobLogFields ok{"/hot/in/図面.tif", "広幅1", "ロール1", 594, 841, 123.456, "OK"};
  ASSERT_TRUE(WriteJobLogAt(home.Path(), std::nullopt, ok, Local(2007, 3, 2, 23, 59, 59)));
  JobLogFields start;
  start.message = "起動";
  ASSERT_TRUE(WriteJobLogAt(home.Path(), std::nullopt, start, Local(2007, 3, 2, 23, 59, 59)));
  // Just after midnight the line goes to the new day's file.
  ASSERT_TRUE(WriteJobLogAt(home.Path(), std::nullopt, start, Local(2007, 3, 3, 0, 0, 0)));

  EXPECT_EQ(test::ReadFileBytes(home / "LOG/20070302.csv"),
            Cp932(kJobLogHeader) +
                Cp932("2007/03/02,23:59:59,/hot/in,広幅1,図面.tif,ロール1,594,841,123.46,OK") +
                Cp932("2007/03/02,23:59:59,-,-,-,-,-,-,-,起動"));
  EXPECT_EQ(test::ReadFileBytes(home / "LOG/20070303.csv"),
            Cp932(kJobLogHeader) + Cp932("2007/03/03,00:00:00,-,-,-,-,-,-,-,起動"));
}

TEST_F(JobLogTest, ZeroNumbersAreDashesAndATargetFileIsUsedAsGiven) {
  const std::filesystem::path target = home / "ERROR/x.csv";
  const JobLogFields fields{"/a/b.plt", "", "", 0, 297, 0.0, "中止(部数1/2)"};
  ASSERT_TRUE(WriteJobLogAt(home.Path(), target, fields, Local(2020, 1, 5, 6, 7, 8)));
  EXPECT_EQ(test::ReadFileBytes(target),
            Cp932(kJobLogHeader) + Cp932("2020/01/05,06:07:08,/a,-,b.plt,-,-,297,-,中止(部数1/2)"));
  // A character CP932 lacks costs only itself, not the line.
  JobLogFields odd;
  odd.message = "中止\U0001F600です";
  ASSERT_TRUE(WriteJobLogAt(home.Path(), target, odd, Local(2020, 1, 5, 6, 7, 9)));
  EXPECT_NE(test::ReadFileBytes(target).find(Cp932("2020/01/05,06:07:09,-,-,-,-,-,-,-,中止?です")),
            std::string::npos);
  EXPECT_FALSE(WriteJobLog(home.Path(), home / "missing/x.csv", fields));
}

// A field holding a comma, a quote or a line end is quoted, so it cannot
// shift the columns or split the record; any other stays as it is.
TEST_F(JobLogTest, AFieldIsQuotedOnlyWhenItHoldsACommaAQuoteOrALineEnd) {
  const std::filesystem::path target = home / "ERROR/x.csv";
  const std::pair<std::string, std::string> cases[] = {
      {"plan.tif", "plan.tif"},
      {"13,15.tif", "\"13,15.tif\""},
      {"say \"hi\".tif", "\"say \"\"hi\"\".tif\""},
      {"two\r\nlines.tif", "\"two\r\nlines.tif\""},
      {"図面,第2版.tif", "\"図面,第2版.tif\""},
      // CP932 has no é: the character becomes "?", the line stays.
      {"café.tif", "caf?.tif"},
  };
  std::string expected = Cp932(kJobLogHeader);
  for (const auto& [name, field] : cases) {
    const JobLogFields fields{"/hot/" + name, "広幅,1", "", 594, 0, 13.15, "OK"};
    ASSERT_TRUE(WriteJobLogAt(home.Path(), target, fields, Local(2020, 1, 5, 6, 7, 8)));
    expected += Cp932("2020/01/05,06:07:08,/hot,\"広幅,1\"," + field + ",-,594,-,13.15,OK");
  }
  EXPECT_EQ(test::ReadFileBytes(target), expected);
}

// The daily log and an error folder's error.csv are made readable by the
// group, as far as the umask of the process (the service's UMask=) allows.
TEST_F(JobLogTest, NewLogFilesAreGroupReadableWithinTheUmask) {
  struct Case {
    mode_t umask;
    mode_t expected;
  };
  const Case cases[] = {{022, 0640}, {077, 0600}, {0, 0640}, {027, 0640}};
  int day = 1;
  for (const Case& c : cases) {
    const mode_t previous = ::umask(c.umask);
    const std::time_t now = Local(2022, 4, day++, 9, 0, 0);
    const std::filesystem::path record = home / ("ERROR/error" + std::to_string(day) + ".csv");
    const bool written = WriteJobLogAt(home.Path(), std::nullopt, JobLogFields{}, now) &&
                         WriteJobLogAt(home.Path(), record, JobLogFields{}, now);
    ::umask(previous);
    ASSERT_TRUE(written);
    for (const auto& path : {DailyLogPath(home.Path(), now), record}) {
      struct stat st {};
      ASSERT_EQ(::stat(path.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, c.expected) << path << " under umask " << std::oct << c.umask;
    }
  }
}

TEST_F(JobLogTest, LinesOfSeveralThreadsNeverMix) {
  constexpr int kThreads = 4, kLines = 300;
  const std::time_t now = Local(2021, 6, 1, 12, 0, 0);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      JobLogFields fields;
      fields.message = "thread" + std::to_string(i) + std::string(200, 'x');
      for (int n = 0; n < kLines; ++n) WriteJobLogAt(home.Path(), std::nullopt, fields, now);
    });
  }
  for (std::thread& t : threads) t.join();
  std::istringstream lines(test::ReadFileBytes(DailyLogPath(home.Path(), now)));
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line + "\n", Cp932(kJobLogHeader));
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.size(), std::string("2021/06/01,12:00:00,-,-,-,-,-,-,-,thread0").size() + 201);
    ASSERT_EQ(line.substr(line.size() - 201), std::string(200, 'x') + "\r");
  }
  EXPECT_EQ(count, kThreads * kLines);
}

}  // namespace
}  // namespace orvella::logging

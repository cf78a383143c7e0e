#include "jobs/resume_point.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "settings/app_data.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

class ResumePointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::CreateApplicationFolders(home.Path());
    test::WriteFileBytes(source, "II*\0");
  }
  void SetMtime(const std::filesystem::path& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  void Save(int qty, int page) {
    base::Failure failure;
    ASSERT_TRUE(SaveResumePoint(home.Path(), source, qty, page, failure)) << failure.detail;
  }

  test::TempDir home;
  test::TempDir hot;
  std::string source = (hot / "plan.tif").string();
};

TEST_F(ResumePointTest, AnUnchangedFileResumesAndAnEditedOneStartsAgain) {
  SetMtime(source, 1000000);
  Save(1, 3);
  const ResumePoint same = ReadResumePoint(home.Path(), source);
  EXPECT_TRUE(same.found);
  EXPECT_EQ(same.qty, 1);
  EXPECT_EQ(same.page, 3);
  // FILETIME of 1000000 s after 1970.
  EXPECT_EQ(settings::ReadLastProcessFile(home.Path()).time, (1000000ULL + 11644473600ULL) * 10000000ULL);

  SetMtime(source, 2000000);
  const ResumePoint edited = ReadResumePoint(home.Path(), source);
  EXPECT_FALSE(edited.found);
  EXPECT_EQ(edited.qty, 0);
  EXPECT_EQ(edited.page, 0);
  EXPECT_EQ(settings::ReadLastProcessFile(home.Path()).path, "");
}

TEST_F(ResumePointTest, AnotherPathIsEmptiedButAMissingFileLeavesTheRecord) {
  Save(2, 0);
  const std::string other = (hot / "other.tif").string();
  EXPECT_FALSE(ReadResumePoint(home.Path(), other).found);  // cannot be opened
  EXPECT_EQ(settings::ReadLastProcessFile(home.Path()).path, source);

  test::WriteFileBytes(other, "II*\0");
  EXPECT_FALSE(ReadResumePoint(home.Path(), other).found);
  EXPECT_EQ(settings::ReadLastProcessFile(home.Path()).path, "");
}

TEST_F(ResumePointTest, SaveWithoutTheFileWritesNothingAndClearEmptiesAll) {
  Save(1, 1);
  base::Failure failure;
  EXPECT_TRUE(SaveResumePoint(home.Path(), (hot / "gone.tif").string(), 5, 5, failure));
  EXPECT_EQ(settings::ReadLastProcessFile(home.Path()).qty, 1);
  ASSERT_TRUE(ClearResumePoint(home.Path(), failure));
  const settings::LastProcessFile cleared = settings::ReadLastProcessFile(home.Path());
  EXPECT_EQ(cleared.path, "");
  EXPECT_EQ(cleared.time, 0U);
  EXPECT_EQ(cleared.qty, 0);
  EXPECT_EQ(cleared.page, 0);
}

// A process killed at any moment while saving leaves a whole record: qty and
// page always belong together (page == 2 * qty here).
TEST_F(ResumePointTest, AKilledWriterNeverLeavesATornRecord) {
  Save(0, 0);
  int furthest = 0;
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      base::Failure failure;
      for (int qty = 1;; ++qty) SaveResumePoint(home.Path(), source, qty, 2 * qty, failure);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const settings::LastProcessFile record = settings::ReadLastProcessFile(home.Path());
    EXPECT_EQ(record.path, source);
    EXPECT_EQ(record.page, 2 * record.qty);
    furthest = std::max(furthest, record.qty);
  }
  EXPECT_GT(furthest, 0);  // the writer did get to save
}

}  // namespace
}  // namespace orvella::jobs

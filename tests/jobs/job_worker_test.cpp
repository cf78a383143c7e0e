// The worker on files that never reach a printer: what is shown, logged,
// kept in the error folder and deleted.
#include "jobs/job_worker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "base/text_codec.h"
#include "imaging/tiff_repack.h"
#include "jobs/resume_point.h"
#include "jobs/worker_fixture.h"
#include "logging/job_log.h"
#include "settings/program_folders.h"

namespace orvella::jobs {
namespace {

using test::RecordingView;
using test::WorkerFixture;

class JobWorkerTest : public WorkerFixture {};

// A header-first page (the repacked form) whose header claims what it likes.
std::string ForgedPage(const imaging::RepackedPage& page, uint32_t stripBytes, size_t dataBytes) {
  const auto header = imaging::RepackedHeader(page, stripBytes);
  return std::string(header.begin(), header.end()) + std::string(dataBytes, '\0');
}

TEST_F(JobWorkerTest, AFileThatCannotBePrintedGoesToTheErrorFolderAndTheSystemRuns) {
  struct Case {
    std::string bytes;
    std::string message;
    std::string detail;  // how the detail starts, after the file's name; empty: any
  };
  const std::vector<Case> cases{
      {"", "未対応ファイル", ""},
      {"plain text, no envelope\n", "未対応ファイル", ""},
      {std::string("II*\0\x08\0\0\0garbage", 15), "TIFFファイルページ数取得エラー", ""},
      // Faults of the page itself are named as such, never as a stamp's.
      {ForgedPage({1000000, 1000000, true, 40000, 40000}, 64, 64), "TIFFファイル画像サイズ取得エラー",
       " is 1000000 x 1000000 pixels at 40000 dpi, 125000000000 bytes unpacked"},
      {ForgedPage({64, 64, false, 100, 100}, 512, 100), "TIFFファイル画像サイズ取得エラー",
       " is cut short: its image data runs beyond the end of the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message + c.detail);
    RecordingView view;
    const std::string source = DropFile("bad.tif", c.bytes);
    EXPECT_EQ(Run(source, view).end, JobEnd::kFailed);

    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].text, c.message);
    EXPECT_EQ(view.rows[0].mark, StatusMark::kFailed);
    ASSERT_FALSE(view.details.empty());
    EXPECT_TRUE(c.detail.empty() ||
                view.details[0].find("page 1 of " + source + c.detail) != std::string::npos)
        << view.details[0];
    EXPECT_FALSE(std::filesystem::exists(source));
    EXPECT_EQ(CountErrorCopies("bad.tif"), 1);
    EXPECT_NE(TodayLog().find(",-,bad.tif,-,-,-,-," + c.message + "\r\n"), std::string::npos) << TodayLog();
    EXPECT_EQ(control.State(), RunState::kRunning);
    ClearErrorFolder();
  }
}

TEST_F(JobWorkerTest, WithoutItsErrorFolderCopyAFailedFileStaysAndTheSystemStops) {
  std::filesystem::remove_all(program.Path() / "ERROR");
  orvella::test::WriteFileBytes(program.Path() / "ERROR", "a file where the folder belongs");
  RecordingView view;
  const std::string source = DropFile("notes.txt", "text");

  EXPECT_EQ(Run(source, view).end, JobEnd::kStopped);
  EXPECT_TRUE(std::filesystem::exists(source));
  EXPECT_EQ(control.State(), RunState::kStopPending);
  EXPECT_TRUE(control.AbortRequested());
}

TEST_F(JobWorkerTest, NoCopiesMeansNoUnitAndTheFileIsDeleted) {
  folder.quantity = 0;
  RecordingView view;
  const std::string source = DropTiff("empty-run.tif", 1);
  EXPECT_EQ(Run(source, view).end, JobEnd::kPrinted);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_FALSE(std::filesystem::exists(source));
}

TEST_F(JobWorkerTest, AnExceptionInAJobStopsTheSystemAndKeepsTheFile) {
  RecordingView view;
  view.throwOnAdd = true;
  const std::string source = DropTiff("thrown.tif", 1);
  EXPECT_EQ(Run(source, view).end, JobEnd::kStopped);
  EXPECT_TRUE(std::filesystem::exists(source));
  EXPECT_EQ(control.State(), RunState::kStopPending);
}

// What the scan found is what the job reads: a link or a FIFO put in its
// place afterwards (to make the service copy or print a file of its own) is
// never followed or waited on; the next scan passes it over.
TEST_F(JobWorkerTest, AnEntrySwappedInAfterTheScanIsNeverRead) {
  const std::filesystem::path secret = program / "INI" / "PRINTER.INI";
  orvella::test::WriteFileBytes(secret, "[PRINTER]\r\nPASSWORD=secret\r\n");
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "fifo" : "symbolic link");
    const std::string source = DropFile("swap.txt", "unsupported text");
    struct stat scanned {};
    ASSERT_EQ(::lstat(source.c_str(), &scanned), 0);
    std::filesystem::remove(source);
    if (fifo) {
      ASSERT_EQ(::mkfifo(source.c_str(), 0600), 0);
    } else {
      std::filesystem::create_symlink(secret, source);
    }
    RecordingView view;
    const WorkerContext context = Context(view);
    EXPECT_EQ(RunJob({folder, source, StampOf(scanned)}, context).end, JobEnd::kNotStarted);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(std::filesystem::exists(program / "ERROR") &&
                 std::distance(std::filesystem::directory_iterator(program / "ERROR"), {}) > 0);
    EXPECT_TRUE(std::filesystem::is_symlink(source) || std::filesystem::is_fifo(source));
    EXPECT_EQ(control.State(), RunState::kRunning);
    std::filesystem::remove(source);
  }
}

// A link swapped in just before the file is removed: the removal sees that
// the name no longer names the file the job read and touches nothing, neither
// the link nor what it points at (whose mode stays as it was).
TEST_F(JobWorkerTest, ALinkSwappedInBeforeTheRemovalIsLeftAsItIs) {
  const std::filesystem::path target = program / "INI";
  ASSERT_EQ(::chmod(target.c_str(), 0700), 0);
  const std::string source = DropFile("late-swap.txt", "unsupported text");
  RecordingView view;
  view.onAdd = [&](int) {
    std::filesystem::remove(source);
    std::filesystem::create_directory_symlink(target, source);
  };
  EXPECT_EQ(Run(source, view).end, JobEnd::kReplaced);
  EXPECT_TRUE(std::filesystem::is_symlink(source));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700U);
  ASSERT_EQ(CountErrorCopies("late-swap.txt"), 1);  // of what the job read
  EXPECT_EQ(control.State(), RunState::kRunning);
  std::filesystem::remove(source);
}

// A file that fails before its first unit leaves another file's progress
// alone: that file resumes where it stopped.
TEST_F(JobWorkerTest, AFailedFileKeepsTheResumeRecordOfAnotherFile) {
  const std::string stopped = DropTiff("stopped.tif", 3);
  base::Failure failure;
  ASSERT_TRUE(SaveResumePoint(program.Path(), stopped, 0, 2, failure));
  RecordingView view;
  EXPECT_EQ(Run(DropFile("notes.txt", "text"), view).end, JobEnd::kFailed);
  EXPECT_EQ(view.rows.at(0).text, "未対応ファイル");
  const ResumePoint kept = ReadResumePoint(program.Path(), stopped);
  EXPECT_TRUE(kept.found);
  EXPECT_EQ(kept.page, 2);
}

}  // namespace
}  // namespace orvella::jobs

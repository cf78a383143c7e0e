#include "jobs/scan_tick.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <mutex>

#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

using std::chrono::milliseconds;

struct StateView : JobView {
  std::vector<RunState> states;
  void AddJobRow(std::string_view, std::string_view, StatusMark) override {}
  void SetJobStatus(std::string_view, StatusMark) override {}
  void SetRunState(RunState state) override { states.push_back(state); }
};

// A worker that runs until the test lets it finish, then removes its file as
// a finished job does.
class HeldWorker {
 public:
  ScanTick::WorkerEntry Entry() {
    return [this](const JobRequest& request) {
      std::unique_lock lock(mutex_);
      started_.push_back(request.sourcePath);
      changed_.wait(lock, [&] { return released_; });
      released_ = false;
      std::filesystem::remove(request.sourcePath);
    };
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  std::vector<std::string> Started() {
    std::lock_guard lock(mutex_);
    return started_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
  std::vector<std::string> started_;
};

void WaitUntilEnded(const ScanTick& tick) {
  for (int i = 0; i < 500 && tick.WorkerAlive(); ++i) std::this_thread::sleep_for(milliseconds(10));
  ASSERT_FALSE(tick.WorkerAlive());
}

class ScanTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFileBytes(hot / "first.tif", "1");
    test::WriteFileBytes(hot / "second.tif", "2");
    const timespec older[2] = {{100, 0}, {100, 0}};
    ::utimensat(AT_FDCWD, (hot / "first.tif").c_str(), older, 0);
    memory.Rebuild(1, 10, 4);
    settings::InputFolderSetting folder;
    folder.inputDir = hot.Path().string();
    folder.memo = "snapshot";
    folders = {folder};
    control.SetState(RunState::kRunning);
  }
  ~ScanTickTest() override { worker.Release(); }

  test::TempDir hot;
  RunControl control;
  StateView view;
  printer::PrinterMemoryTable memory;
  FolderScanner scanner;
  HeldWorker worker;
  std::vector<settings::InputFolderSetting> folders;
};

TEST_F(ScanTickTest, WithFindIntervalFiveTheNextScanIsTheFirstScanPointAfterTheJob) {
  ScanTick tick(control, view, memory, scanner, worker.Entry(), milliseconds(0));
  tick.Configure(folders, 5);
  memory.Reserve(0, 10 * 1024);
  int started = 0;
  for (int n = 1; n <= 20; ++n) {
    if (n == 12) {  // the long job ends between scan points 10 and 15
      worker.Release();
      WaitUntilEnded(tick);
    }
    EXPECT_EQ(tick.Tick(), kRunningTickMs);
    if (n == 1) {
      EXPECT_EQ(memory.Entry(0)->free, 4 * 1024);  // replenished at every tick
    }
    for (int i = 0; i < 200 && worker.Started().size() == static_cast<size_t>(started); ++i) {
      if (n != 5 && n != 15) break;
      std::this_thread::sleep_for(milliseconds(5));
    }
    const size_t expected = n < 5 ? 0 : n < 15 ? 1 : 2;
    ASSERT_EQ(worker.Started().size(), expected) << "tick " << n;
    started = static_cast<int>(expected);
  }
  EXPECT_EQ(worker.Started(),
            (std::vector<std::string>{(hot / "first.tif").string(), (hot / "second.tif").string()}));
  EXPECT_EQ(memory.Entry(0)->free, 10 * 1024);  // never above the limit
  worker.Release();
}

TEST_F(ScanTickTest, ANonPositiveFindIntervalScansAtEveryTick) {
  ScanTick tick(control, view, memory, scanner, worker.Entry(), milliseconds(0));
  tick.Configure(folders, 0);
  tick.Tick();
  for (int i = 0; i < 200 && worker.Started().empty(); ++i) std::this_thread::sleep_for(milliseconds(5));
  EXPECT_EQ(worker.Started().size(), 1U);
  worker.Release();
}

TEST_F(ScanTickTest, AStopWaitsForTheWorkerThenStopsAndCarriesOutAPendingExit) {
  ScanTick tick(control, view, memory, scanner, worker.Entry(), milliseconds(20));
  tick.Configure(folders, 1);
  tick.Tick();
  for (int i = 0; i < 200 && worker.Started().empty(); ++i) std::this_thread::sleep_for(milliseconds(5));
  RequestStopOnError(control, view);

  EXPECT_EQ(tick.Tick(), milliseconds(20));  // the wait before looking at the worker
  EXPECT_EQ(tick.Tick(), kRunningTickMs);    // the job still runs
  EXPECT_EQ(control.State(), RunState::kStopPending);
  worker.Release();
  WaitUntilEnded(tick);
  int exits = 0;
  tick.SetExitPending([&] { ++exits; });
  EXPECT_EQ(tick.Tick(), milliseconds(20));
  EXPECT_EQ(control.State(), RunState::kStopPending);
  EXPECT_EQ(tick.Tick(), kStoppedTickMs);
  EXPECT_EQ(control.State(), RunState::kStopped);
  EXPECT_EQ(view.states, (std::vector<RunState>{RunState::kStopPending, RunState::kStopped}));
  EXPECT_EQ(exits, 0);
  EXPECT_EQ(tick.Tick(), std::nullopt);  // stopped: the pending exit, and the timer stays off
  EXPECT_EQ(exits, 1);
  control.SetState(RunState::kForcedStopPending);
  EXPECT_EQ(tick.Tick(), std::nullopt);
}

// The windows and the service's loop call the tick on their own thread: the
// stop-pending wait is handed back as the next delay, never slept.
TEST_F(ScanTickTest, TheStopPendingWaitDoesNotHoldTheCallersThread) {
  ScanTick tick(control, view, memory, scanner, worker.Entry(), milliseconds(500));
  tick.Configure(folders, 1);
  RequestStopOnError(control, view);
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(tick.Tick(), milliseconds(500));
  EXPECT_LT(std::chrono::steady_clock::now() - before, milliseconds(250));
  EXPECT_EQ(control.State(), RunState::kStopPending);
  EXPECT_EQ(tick.Tick(), kStoppedTickMs);  // no job: the stop ends after the wait
  EXPECT_EQ(control.State(), RunState::kStopped);
}

TEST_F(ScanTickTest, TheWorkerGetsASnapshotOfTheFolderSetting) {
  std::string memo;
  ScanTick tick(
      control, view, memory, scanner, [&](const JobRequest& request) { memo = request.folder.memo; },
      milliseconds(0));
  tick.Configure(folders, 1);
  tick.Tick();
  tick.JoinWorker();
  EXPECT_EQ(memo, "snapshot");
}

}  // namespace
}  // namespace orvella::jobs

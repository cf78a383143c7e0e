#include "jobs/operation.h"

#include <gtest/gtest.h>

#include <condition_variable>

#include "settings/settings_home.h"
#include "support/process_setup.h"
#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

using std::chrono::milliseconds;

struct StateView : JobView {
  std::mutex mutex;
  std::vector<RunState> states;
  void AddJobRow(std::string_view, std::string_view, StatusMark) override {}
  void SetJobStatus(std::string_view, StatusMark) override {}
  void SetRunState(RunState state) override {
    std::lock_guard lock(mutex);
    states.push_back(state);
  }
  RunState Last() {
    std::lock_guard lock(mutex);
    return states.empty() ? RunState::kForcedStopPending : states.back();
  }
};

struct AnsweringMessages : base::OperatorMessages {
  bool answer = false;
  std::vector<std::string> warnings;
  std::vector<std::string> questions;
  void Warning(const std::string& text) override { warnings.push_back(text); }
  bool Question(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
};

struct FakeTimer : TickTimer {
  std::optional<milliseconds> armed;
  void Arm(milliseconds delay) override { armed = delay; }
  void Cancel() override { armed.reset(); }
};

// A job that runs until the test releases it, noting what it was handed.
class HeldJob {
 public:
  void Run(const JobRequest& request, const WorkerContext& context) {
    std::unique_lock lock(mutex_);
    source_ = request.sourcePath;
    settingsGiven_ = context.settings != nullptr;
    snmpTimeoutMs_ = context.timings.snmpTimeoutMs;
    changed_.notify_all();
    changed_.wait(lock, [&] { return released_; });
    abortSeen_ = context.control.AbortRequested();
  }
  bool WaitStarted() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return !source_.empty(); });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  std::string source_;
  bool settingsGiven_ = false;
  int snmpTimeoutMs_ = 0;
  bool abortSeen_ = false;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
};

class OperationTest : public ::testing::Test {
 protected:
  OperationTest() {
    home.WriteIni("INPUT.INI",
                  "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + hot.Path().string() + "\"\n");
    // A dropped file is taken at the next scan.
    home.WriteIni("HIDDEN.INI", "[SETTING]\nFILE_QUIET_SECONDS=\"0\"\n");
  }
  Operation Make() {
    OperationHooks hooks;
    hooks.adjustWorker = [](WorkerContext& context) { context.timings.snmpTimeoutMs = 5; };
    hooks.runJob = [this](const JobRequest& request, const WorkerContext& context) {
      job.Run(request, context);
      return JobOutcome{};
    };
    hooks.stopWait = milliseconds(0);
    return Operation(home.Path(), test::ProcessFolders(), view, messages, timer, std::move(hooks));
  }

  // Ticks until the worker has ended; false when it never did.
  static bool WaitWorkerEnded(const Operation& operation) {
    for (int i = 0; i < 1000 && operation.WorkerAlive(); ++i) std::this_thread::sleep_for(milliseconds(10));
    return !operation.WorkerAlive();
  }

  test::SettingsHome home;
  test::TempDir hot;
  StateView view;
  AnsweringMessages messages;
  FakeTimer timer;
  HeldJob job;
};

// Lets a held job go before the operation waits for it, also when a test
// fails half-way.
struct ReleaseAtEnd {
  HeldJob& job;
  ~ReleaseAtEnd() { job.Release(); }
};

TEST_F(OperationTest, CloseWhileStoppedAsksAndStartsOnlyOnYes) {
  Operation operation = Make();
  operation.CloseCommand();
  EXPECT_EQ(messages.questions, std::vector<std::string>{"稼動を開始しますか？"});
  EXPECT_EQ(operation.State(), RunState::kStopped);
  EXPECT_FALSE(timer.armed);

  messages.answer = true;
  operation.CloseCommand();
  EXPECT_EQ(operation.State(), RunState::kRunning);
  EXPECT_EQ(view.Last(), RunState::kRunning);
  EXPECT_EQ(timer.armed, kRunningTickMs);
  ASSERT_NE(operation.Settings(), nullptr);

  operation.CloseCommand();  // running: nothing to ask
  EXPECT_EQ(messages.questions.size(), 2u);
}

// A hot folder that is missing (an unmounted share) stops nothing, but the
// start says so once, after the system runs.
TEST_F(OperationTest, AStartWithAMissingFolderRunsAndWarnsOfIt) {
  const std::string gone = (hot / "gone").string();
  home.WriteIni("INPUT.INI", "[GLOBAL]\nNUM_INPUTS=\"2\"\n[INPUT_0]\nINPUT_DIR=\"" + hot.Path().string() +
                                 "\"\n[INPUT_1]\nINPUT_DIR=\"" + gone + "\"\n");
  Operation operation = Make();
  EXPECT_TRUE(operation.StartCommand());
  EXPECT_EQ(operation.State(), RunState::kRunning);
  EXPECT_EQ(messages.warnings,
            std::vector<std::string>{"入力フォルダ " + gone + " が見つからないか、読み込めません。"});
}

TEST_F(OperationTest, AStartThatFailsWarnsAndStaysStopped) {
  std::filesystem::remove(home.Ini("INPUT.INI"));
  Operation operation = Make();
  EXPECT_FALSE(operation.StartCommand());
  EXPECT_EQ(messages.warnings, std::vector<std::string>{"入力設定がありません。"});
  EXPECT_EQ(operation.State(), RunState::kStopped);
  EXPECT_EQ(view.Last(), RunState::kStopped);
  EXPECT_FALSE(timer.armed);
  EXPECT_EQ(operation.Settings(), nullptr);
}

TEST_F(OperationTest, AStopWaitsInStopPendingUntilTheJobHasEnded) {
  test::WriteFileBytes(hot / "drawing.tif", "II*");
  Operation operation = Make();
  const ReleaseAtEnd release{job};
  ASSERT_TRUE(operation.StartCommand());
  EXPECT_EQ(operation.Tick(), kRunningTickMs);
  ASSERT_TRUE(job.WaitStarted());
  EXPECT_EQ(job.source_, (hot / "drawing.tif").string());
  EXPECT_TRUE(job.settingsGiven_);
  EXPECT_EQ(job.snmpTimeoutMs_, 5);

  operation.StopCommand();
  EXPECT_EQ(operation.State(), RunState::kStopPending);
  EXPECT_EQ(operation.Tick(), kRunningTickMs);  // the job still runs
  EXPECT_EQ(operation.State(), RunState::kStopPending);

  job.Release();
  ASSERT_TRUE(WaitWorkerEnded(operation));
  EXPECT_TRUE(job.abortSeen_);
  EXPECT_EQ(operation.Tick(), kStoppedTickMs);
  EXPECT_EQ(operation.State(), RunState::kStopped);
  EXPECT_EQ(view.states,
            (std::vector<RunState>{RunState::kRunning, RunState::kStopPending, RunState::kStopped}));
  EXPECT_EQ(operation.Tick(), std::nullopt);  // stopped: the timer stays off
  EXPECT_FALSE(timer.armed);
}

TEST_F(OperationTest, ExitFinishesOnceAfterTheJobHasEnded) {
  test::WriteFileBytes(hot / "drawing.tif", "II*");
  Operation operation = Make();
  const ReleaseAtEnd release{job};
  ASSERT_TRUE(operation.StartCommand());
  operation.Tick();
  ASSERT_TRUE(job.WaitStarted());

  int finished = 0;
  operation.ExitCommand([&] { ++finished; });
  operation.ExitCommand([&] { finished += 100; });  // a second exit while stopping changes nothing
  EXPECT_EQ(operation.State(), RunState::kStopPending);
  operation.Tick();
  EXPECT_FALSE(operation.Exited());

  job.Release();
  ASSERT_TRUE(WaitWorkerEnded(operation));
  for (int i = 0; i < 3 && timer.armed; ++i) operation.Tick();
  EXPECT_TRUE(operation.Exited());
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(timer.armed);
}

TEST_F(OperationTest, ExitWhileStoppedFinishesAtTheNextShortTick) {
  Operation operation = Make();
  int finished = 0;
  operation.ExitCommand([&] { ++finished; });
  EXPECT_EQ(timer.armed, kStoppedTickMs);
  EXPECT_EQ(operation.Tick(), std::nullopt);
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(operation.Exited());
}

}  // namespace
}  // namespace orvella::jobs

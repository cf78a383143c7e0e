#include "app/gui/operation_commands.h"

namespace orvella::cli {

namespace {

// Stand-in until the core's operation is in: the run states and the exit
// through the timer, no jobs.
class IdleCommands : public RunCommands {
 public:
  IdleCommands(jobs::JobView& view, MessageBoxes& messages, QtTickTimer& timer)
      : view_(view), messages_(messages), timer_(timer) {}
  jobs::RunState State() const override { return state_; }
  bool ExitPending() const override { return exitPending_; }
  bool Start() override {
    if (state_ != jobs::RunState::kStopped) return false;
    Show(jobs::RunState::kRunning);
    timer_.Arm(std::chrono::milliseconds(1000));
    return true;
  }
  void Stop() override {
    if (state_ == jobs::RunState::kStopped) Show(state_);
    if (state_ == jobs::RunState::kRunning) Show(jobs::RunState::kStopPending);
  }
  void Close() override {
    if (state_ == jobs::RunState::kStopped && messages_.Question("稼動を開始しますか？")) Start();
  }
  void Exit(std::function<void()> finish) override {
    if (state_ == jobs::RunState::kRunning) Show(jobs::RunState::kStopPending);
    if (exitPending_) return;
    exitPending_ = true;
    finish_ = std::move(finish);
    timer_.Arm(std::chrono::milliseconds(100));
  }
  void Tick() override {
    if (state_ == jobs::RunState::kRunning) timer_.Arm(std::chrono::milliseconds(1000));
    if (state_ == jobs::RunState::kStopPending) Show(jobs::RunState::kStopped);
    if (exitPending_ && finish_) std::exchange(finish_, nullptr)();
  }

 private:
  void Show(jobs::RunState state) {
    state_ = state;
    view_.SetRunState(state);
  }
  jobs::JobView& view_;
  MessageBoxes& messages_;
  QtTickTimer& timer_;
  jobs::RunState state_ = jobs::RunState::kStopped;
  bool exitPending_ = false;
  std::function<void()> finish_;
};

}  // namespace

std::unique_ptr<RunCommands> MakeOperationCommands(const std::filesystem::path&, jobs::JobView& view,
                                                   MessageBoxes& messages, QtTickTimer& timer) {
  return std::make_unique<IdleCommands>(view, messages, timer);
}

}  // namespace orvella::cli

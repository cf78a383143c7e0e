#pragma once
// The run state of the whole system and the abort request, shared by the main
// thread (their owner) and the single worker thread.
#include <atomic>

namespace orvella::jobs {

enum class RunState : int {
  kStopped = 0,
  kRunning = 1,
  kStopPending = 2,       // a stop was asked for while a job may still run
  kForcedStopPending = 3  // no operation enters it
};
inline constexpr int kRunStateCount = 4;

// Status bar and notification icon tip text of a state; "" outside the table.
const char* RunStateText(RunState state);

class RunControl {
 public:
  RunState State() const { return state_.load(); }
  void SetState(RunState state) { state_.store(state); }
  // Compare-and-set, so a stop from the worker cannot overwrite a state the
  // main thread wrote in between.
  bool ChangeState(RunState from, RunState to) { return state_.compare_exchange_strong(from, to); }

  bool AbortRequested() const { return abort_.load(); }
  void SetAbort(bool on) { abort_.store(on); }

 private:
  std::atomic<RunState> state_{RunState::kStopped};
  std::atomic<bool> abort_{false};
};

class JobView;

// Running -> stop pending with the abort flag raised, shown on the view; in
// any other state nothing. For failures that must not be repeated blindly.
void RequestStopOnError(RunControl& control, JobView& view);

}  // namespace orvella::jobs

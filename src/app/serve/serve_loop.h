#pragma once
// The service's main loop: the timer of the running system, the exit signals
// and the status page's commands, waited for together by one poll on the main
// thread.
#include <chrono>
#include <optional>

#include "app/serve/loop_commands.h"
#include "base/unique_fd.h"
#include "jobs/operation.h"

namespace orvella::cli {

// The system's single-shot timer as a deadline the loop polls against.
class PollTimer : public jobs::TickTimer {
 public:
  void Arm(std::chrono::milliseconds delay) override;
  void Cancel() override { deadline_.reset(); }
  // Milliseconds until it fires (0 when due), -1 when it is off.
  int PollTimeoutMs() const;
  bool Due() const;

 private:
  std::optional<std::chrono::steady_clock::time_point> deadline_;
};

// SIGINT, SIGTERM and SIGHUP as a descriptor to poll. Blocks them in the
// calling thread, and so in every thread it starts later: call before any
// other thread exists.
base::UniqueFd OpenServeSignals();

// Ticks operation until its exit has been carried out. Each SIGINT or SIGTERM
// on signals is the exit command (a second one while stopping changes
// nothing: the running job finishes); SIGHUP is the start command, so that a
// system a job stopped runs again once its cause is mended, with the settings
// read afresh. commands, when given, are the status page's start and stop,
// carried out between the timer's ticks.
void RunServeLoop(jobs::Operation& operation, PollTimer& timer, int signals,
                  LoopCommands* commands = nullptr);

}  // namespace orvella::cli

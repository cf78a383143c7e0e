#pragma once
// The run commands the windows forward to the core: start, stop, the job
// window's close and exit. The windows hold no job logic of their own.
#include <functional>

#include "jobs/run_state.h"

namespace orvella::cli {

class RunCommands {
 public:
  virtual ~RunCommands() = default;
  virtual jobs::RunState State() const = 0;
  virtual bool ExitPending() const = 0;
  // False when operation did not start (the operator has been told why).
  virtual bool Start() = 0;
  virtual void Stop() = 0;
  // While stopped, asks whether to start, and starts on yes.
  virtual void Close() = 0;
  // Stops; once no job runs any more, finish is called once.
  virtual void Exit(std::function<void()> finish) = 0;
  // The timer fired.
  virtual void Tick() = 0;
};

}  // namespace orvella::cli

#pragma once
// The running system without its windows: the run state, the printers'
// memory, the scan and its single worker, and the settings the last start
// loaded. The GUI and the headless service both drive it: they call the
// commands on their main thread and call Tick() whenever the timer fires.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "base/operator_messages.h"
#include "jobs/folder_scanner.h"
#include "jobs/job_view.h"
#include "jobs/job_worker.h"
#include "jobs/operation_settings.h"
#include "jobs/run_state.h"
#include "jobs/scan_tick.h"
#include "jobs/undeletable_files.h"
#include "printer/printer_memory.h"
#include "settings/program_folders.h"

namespace orvella::jobs {

// The single-shot timer that drives Operation::Tick: the GUI's timer or the
// service's poll loop.
class TickTimer {
 public:
  virtual ~TickTimer() = default;
  // Fires once after delay; replaces an earlier arming.
  virtual void Arm(std::chrono::milliseconds delay) = 0;
  virtual void Cancel() = 0;
};

struct OperationHooks {
  // Adjusts each job's context before it runs (tests shorten the waits, set
  // where notices go).
  std::function<void(WorkerContext&)> adjustWorker;
  // Runs a job in place of RunJob (tests hold a worker to watch a stop).
  std::function<JobOutcome(const JobRequest&, const WorkerContext&)> runJob;
  // Hears once per input folder how the scan tells a file is complete.
  FolderScanner::Log scanLog;
  // The stop-pending tick's wait before it looks at the worker.
  std::chrono::milliseconds stopWait{500};
};

class Operation {
 public:
  // The process's libraries are set up before (app/setup); folders says where
  // the shipped files and orvella-netsend are.
  Operation(std::filesystem::path program, settings::ProcessFolders folders, JobView& view,
            base::OperatorMessages& messages, TickTimer& timer, OperationHooks hooks = {});
  // Raises the abort flag and waits for a job still running.
  ~Operation();
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  // From the stopped state: reloads and checks the settings; on success
  // running with the timer armed and the abort flag cleared, else stopped
  // (after a warning). False when the system did not start.
  bool StartCommand();
  // Running: stop pending with the abort flag raised; the tick finishes the
  // stop once the job has ended. Stopped: shows the state again. Otherwise
  // nothing.
  void StopCommand();
  // The job window's close: while stopped, asks whether to start and starts
  // on yes.
  void CloseCommand();
  // Stops, and once no job runs any more calls finish (once). A second exit
  // only stops again. Whether the next start-up should resume operation is
  // State() != kStopped right after this call.
  void ExitCommand(std::function<void()> finish = {});
  // One timer event; the timer is re-armed for the delay returned, nullopt
  // leaves it off.
  std::optional<std::chrono::milliseconds> Tick();

  RunState State() const { return control_.State(); }
  bool ExitPending() const { return exitPending_; }
  bool Exited() const { return exited_; }
  bool WorkerAlive() const { return tick_.WorkerAlive(); }
  // What the last successful start loaded; nullptr before.
  std::shared_ptr<const OperationSettings> Settings() const;
  const printer::PrinterMemoryTable& Memory() const { return memory_; }

 private:
  void RunWorker(const JobRequest& request);
  void TellPassedOver(const ScanSkip& skip);

  std::filesystem::path program_;
  settings::ProcessFolders folders_;
  JobView& view_;
  base::OperatorMessages& messages_;
  TickTimer& timer_;
  OperationHooks hooks_;
  RunControl control_;
  printer::PrinterMemoryTable memory_;
  FolderScanner scanner_;
  UndeletableFiles undeletable_;
  mutable std::mutex settingsMutex_;
  std::shared_ptr<const OperationSettings> settings_;
  bool exitPending_ = false;
  bool exited_ = false;
  std::function<void()> finish_;
  // Last, so that it is destroyed first: it waits for the worker, which uses
  // everything above.
  ScanTick tick_;
};

}  // namespace orvella::jobs

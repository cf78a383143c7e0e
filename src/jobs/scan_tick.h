#pragma once
// The one-second tick that runs the system while nobody is looking: it
// replenishes the printers' memory, scans the input folders every
// FIND_INTERVAL ticks and starts the single worker, and carries the stop and
// exit sequences. Any tick source drives it (a Qt timer, the serve loop, a
// test) by calling Tick() and re-arming after the delay it returns.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "jobs/folder_scanner.h"
#include "jobs/job_request.h"
#include "jobs/job_view.h"
#include "jobs/run_state.h"
#include "printer/printer_memory.h"

namespace orvella::jobs {

inline constexpr std::chrono::milliseconds kRunningTickMs{1000};
inline constexpr std::chrono::milliseconds kStoppedTickMs{100};

class ScanTick {
 public:
  // The worker's entry point; it runs on its own thread with a request that
  // stays unchanged while it runs.
  using WorkerEntry = std::function<void(const JobRequest&)>;

  ScanTick(RunControl& control, JobView& view, printer::PrinterMemoryTable& memory, FolderScanner& scanner,
           WorkerEntry entry, std::chrono::milliseconds stopWait = std::chrono::milliseconds(500));
  // Waits for a worker still running.
  ~ScanTick();
  ScanTick(const ScanTick&) = delete;
  ScanTick& operator=(const ScanTick&) = delete;

  // The folder settings and FIND_INTERVAL (0 or less acts as 1) taken at
  // the start of operation. The tick counter is kept.
  void Configure(std::vector<settings::InputFolderSetting> folders, int findInterval);
  // What a stopped tick does when an exit is pending (save the window
  // choice, close the windows).
  void SetExitPending(std::function<void()> exit);
  // Hears each entry a scan passes over for a lasting reason, once until the
  // entry changes or goes.
  void SetPassedOverNotice(std::function<void(const ScanSkip&)> notice) { passedOver_ = std::move(notice); }

  // One timer event: the delay before the next one, or nullopt when the
  // timer stays off.
  std::optional<std::chrono::milliseconds> Tick();

  bool WorkerAlive() const;
  void JoinWorker();

 private:
  void RunningTick();

  RunControl& control_;
  JobView& view_;
  printer::PrinterMemoryTable& memory_;
  FolderScanner& scanner_;
  WorkerEntry entry_;
  std::chrono::milliseconds stopWait_;
  std::vector<settings::InputFolderSetting> folders_;
  std::vector<std::string> folderPaths_;
  int findInterval_ = 1;
  int tickCounter_ = 0;
  bool stopWaited_ = false;  // the stop-pending wait has passed; the next tick looks at the worker
  std::function<void()> exitPending_;
  std::function<void(const ScanSkip&)> passedOver_;
  JobRequest request_;  // written only while no worker is alive
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> workerDone_;
};

}  // namespace orvella::jobs

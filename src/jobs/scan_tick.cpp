#include "jobs/scan_tick.h"

namespace orvella::jobs {

ScanTick::ScanTick(RunControl& control, JobView& view, printer::PrinterMemoryTable& memory,
                   FolderScanner& scanner, WorkerEntry entry, std::chrono::milliseconds stopWait)
    : control_(control),
      view_(view),
      memory_(memory),
      scanner_(scanner),
      entry_(std::move(entry)),
      stopWait_(stopWait) {}

ScanTick::~ScanTick() { JoinWorker(); }

void ScanTick::Configure(std::vector<settings::InputFolderSetting> folders, int findInterval) {
  folders_ = std::move(folders);
  folderPaths_.clear();
  for (const settings::InputFolderSetting& folder : folders_) folderPaths_.push_back(folder.inputDir);
  findInterval_ = findInterval < 1 ? 1 : findInterval;
}

void ScanTick::SetExitPending(std::function<void()> exit) { exitPending_ = std::move(exit); }

bool ScanTick::WorkerAlive() const { return worker_.joinable() && !workerDone_->load(); }

void ScanTick::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

std::optional<std::chrono::milliseconds> ScanTick::Tick() {
  if (control_.State() != RunState::kStopPending) stopWaited_ = false;
  switch (control_.State()) {
    case RunState::kStopped:
      if (exitPending_) exitPending_();
      return std::nullopt;
    case RunState::kRunning:
      RunningTick();
      return kRunningTickMs;
    case RunState::kStopPending:
      // The wait before looking at the worker is a tick of its own: the
      // caller's thread (the windows, the service's loop) stays free.
      if (stopWait_.count() > 0 && !stopWaited_) {
        stopWaited_ = true;
        return stopWait_;
      }
      stopWaited_ = false;
      if (WorkerAlive()) return kRunningTickMs;
      control_.SetState(RunState::kStopped);
      view_.SetRunState(RunState::kStopped);
      return kStoppedTickMs;  // so a pending exit is carried out promptly
    default:
      return std::nullopt;
  }
}

void ScanTick::RunningTick() {
  memory_.Replenish();
  if (++tickCounter_ < findInterval_) return;
  tickCounter_ = 0;
  // The file stays where it is and is found again later.
  if (WorkerAlive()) return;
  const ScanResult found = scanner_.Scan(folderPaths_);
  if (passedOver_) {
    for (const ScanSkip& skip : found.newlyPassedOver) passedOver_(skip);
  }
  if (!found.found) return;

  JoinWorker();  // it has ended; collect it
  request_ = {folders_[static_cast<size_t>(found.folderIndex)], found.path, found.stamp};
  workerDone_ = std::make_shared<std::atomic<bool>>(false);
  worker_ = std::thread([entry = entry_, &request = request_, done = workerDone_] {
    entry(request);
    done->store(true);
  });
}

}  // namespace orvella::jobs

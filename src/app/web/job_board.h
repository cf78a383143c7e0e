#pragma once
// The job window for the status page: every row and run-state change is
// recorded into an immutable snapshot that the web threads read. The worker
// never waits for a reader: a reader only copies a pointer under a lock that
// is held for that copy alone.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "jobs/job_view.h"

namespace orvella::web {

struct JobRow {
  std::uint64_t id = 0;        // 1 for the first row of the run, counting up
  std::uint64_t revision = 0;  // the board version that last changed the row
  jobs::JobRowColumns columns;
  std::string status;
  jobs::StatusMark mark = jobs::StatusMark::kInProgress;
  std::string detail;  // the plain-English cause behind a failure, else empty
};

// An entry of a hot folder that the scan passes over, as told once.
struct PassedOverNote {
  std::string time;  // "%04d/%02d/%02d %02d:%02d:%02d", local
  std::string path;
  std::string message;
  std::string reason;
};

struct BoardSnapshot {
  std::uint64_t version = 0;  // counts every change
  jobs::RunState state = jobs::RunState::kStopped;
  std::uint64_t stateRevision = 0;
  // Oldest first; the page shows them newest first, as the job window does.
  std::vector<std::shared_ptr<const JobRow>> rows;
  // Oldest first, one per path (the latest), at most a hundred.
  std::vector<PassedOverNote> passedOver;
};

class JobBoard : public jobs::JobView {
 public:
  // Rows beyond maxRows are dropped, oldest first.
  explicit JobBoard(std::size_t maxRows = 1000);

  void AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) override;
  void SetJobStatus(std::string_view text, jobs::StatusMark mark) override;
  void SetRunState(jobs::RunState state) override;
  void NoteDetail(std::string_view detail) override;
  void NotePassedOver(std::string_view path, std::string_view message, std::string_view reason) override;

  std::shared_ptr<const BoardSnapshot> Snapshot() const;

 private:
  // Builds the next snapshot from the current one; writers (the worker and
  // the service's loop) take turns on writeMutex_, readers never touch it.
  template <typename Change>
  void Publish(Change change);

  const std::size_t maxRows_;
  std::mutex writeMutex_;
  mutable std::mutex pointerMutex_;
  std::shared_ptr<const BoardSnapshot> current_;
};

}  // namespace orvella::web

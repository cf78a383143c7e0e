#pragma once
// The job window as the core sees it; the GUI and the headless service each
// implement it. Calls from the worker reach the owner's thread in order.
#include <ctime>
#include <string>
#include <string_view>

#include "jobs/run_state.h"

namespace orvella::jobs {

// The image beside a row's status text.
enum class StatusMark : int { kDone = 0, kInProgress = 1, kFailed = 2 };

// The mark in words, as the service's lines show it ("in progress"); the
// status page's names are these with "_" for the space.
constexpr std::string_view StatusMarkName(StatusMark mark) {
  switch (mark) {
    case StatusMark::kDone:
      return "done";
    case StatusMark::kInProgress:
      return "in progress";
    case StatusMark::kFailed:
      return "failed";
  }
  return "?";
}

class JobView {
 public:
  virtual ~JobView() = default;
  // Inserts a row at the top (row 0) for the source path.
  virtual void AddJobRow(std::string_view sourcePath, std::string_view text, StatusMark mark) = 0;
  // Replaces the status text and mark of row 0.
  virtual void SetJobStatus(std::string_view text, StatusMark mark) = 0;
  // Shows the run state (icons and status bar text).
  virtual void SetRunState(RunState state) = 0;
  // The plain-English cause behind the message just shown in row 0, for
  // views that have room for it (the service's journal); the job window
  // shows the message alone.
  virtual void NoteDetail(std::string_view /*detail*/) {}
  // An entry of a hot folder that the scan passes over (a link, a sub-folder,
  // a file that could not be removed…), told once: the message and the
  // scan's reason in plain English.
  virtual void NotePassedOver(std::string_view /*path*/, std::string_view /*message*/,
                              std::string_view /*reason*/) {}
};

// The first three columns of a new row: time added, file name, folder.
struct JobRowColumns {
  std::string added;  // "%04d/%02d/%02d %02d:%02d:%02d", local time
  std::string fileName;
  std::string folder;
};
JobRowColumns MakeJobRowColumns(std::string_view sourcePath, std::time_t now);

}  // namespace orvella::jobs

#pragma once
// The job window and the message boxes of the headless service: one line per
// event on stdout (flushed, so a journal shows it at once), warnings on
// stderr. The worker calls in from its own thread; lines never interleave.
#include <mutex>
#include <string>

#include "base/operator_messages.h"
#include "jobs/job_view.h"

namespace orvella::cli {

class ConsoleView : public jobs::JobView, public base::OperatorMessages {
 public:
  void AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) override;
  void SetJobStatus(std::string_view text, jobs::StatusMark mark) override;
  void SetRunState(jobs::RunState state) override;
  // The cause behind the row's message, on a line of its own.
  void NoteDetail(std::string_view detail) override;
  void NotePassedOver(std::string_view path, std::string_view message, std::string_view reason) override;
  void Warning(const std::string& text) override;
  // One line: the message, then its cause in brackets.
  void Notice(const base::Failure& notice) override;
  // Nobody is there to answer: no.
  bool Question(const std::string& text) override;

 private:
  void JobLine(std::string_view text, jobs::StatusMark mark);

  std::mutex mutex_;
  std::string topRow_;  // source path of the newest row
};

}  // namespace orvella::cli

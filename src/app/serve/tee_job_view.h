#pragma once
// One job window shown in two places: the service's journal and the status
// page's board, in that order.
#include "jobs/job_view.h"

namespace orvella::cli {

class TeeJobView : public jobs::JobView {
 public:
  TeeJobView(jobs::JobView& first, jobs::JobView& second) : first_(first), second_(second) {}

  void AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) override {
    first_.AddJobRow(sourcePath, text, mark);
    second_.AddJobRow(sourcePath, text, mark);
  }
  void SetJobStatus(std::string_view text, jobs::StatusMark mark) override {
    first_.SetJobStatus(text, mark);
    second_.SetJobStatus(text, mark);
  }
  void SetRunState(jobs::RunState state) override {
    first_.SetRunState(state);
    second_.SetRunState(state);
  }
  void NoteDetail(std::string_view detail) override {
    first_.NoteDetail(detail);
    second_.NoteDetail(detail);
  }
  void NotePassedOver(std::string_view path, std::string_view message, std::string_view reason) override {
    first_.NotePassedOver(path, message, reason);
    second_.NotePassedOver(path, message, reason);
  }

 private:
  jobs::JobView& first_;
  jobs::JobView& second_;
};

}  // namespace orvella::cli

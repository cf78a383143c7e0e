#pragma once
// The job window as the core sees it: rows go to the list model and the run
// state to the displays, always on the window thread.
#include <functional>

#include "app/gui/gui_thread.h"
#include "app/gui/job_list_model.h"
#include "jobs/job_view.h"

namespace orvella::cli {

class GuiJobView : public jobs::JobView {
 public:
  GuiJobView(WindowThreadGate& gate, JobListModel& model, std::function<void(jobs::RunState)> showState);

  void AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) override;
  void SetJobStatus(std::string_view text, jobs::StatusMark mark) override;
  void SetRunState(jobs::RunState state) override;
  void NoteDetail(std::string_view detail) override;

 private:
  WindowThreadGate& gate_;
  JobListModel& model_;
  std::function<void(jobs::RunState)> showState_;
};

}  // namespace orvella::cli

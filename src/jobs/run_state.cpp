#include "jobs/run_state.h"

#include <array>

#include "jobs/job_view.h"

namespace orvella::jobs {

const char* RunStateText(RunState state) {
  static constexpr std::array<const char*, kRunStateCount> kTexts{"停止中", "稼動中", "停止待機中",
                                                                  "強制停止待機中"};
  const int index = static_cast<int>(state);
  return index >= 0 && index < kRunStateCount ? kTexts[index] : "";
}

void RequestStopOnError(RunControl& control, JobView& view) {
  if (!control.ChangeState(RunState::kRunning, RunState::kStopPending)) return;
  control.SetAbort(true);
  view.SetRunState(RunState::kStopPending);
}

}  // namespace orvella::jobs

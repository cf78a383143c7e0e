#pragma once
// The program's images, embedded as Qt resources.
#include <QIcon>

#include "jobs/job_view.h"
#include "jobs/run_state.h"

namespace orvella::cli {

QIcon ProgramIcon();
// The notification icon and status bar image of a run state.
QIcon RunStateIcon(jobs::RunState state);
// The image beside a job row's status text.
QIcon StatusMarkIcon(jobs::StatusMark mark);

}  // namespace orvella::cli

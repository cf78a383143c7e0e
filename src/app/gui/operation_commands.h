#pragma once
// The core's operation behind the run commands of the windows.
#include <filesystem>
#include <memory>

#include "app/gui/message_boxes.h"
#include "app/gui/run_commands.h"
#include "app/gui/tick_timer_qt.h"
#include "jobs/job_view.h"

namespace orvella::cli {

std::unique_ptr<RunCommands> MakeOperationCommands(const std::filesystem::path& program, jobs::JobView& view,
                                                   MessageBoxes& messages, QtTickTimer& timer);

}  // namespace orvella::cli

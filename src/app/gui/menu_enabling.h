#pragma once
// Which commands a menu offers, decided each time a menu opens.
#include "app/gui/command_ids.h"
#include "jobs/run_state.h"

namespace orvella::cli {

struct MenuContext {
  jobs::RunState state = jobs::RunState::kStopped;
  bool modalOpen = false;  // a modal dialog of either window is open
  bool folderSelected = false;
  bool folderWindowVisible = false;
  bool jobWindowVisible = false;
};

bool CommandEnabled(CommandId id, const MenuContext& context);

}  // namespace orvella::cli

#include "app/gui/menu_enabling.h"

namespace orvella::cli {

bool CommandEnabled(CommandId id, const MenuContext& c) {
  using jobs::RunState;
  if (c.modalOpen) return false;
  const bool settingsAllowed = c.state != RunState::kStopPending;
  switch (id) {
    case CommandId::kNewFolder:
    case CommandId::kPreference:
    case CommandId::kPrinters:
    case CommandId::kStamps:
    case CommandId::kFolds:
      return settingsAllowed;
    case CommandId::kDeleteFolder:
    case CommandId::kEditFolder:
      return settingsAllowed && c.folderSelected;
    case CommandId::kStop:
      return c.state != RunState::kStopPending && c.state != RunState::kStopped;
    case CommandId::kStart:
      return c.state == RunState::kStopped;
    case CommandId::kShowFolderWindow:
      return c.state == RunState::kStopped && !c.folderWindowVisible;
    case CommandId::kShowJobWindow:
      return !c.jobWindowVisible;
    case CommandId::kExit:
    case CommandId::kClose:
    case CommandId::kVersion:
    case CommandId::kHelp:
      return true;
  }
  return false;
}

}  // namespace orvella::cli

#pragma once
// Menu items that carry their command id, and their enabling when a menu
// opens.
#include <optional>

#include "app/gui/command_ids.h"
#include "app/gui/menu_enabling.h"

class QAction;
class QMenu;

namespace orvella::cli {

QAction* AddCommand(QMenu& menu, CommandId id, const char* text);
std::optional<CommandId> CommandOf(const QAction& action);
// Enables or disables every command item of the menu.
void ApplyEnabling(QMenu& menu, const MenuContext& context);

}  // namespace orvella::cli

#include "app/gui/command_menu.h"

#include <QAction>
#include <QMenu>

namespace orvella::cli {

QAction* AddCommand(QMenu& menu, CommandId id, const char* text) {
  QAction* action = menu.addAction(QString::fromUtf8(text));
  action->setData(static_cast<int>(id));
  return action;
}

std::optional<CommandId> CommandOf(const QAction& action) {
  bool ok = false;
  const int id = action.data().toInt(&ok);
  if (!ok || action.isSeparator() || action.menu()) return std::nullopt;
  return static_cast<CommandId>(id);
}

void ApplyEnabling(QMenu& menu, const MenuContext& context) {
  for (QAction* action : menu.actions()) {
    if (const auto id = CommandOf(*action)) action->setEnabled(CommandEnabled(*id, context));
  }
}

}  // namespace orvella::cli

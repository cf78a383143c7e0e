#include "app/gui/tray_icon.h"

#include "app/gui/command_menu.h"
#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"

namespace orvella::cli {

TrayIcon::TrayIcon() : menu_(QString::fromUtf8(gui_text::kTrayMenu)) {
  AddCommand(menu_, CommandId::kShowFolderWindow, gui_text::kShowFolderWindow);
  AddCommand(menu_, CommandId::kShowJobWindow, gui_text::kShowJobWindow);
  menu_.addSeparator();
  AddCommand(menu_, CommandId::kStart, gui_text::kStartLong);
  AddCommand(menu_, CommandId::kStop, gui_text::kStopLong);
  menu_.addSeparator();
  AddCommand(menu_, CommandId::kExit, gui_text::kExit);
  connect(&menu_, &QMenu::aboutToShow, this, [this] { emit MenuOpening(&menu_); });
  connect(&menu_, &QMenu::triggered, this, [this](QAction* action) {
    if (const auto id = CommandOf(*action)) emit CommandChosen(*id);
  });

  icon_.setIcon(RunStateIcon(jobs::RunState::kStopped));
  icon_.setToolTip(QString::fromUtf8(gui_text::kTrayTip));
  icon_.setContextMenu(&menu_);
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) emit DoubleClicked();
  });
}

void TrayIcon::ShowRunState(jobs::RunState state) {
  icon_.setIcon(RunStateIcon(state));
  icon_.setToolTip(QString::fromUtf8(jobs::RunStateText(state)));
}

}  // namespace orvella::cli

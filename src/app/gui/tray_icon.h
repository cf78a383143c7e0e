#pragma once
// The notification icon: the run state as icon and tip, a menu with the
// windows and the run commands, and a double-click that opens the job window.
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include "app/gui/command_ids.h"
#include "jobs/run_state.h"

namespace orvella::cli {

class TrayIcon : public QObject {
  Q_OBJECT

 public:
  TrayIcon();

  QMenu& Menu() { return menu_; }
  void ShowRunState(jobs::RunState state);
  void Show() { icon_.show(); }
  void Hide() { icon_.hide(); }

 signals:
  void CommandChosen(orvella::cli::CommandId id);
  void DoubleClicked();
  void MenuOpening(QMenu* menu);

 private:
  QMenu menu_;
  QSystemTrayIcon icon_;
};

}  // namespace orvella::cli

#pragma once
// SIGTERM (a desktop logout, a service manager), SIGINT and SIGHUP reach the
// windows as the exit command, so the program ends as the menu's 終了 ends it.
// A handler only writes the signal to a pipe; the event loop does the work.
// The signals stay unblocked so that programs started from the windows (the
// manual's viewer) inherit no blocked signals.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "base/unique_fd.h"

namespace orvella::cli {

class ExitSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; one instance per process.
  ExitSignals();
  ~ExitSignals() override;

 signals:
  void ExitRequested();

 private:
  base::UniqueFd read_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvella::cli

#pragma once
// The job window: the list of jobs handled since start, the run state in the
// status bar, and the run commands in its menus. It only shows and forwards;
// what a command does is decided elsewhere.
#include <QMainWindow>

#include "app/gui/command_ids.h"
#include "jobs/run_state.h"

class QLabel;
class QMenu;
class QTreeView;
class QAbstractItemModel;

namespace orvella::cli {

class JobWindow : public QMainWindow {
  Q_OBJECT

 public:
  JobWindow(const QString& title, QAbstractItemModel& model);

  QTreeView& List() { return *list_; }
  // The line under the list: the cause behind the selected row's failure.
  QLabel& DetailLine() { return *detail_; }
  // The status bar's icon and text.
  void ShowRunState(jobs::RunState state);
  // Without a notification icon the title carries the run state.
  void SetTitleSuffix(const QString& suffix);
  // With a notification icon minimising means closing; without one it stays
  // minimising, the way a window gets out of the way then.
  void SetMinimiseCloses(bool closes) { minimiseCloses_ = closes; }

 signals:
  void CommandChosen(orvella::cli::CommandId id);
  // The close box, or a minimise by the window manager: the owner decides
  // what closing means.
  void CloseRequested();
  void MenuOpening(QMenu* menu);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QMenu* AddMenu(const char* title);
  void ShowSelectedDetail();

  QString title_;
  QTreeView* list_;
  QLabel* detail_;
  QLabel* stateIcon_;
  QLabel* stateText_;
  bool minimiseCloses_ = true;
};

}  // namespace orvella::cli

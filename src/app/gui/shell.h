#pragma once
// The application shell: the job window, the folder settings window and the
// notification icon, and what their commands do with them. The run commands
// go to the core's operation; the shell only shows, hides and forwards.
#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/gui/command_ids.h"
#include "app/gui/folder_window.h"
#include "app/gui/gui_job_view.h"
#include "app/gui/gui_thread.h"
#include "app/gui/job_list_model.h"
#include "app/gui/job_window.h"
#include "app/gui/menu_enabling.h"
#include "app/gui/message_boxes.h"
#include "app/gui/tick_timer_qt.h"
#include "app/gui/tray_icon.h"
#include "jobs/operation.h"
#include "settings/input_settings.h"

namespace orvella::cli {

class Shell : public QObject {
  Q_OBJECT

 public:
  // trayHost: whether a notification area exists to hold the icon; folders:
  // what the process set-up found.
  Shell(std::filesystem::path program, settings::ProcessFolders folders, MessageBoxes& messages,
        bool trayHost, jobs::OperationHooks hooks = {});
  // Lets a worker still calling the view go, then ends the operation.
  ~Shell() override;

  // The start command when operation ran at the last exit, else the stop
  // command; then the window that showed at the last exit.
  void StartUp();
  // A second start asked for us: the visible window to the front, or the job
  // window when only the icon shows.
  void BringForward();
  void Dispatch(CommandId id);

  // An exception from a command ended the event loop with this text.
  const std::optional<std::string>& Failure() const { return failure_; }

  JobWindow& Jobs() { return jobWindow_; }
  FolderWindow& Folders() { return folderWindow_; }
  TrayIcon* Tray() { return tray_.get(); }
  jobs::Operation& Operation() { return operation_; }

 signals:
  // The exit command has been carried out: the event loop may end.
  void Finished();

 private:
  void Guarded(const std::function<void()>& fn);
  void ShowRunState(jobs::RunState state);
  MenuContext Context() const;
  void ApplyMenu(QMenu* menu);

  void StartCommand();
  void CloseJobWindow();
  void CloseFolderWindow();
  void ShowJobWindow();
  void ShowFolderWindow();
  void HideJobWindow();
  void HideFolderWindow();
  void ExitCommand();
  void FinishExit();
  // New (no row) or Edit (the selected row) through the input folder dialog;
  // OK writes INPUT.INI at once.
  void EditFolder(bool isNew);
  void DeleteFolder();
  void ShowFolders();
  void ReloadFolders();
  void OpenHelp();
  void ShowVersion();

  std::filesystem::path program_;
  settings::ProcessFolders folders_;
  MessageBoxes& messages_;
  const bool unsupportedGl_;  // marks the window titles
  std::vector<settings::InputFolderSetting> inputs_;
  JobListModel model_;
  JobWindow jobWindow_;
  FolderWindow folderWindow_;
  std::unique_ptr<TrayIcon> tray_;  // none without a notification area
  WindowThreadGate gate_;
  GuiJobView view_;
  QtTickTimer timer_;
  std::optional<std::string> failure_;
  // Last, so that it ends first: it waits for the worker, which calls the
  // view.
  jobs::Operation operation_;
};

}  // namespace orvella::cli

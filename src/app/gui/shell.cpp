#include "app/gui/shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <exception>
#include <utility>

#include "app/gui/command_menu.h"
#include "app/gui/gui_texts.h"
#include "app/gui/window_placement_qt.h"
#include "dialogs/fold_list_dialog.h"
#include "dialogs/input_folder_dialog.h"
#include "dialogs/preference_dialog.h"
#include "dialogs/printer_list_dialog.h"
#include "dialogs/stamp_list_dialog.h"
#include "orvella_version.h"
#include "settings/app_data.h"
#include "settings/hidden_settings.h"
#include "settings/program_folders.h"
#include "settings/window_settings.h"

namespace orvella::cli {

namespace {

namespace section = settings::window_section;

QString Title(bool unsupportedGl, const char* normal, const char* marked) {
  return QString::fromUtf8(unsupportedGl ? marked : normal);
}

bool Showing(const QWidget& window) { return window.isVisible() && !window.isMinimized(); }

}  // namespace

Shell::Shell(std::filesystem::path program, settings::ProcessFolders folders, MessageBoxes& messages,
             bool trayHost, jobs::OperationHooks hooks)
    : program_(std::move(program)),
      folders_(std::move(folders)),
      messages_(messages),
      unsupportedGl_(settings::LoadHiddenSettings(program_).enableUnsupportedGl),
      inputs_(settings::LoadInputSettings(program_)),
      jobWindow_(Title(unsupportedGl_, gui_text::kJobWindowTitle, gui_text::kJobWindowTitleUnsupportedGl),
                 model_),
      folderWindow_(
          Title(unsupportedGl_, gui_text::kFolderWindowTitle, gui_text::kFolderWindowTitleUnsupportedGl)),
      tray_(trayHost ? std::make_unique<TrayIcon>() : nullptr),
      gate_(*this),
      view_(gate_, model_, [this](jobs::RunState state) { ShowRunState(state); }),
      timer_([this] { Guarded([this] { operation_.Tick(); }); }),
      operation_(program_, folders_, view_, messages_, timer_, std::move(hooks)) {
  jobWindow_.SetMinimiseCloses(trayHost);
  folderWindow_.SetMinimiseCloses(trayHost);
  RestoreColumnWidthsOf(program_, section::kJob, *jobWindow_.List().header());
  RestoreColumnWidthsOf(program_, section::kInputEdit, *folderWindow_.List().header());
  ShowFolders();

  const auto command = [this](CommandId id) { Guarded([this, id] { Dispatch(id); }); };
  connect(&jobWindow_, &JobWindow::CommandChosen, this, [this, command](CommandId id) {
    // The job window's close closes the job window; the same id in the
    // folder window's menu closes that one.
    if (id == CommandId::kClose) {
      Guarded([this] { CloseJobWindow(); });
    } else {
      command(id);
    }
  });
  connect(&jobWindow_, &JobWindow::CloseRequested, this, [this] { Guarded([this] { CloseJobWindow(); }); });
  connect(&jobWindow_, &JobWindow::MenuOpening, this, &Shell::ApplyMenu);
  connect(&folderWindow_, &FolderWindow::CommandChosen, this, command);
  connect(&folderWindow_, &FolderWindow::MenuOpening, this, &Shell::ApplyMenu);
  if (tray_) {
    connect(tray_.get(), &TrayIcon::CommandChosen, this, command);
    connect(tray_.get(), &TrayIcon::MenuOpening, this, &Shell::ApplyMenu);
    connect(tray_.get(), &TrayIcon::DoubleClicked, this, [this] {
      if (!jobWindow_.isVisible() && !folderWindow_.isVisible()) ShowJobWindow();
    });
    tray_->Show();
  }
}

Shell::~Shell() {
  gate_.Close();
  if (tray_) tray_->Hide();
}

void Shell::Guarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    if (failure_) return;
    failure_ = e.what();
    emit Finished();
  }
}

void Shell::StartUp() {
  if (settings::GetAutorun(program_)) {
    StartCommand();
  } else {
    operation_.StopCommand();
  }
  switch (settings::GetLastMainWindow(program_)) {
    case settings::kLastWindowJob:
      ShowJobWindow();
      break;
    case settings::kLastWindowFolderSettings:
      ShowFolderWindow();
      break;
    default:
      // Without a notification icon the program would be out of reach.
      if (!tray_) {
        ShowJobWindow();
        jobWindow_.showMinimized();
      }
  }
}

void Shell::BringForward() {
  Guarded([this] {
    if (Showing(folderWindow_)) {
      ShowFolderWindow();
    } else {
      ShowJobWindow();
    }
  });
}

MenuContext Shell::Context() const {
  MenuContext context;
  context.state = operation_.State();
  context.modalOpen = QApplication::activeModalWidget() != nullptr;
  context.folderSelected = folderWindow_.SelectedRow() >= 0;
  context.folderWindowVisible = folderWindow_.isVisible();
  context.jobWindowVisible = jobWindow_.isVisible();
  return context;
}

void Shell::ApplyMenu(QMenu* menu) { ApplyEnabling(*menu, Context()); }

void Shell::ShowRunState(jobs::RunState state) {
  jobWindow_.ShowRunState(state);
  if (tray_) {
    tray_->ShowRunState(state);
  } else {
    const QString suffix = QStringLiteral(" - ") + QString::fromUtf8(jobs::RunStateText(state));
    jobWindow_.SetTitleSuffix(suffix);
    folderWindow_.SetTitleSuffix(suffix);
  }
}

void Shell::Dispatch(CommandId id) {
  switch (id) {
    case CommandId::kStart:
      StartCommand();
      break;
    case CommandId::kStop:
      operation_.StopCommand();
      break;
    case CommandId::kExit:
      ExitCommand();
      break;
    case CommandId::kClose:
      CloseFolderWindow();
      break;
    case CommandId::kShowFolderWindow:
      ShowFolderWindow();
      HideJobWindow();
      break;
    case CommandId::kShowJobWindow:
      ShowJobWindow();
      HideFolderWindow();
      break;
    case CommandId::kDeleteFolder:
      DeleteFolder();
      break;
    case CommandId::kHelp:
      OpenHelp();
      break;
    case CommandId::kVersion:
      ShowVersion();
      break;
    case CommandId::kNewFolder:
      EditFolder(true);
      break;
    case CommandId::kEditFolder:
      EditFolder(false);
      break;
    case CommandId::kPreference:
      dialogs::EditPreferences(&folderWindow_, program_, messages_,
                               logging::NetSendBeside(folders_.executable));
      break;
    case CommandId::kPrinters:
      dialogs::ShowPrinterList(&folderWindow_, program_, messages_);
      break;
    case CommandId::kStamps:
      dialogs::ShowStampList(&folderWindow_, program_, messages_);
      ReloadFolders();  // a deleted stamp is cleared from the folders that named it
      break;
    case CommandId::kFolds:
      dialogs::ShowFoldList(&folderWindow_, program_, messages_);
      ReloadFolders();  // likewise a deleted fold
      break;
  }
}

void Shell::StartCommand() {
  if (folderWindow_.isVisible()) {
    ShowJobWindow();
    HideFolderWindow();
  }
  operation_.StartCommand();
}

void Shell::CloseJobWindow() {
  operation_.CloseCommand();
  HideJobWindow();
}

void Shell::CloseFolderWindow() {
  ShowJobWindow();
  HideFolderWindow();
}

void Shell::ShowJobWindow() { ShowPlaced(program_, section::kJob, jobWindow_); }

void Shell::ShowFolderWindow() { ShowPlaced(program_, section::kInputEdit, folderWindow_); }

// Hiding saves the placement first. Without a notification icon the last
// window showing is minimised instead, so the program stays in reach; the
// callers therefore show the other window before hiding this one.
void Shell::HideJobWindow() {
  if (!jobWindow_.isVisible()) return;
  SaveWindowPlacementOf(program_, section::kJob, jobWindow_);
  SaveColumnWidthsOf(program_, section::kJob, *jobWindow_.List().header());
  if (tray_ || Showing(folderWindow_)) {
    jobWindow_.hide();
  } else {
    jobWindow_.showMinimized();
  }
}

void Shell::HideFolderWindow() {
  if (!folderWindow_.isVisible()) return;
  SaveWindowPlacementOf(program_, section::kInputEdit, folderWindow_);
  SaveColumnWidthsOf(program_, section::kInputEdit, *folderWindow_.List().header());
  if (tray_ || Showing(jobWindow_)) {
    folderWindow_.hide();
  } else {
    folderWindow_.showMinimized();
  }
}

void Shell::ExitCommand() {
  const bool wasPending = operation_.ExitPending();
  operation_.ExitCommand([this] { Guarded([this] { FinishExit(); }); });
  if (!wasPending) settings::SetAutorun(program_, operation_.State() != jobs::RunState::kStopped);
}

void Shell::FinishExit() {
  const int last = Showing(jobWindow_)      ? settings::kLastWindowJob
                   : Showing(folderWindow_) ? settings::kLastWindowFolderSettings
                                            : settings::kLastWindowNone;
  settings::SetLastMainWindow(program_, last);
  if (jobWindow_.isVisible()) {
    SaveWindowPlacementOf(program_, section::kJob, jobWindow_);
    SaveColumnWidthsOf(program_, section::kJob, *jobWindow_.List().header());
  }
  if (folderWindow_.isVisible()) {
    SaveWindowPlacementOf(program_, section::kInputEdit, folderWindow_);
    SaveColumnWidthsOf(program_, section::kInputEdit, *folderWindow_.List().header());
  }
  folderWindow_.hide();
  jobWindow_.hide();
  if (tray_) tray_->Hide();
  emit Finished();
}

void Shell::ReloadFolders() {
  try {
    inputs_ = settings::LoadInputSettings(program_);
  } catch (const std::exception& e) {
    messages_.Warning(e.what());
  }
  ShowFolders();
}

void Shell::ShowFolders() {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const auto& input : inputs_) rows.emplace_back(input.inputDir, input.memo);
  folderWindow_.SetFolders(rows);
}

void Shell::EditFolder(bool isNew) {
  const int row = folderWindow_.SelectedRow();
  const bool selected = row >= 0 && row < static_cast<int>(inputs_.size());
  if (!isNew && !selected) return;
  settings::InputFolderSetting setting = isNew ? settings::InputFolderSetting{} : inputs_[row];
  const std::optional<size_t> index = isNew ? std::nullopt : std::optional<size_t>(row);
  // A write that fails says so and opens the dialog again with the
  // operator's input, until it is written or cancelled.
  while (dialogs::EditInputFolder(&folderWindow_, program_, messages_, setting, inputs_, index,
                                  folders_.networkShortcuts)) {
    std::vector<settings::InputFolderSetting> changed = inputs_;
    if (isNew) {
      changed.push_back(setting);
    } else if (row < static_cast<int>(changed.size())) {
      changed[row] = setting;
    }
    try {
      settings::SaveInputSettings(program_, changed);
    } catch (const std::exception& e) {
      messages_.Warning(e.what());
      continue;
    }
    inputs_ = std::move(changed);
    break;
  }
  ShowFolders();
}

void Shell::DeleteFolder() {
  if (!messages_.Question(gui_text::kDeleteQuestion)) return;
  const int row = folderWindow_.SelectedRow();
  if (row < 0 || row >= static_cast<int>(inputs_.size())) return;
  std::vector<settings::InputFolderSetting> remaining = inputs_;
  remaining.erase(remaining.begin() + row);
  try {
    settings::SaveInputSettings(program_, remaining);
  } catch (const std::exception& e) {
    messages_.Warning(e.what());
    return;
  }
  inputs_ = std::move(remaining);
  folderWindow_.RemoveRow(row);
}

void Shell::OpenHelp() {
  // The program folder's own copy first, then the one installed with the program.
  const std::filesystem::path manual =
      settings::FindDataFile(program_, folders_.data, std::string("/") + gui_text::kHelpFile);
  std::error_code error;
  if (!std::filesystem::is_regular_file(manual, error) ||
      !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual.string())))) {
    messages_.Warning(gui_text::kHelpFailed);
  }
}

void Shell::ShowVersion() {
  messages_.About(gui_text::kVersionTitle, std::string(gui_text::kProductName) +
                                               "\nVersion " ORVELLA_VERSION " (Build " ORVELLA_BUILD_ID ")");
}

}  // namespace orvella::cli

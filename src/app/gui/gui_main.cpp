#include "app/gui/gui_main.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "app/gui/command_ids.h"
#include "app/gui/exit_signals.h"
#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"
#include "app/gui/instance_handover.h"
#include "app/gui/shell.h"
#include "app/setup/process_setup.h"
#include "dialogs/qt_translations.h"
#include "logging/job_log.h"
#include "settings/instance_lock.h"
#include "settings/program_folders.h"
#include "settings/work_folder.h"

namespace orvella::cli {

namespace {

// The hand-over server and the event loop, once the windows exist.
void RunEventLoop(Shell& shell, const QString& handOver, MessageBoxes& messages) {
  HandOverServer server;
  if (!server.Listen(handOver)) {
    messages.Warning(gui_text::kHandOverFailed);
    return;
  }
  QObject::connect(&server, &HandOverServer::ShowRequested, &shell, &Shell::BringForward);
  QCoreApplication::exec();
  if (shell.Failure()) throw std::runtime_error(*shell.Failure());
}

int RunGuiUnguarded(const std::filesystem::path& program, const settings::ProcessFolders& folders,
                    MessageBoxes& messages) {
  const QString handOver = HandOverName(program);
  // The same lock as the headless service's, so the two exclude each other.
  const settings::InstanceLockAttempt instance = settings::AcquireInstanceLock(program);
  if (!instance.lock && !instance.held) {
    // Not a second start: nobody would come forward, so say why we end.
    messages.Warning(std::string(gui_text::kInstanceLockFailed) + gui_text::kDetailHeading + instance.detail);
    return -1;
  }
  if (!instance.lock) {
    if (!AskFirstInstanceToShow(handOver)) {
      std::cerr << "orvella: " << program.string() << " is in use";
      if (instance.holder > 0) std::cerr << " by orvella process " << instance.holder;
      std::cerr << " (" << instance.detail << "), which did not come forward\n";
    }
    return -1;
  }
  settings::CreateApplicationFolders(program);
  settings::RemoveStaleWorkFolders(program);
  settings::RemoveInterruptedSaves(program);
  // Before "起動", so that a signal from then on always ends in "終了"; one
  // that comes before the shell exists waits in the pipe for the event loop.
  ExitSignals exitSignals;
  logging::WriteJobLogMessage(program, logging::kStartUpMessage);
  {
    std::optional<Shell> shell;
    // The windows read the settings as they are built; a file that cannot be
    // read ends the program the orderly way, with "終了" logged.
    try {
      jobs::OperationHooks hooks;
      hooks.scanLog = [](std::string_view note) { std::cerr << "orvella: " << note << std::endl; };
      shell.emplace(program, folders, messages, QSystemTrayIcon::isSystemTrayAvailable(), std::move(hooks));
      QObject::connect(&*shell, &Shell::Finished, QCoreApplication::instance(), &QCoreApplication::quit,
                       Qt::QueuedConnection);
      QObject::connect(&exitSignals, &ExitSignals::ExitRequested, &*shell,
                       [&shell] { shell->Dispatch(CommandId::kExit); });
      shell->StartUp();
    } catch (const std::exception& e) {
      std::cerr << "orvella: the windows could not be created: " << e.what() << "\n";
      shell.reset();
      messages.Warning(gui_text::kWindowCreationFailed);
    }
    if (shell) RunEventLoop(*shell, handOver, messages);
  }
  logging::WriteJobLogMessage(program, logging::kExitMessage);
  return 0;
}

}  // namespace

int RunGuiWith(const std::filesystem::path& homeOption, const settings::ProcessFolders& folders,
               MessageBoxes& messages) {
  try {
    // The program's start makes its folders, the program folder included.
    return RunGuiUnguarded(ResolveProgramFolder(homeOption, true), folders, messages);
  } catch (const std::exception& e) {
    messages.Warning(std::string(gui_text::kUnexpectedError) + gui_text::kDetailHeading + e.what());
    return -1;
  }
}

int RunGui(const std::filesystem::path& homeOption, const settings::ProcessFolders& folders, int& argc,
           char** argv) {
  // Qt would abort without a display; say what to run instead.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::cerr << "orvella: no display for the windows; `orvella serve` runs without them, "
                 "`orvella --help` lists the commands\n";
    return -1;
  }
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  app.setWindowIcon(ProgramIcon());
  dialogs::InstallQtTranslations(app);
  MessageBoxes messages;
  return RunGuiWith(homeOption, folders, messages);
}

}  // namespace orvella::cli

#include "app/gui/gui_main.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <iostream>
#include <stdexcept>

#include "app/gui/command_ids.h"
#include "app/gui/exit_signals.h"
#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"
#include "app/gui/instance_handover.h"
#include "app/gui/shell.h"
#include "logging/job_log.h"
#include "settings/instance_lock.h"
#include "settings/program_folders.h"
#include "settings/work_folder.h"

namespace orvella::cli {

namespace {

int RunGuiUnguarded(const std::filesystem::path& program, QApplication& app, MessageBoxes& messages) {
  const QString handOver = HandOverName(program);
  // The same lock as the headless service's, so the two exclude each other.
  const settings::InstanceLockAttempt instance = settings::AcquireInstanceLock(program);
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
    jobs::OperationHooks hooks;
    hooks.scanLog = [](std::string_view note) { std::cerr << "orvella: " << note << std::endl; };
    Shell shell(program, messages, QSystemTrayIcon::isSystemTrayAvailable(), std::move(hooks));
    QObject::connect(&shell, &Shell::Finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&exitSignals, &ExitSignals::ExitRequested, &shell,
                     [&shell] { shell.Dispatch(CommandId::kExit); });
    shell.StartUp();
    HandOverServer server;
    if (server.Listen(handOver)) {
      QObject::connect(&server, &HandOverServer::ShowRequested, &shell, &Shell::BringForward);
      app.exec();
      if (shell.Failure()) throw std::runtime_error(*shell.Failure());
    } else {
      messages.Warning(gui_text::kHandOverFailed);
    }
  }
  logging::WriteJobLogMessage(program, logging::kExitMessage);
  return 0;
}

}  // namespace

int RunGui(const std::filesystem::path& homeOption, int& argc, char** argv) {
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
  MessageBoxes messages;
  try {
    // The program's start makes its folders, the program folder included.
    return RunGuiUnguarded(settings::ResolveProgramFolder(homeOption, true), app, messages);
  } catch (const std::exception& e) {
    messages.Warning(std::string(gui_text::kUnexpectedError) + gui_text::kDetailHeading + e.what());
    return -1;
  }
}

}  // namespace orvella::cli

// orvella serve: the system without windows, for servers. It starts up as the
// GUI does, starts operation at once and runs until SIGINT or SIGTERM has
// been carried out as the exit command.
#include <csignal>
#include <iostream>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/serve/console_view.h"
#include "app/serve/serve_loop.h"
#include "jobs/operation.h"
#include "logging/job_log.h"
#include "settings/instance_lock.h"
#include "settings/program_folders.h"

namespace orvella::cli {
namespace {

constexpr const char* kStartUp = "起動";
constexpr const char* kExit = "終了";

int RunServe(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 0, {});
  const settings::InstanceLockAttempt instance = settings::AcquireInstanceLock(context.program);
  if (!instance.lock) {
    std::cerr << "orvella serve: " << context.program.string() << " is in use";
    if (instance.holder > 0) std::cerr << " by orvella process " << instance.holder;
    std::cerr << " (" << instance.detail << ")\n";
    return 1;
  }
  settings::CreateApplicationFolders(context.program);
  // Before any thread exists, so that every thread leaves the signals to the
  // loop.
  const base::UniqueFd signals = OpenServeSignals();
  // A journal or pipe that went away must not end the service.
  std::signal(SIGPIPE, SIG_IGN);

  logging::WriteJobLogMessage(context.program, kStartUp);
  ConsoleView console;
  PollTimer timer;
  jobs::OperationHooks hooks;
  hooks.scanLog = [&console](std::string_view note) { console.Warning(std::string(note)); };
  int code = 0;
  {
    jobs::Operation operation(context.program, console, console, timer, std::move(hooks));
    if (operation.StartCommand()) {
      RunServeLoop(operation, timer, signals.Get());
    } else {
      std::cerr << "orvella serve: operation did not start\n";
      code = 1;
    }
  }
  logging::WriteJobLogMessage(context.program, kExit);
  return code;
}

const CommandRegistrar kServe{
    {"serve", "", &RunServe,
     "Runs the print server without windows, for servers. Takes the program\n"
     "folder's single-instance lock (TEMP/orvella.lock; a second orvella on the\n"
     "same folder exits 1 naming the holder's process id), creates the program\n"
     "folders, logs \"起動\" and starts operation at once. Job rows and run-state\n"
     "changes are printed one line each on stdout:\n"
     "  TIME job FILE (FOLDER) [done|in progress|failed] STATUS\n"
     "  TIME state STATE\n"
     "Warnings go to stderr. SIGINT or SIGTERM is the exit command: the running\n"
     "job ends at its next abort check (a second signal does not cut it short),\n"
     "then \"終了\" is logged and the exit code is 0. When operation cannot start\n"
     "(no input folders, a folder naming a missing stamp, printer or fold, an\n"
     "unreadable settings file) the message goes to stderr, \"終了\" is logged and\n"
     "the exit code is 1. A job that stops the system (a printer that fails)\n"
     "leaves it stopped with the file in its folder; SIGHUP (systemctl reload) is\n"
     "the start command: the settings are read again and operation starts."}};

}  // namespace
}  // namespace orvella::cli

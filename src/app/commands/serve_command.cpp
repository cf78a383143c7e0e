// orvella serve: the system without windows, for servers. It starts up as the
// GUI does, starts operation at once and runs until SIGINT or SIGTERM has
// been carried out as the exit command.
#include <csignal>
#include <iostream>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/printer_check_report.h"
#include "app/serve/console_view.h"
#include "app/serve/loop_commands.h"
#include "app/serve/serve_loop.h"
#include "app/serve/tee_job_view.h"
#include "app/web/http_token.h"
#include "app/web/web_server.h"
#include "jobs/operation.h"
#include "logging/job_log.h"
#include "settings/instance_lock.h"
#include "settings/program_folders.h"

namespace orvella::cli {
namespace {

using namespace std::chrono_literals;

// How long a start or stop from the page waits for the loop.
constexpr auto kCommandWait = 10s;

// --http ADDR:PORT, or --http alone for the default address.
std::optional<web::ListenAddress> HttpAddress(std::vector<std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--http" && (i + 1 == args.size() || args[i + 1].starts_with("--")))
      args.insert(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, web::kDefaultListenAddress);
  }
  const CliArgs cli(args, 0, {"http"});
  const auto text = cli.Value("http");
  if (!text) return std::nullopt;
  std::string why;
  auto address = web::ParseListenAddress(*text, why);
  if (!address) throw UsageError("--http: " + why);
  return address;
}

web::WebServerOptions PageOptions(const std::filesystem::path& program, const web::ListenAddress& address,
                                  LoopCommands& commands) {
  web::WebServerOptions options;
  options.program = program;
  options.address = address;
  options.token = web::CreateHttpToken(program);
  options.runCommand = [&commands](web::RunCommand command) {
    return commands.Submit(command, kCommandWait);
  };
  options.checkPrinter = [program](const std::string& name) -> std::optional<web::Json> {
    auto report = CheckPrinter(program, name);
    if (!report) return std::nullopt;
    return std::move(report->json);
  };
  return options;
}

int RunServe(const CommandContext& context, const std::vector<std::string>& args) {
  const std::optional<web::ListenAddress> http = HttpAddress(args);
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
  // A journal, pipe or browser that went away must not end the service.
  std::signal(SIGPIPE, SIG_IGN);

  logging::WriteJobLogMessage(context.program, logging::kStartUpMessage);
  ConsoleView console;
  web::JobBoard board;
  TeeJobView rows(console, board);
  CapturedMessages messages(console);
  PollTimer timer;
  jobs::OperationHooks hooks;
  hooks.scanLog = [&console](std::string_view note) { console.Warning(std::string(note)); };
  int code = 0;
  {
    jobs::Operation operation(context.program, http ? static_cast<jobs::JobView&>(rows) : console, messages,
                              timer, std::move(hooks));
    LoopCommands commands(
        [&](web::RunCommand command) { return CarryOutRunCommand(operation, messages, command); });
    std::optional<web::WebServer> page;
    if (http) {
      page.emplace(board, PageOptions(context.program, *http, commands));
      std::string why;
      if (page->Start(why)) {
        std::cerr << "orvella serve: status page on http://" << http->Text()
                  << "/ (start and stop need the token in " << web::HttpTokenPath(context.program).string()
                  << ")" << std::endl;
      } else {
        std::cerr << "orvella serve: " << why << "\n";
        code = 1;
      }
    }
    if (code == 0 && operation.StartCommand()) {
      RunServeLoop(operation, timer, signals.Get(), http ? &commands : nullptr);
    } else if (code == 0) {
      std::cerr << "orvella serve: operation did not start\n";
      code = 1;
    }
    // The page's streams end and its threads are gone before the system is.
    commands.Close();
    if (page) page->Stop();
  }
  logging::WriteJobLogMessage(context.program, logging::kExitMessage);
  return code;
}

const CommandRegistrar kServe{
    {"serve", "[--http [ADDR:PORT]]", &RunServe,
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
     "the start command: the settings are read again and operation starts.\n"
     "--http serves the status page (job rows, run state, logs, error records,\n"
     "printers; start and stop) on ADDR:PORT, 127.0.0.1:8631 when given alone.\n"
     "Start and stop need the token written at every start to TEMP/http-token\n"
     "(mode 0600) in the X-Orvella-Token header of a POST; reading needs none.\n"
     "A program folder that does not exist yet is made.",
     true}};

}  // namespace
}  // namespace orvella::cli

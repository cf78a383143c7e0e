// orvella serve: the system without windows, for servers. It starts up as the
// GUI does, starts operation at once and runs until SIGINT or SIGTERM has
// been carried out as the exit command.
#include <sys/resource.h>

#include <algorithm>
#include <cctype>
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

struct PageArgs {
  web::ListenAddress address;
  std::vector<std::string> hosts;
};

// A name as it may stand in a Host header: letters, digits, '-' and '.'.
bool HostName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.';
  });
}

// --http ADDR:PORT, or --http alone for the default address; --http-host
// NAME for each further name the page answers to.
std::optional<PageArgs> HttpArgs(std::vector<std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--http" && (i + 1 == args.size() || args[i + 1].starts_with("--")))
      args.insert(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, web::kDefaultListenAddress);
  }
  const CliArgs cli(args, 0, {"http"}, {}, {"http-host"});
  const auto text = cli.Value("http");
  const std::vector<std::string> hosts = cli.Values("http-host");
  if (!text) {
    if (!hosts.empty()) throw UsageError("--http-host is for the status page: give --http too");
    return std::nullopt;
  }
  for (const std::string& host : hosts)
    if (!HostName(host))
      throw UsageError("--http-host: '" + host + "' is not a host name (letters, digits, '-' and '.')");
  std::string why;
  auto address = web::ParseListenAddress(*text, why);
  if (!address) throw UsageError("--http: " + why);
  return PageArgs{*address, hosts};
}

// A thousand idle connections to the page must not use up the descriptors
// the jobs need: the soft limit (often 1024) goes up to the hard one.
void RaiseDescriptorLimit() {
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= files.rlim_max) return;
  files.rlim_cur = files.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &files);
}

web::WebServerOptions PageOptions(const CommandContext& context, const PageArgs& page,
                                  LoopCommands& commands) {
  const std::filesystem::path& program = context.program;
  web::WebServerOptions options;
  options.program = program;
  options.data = context.folders.data;
  options.address = page.address;
  options.hosts = page.hosts;
  options.token = web::CreateHttpToken(program);
  options.runCommand = [&commands](web::RunCommand command) {
    return commands.Submit(command, kCommandWait);
  };
  options.checkPrinter = [program](const std::string& name) -> std::optional<web::Json> {
    const auto check = CheckNamedPrinter(program, name);
    if (!check) return std::nullopt;
    return PrinterCheckJson(*check);
  };
  return options;
}

int RunServe(const CommandContext& context, const std::vector<std::string>& args) {
  const std::optional<PageArgs> http = HttpArgs(args);
  const settings::InstanceLockAttempt instance = settings::AcquireInstanceLock(context.program);
  if (!instance.lock) {
    std::cerr << "orvella serve: ";
    if (instance.held) {
      std::cerr << context.program.string() << " is in use";
      if (instance.holder > 0) std::cerr << " by orvella process " << instance.holder;
    } else {
      std::cerr << "cannot take the lock of " << context.program.string();
    }
    std::cerr << " (" << instance.detail << ")\n";
    return 1;
  }
  settings::CreateApplicationFolders(context.program);
  RaiseDescriptorLimit();
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
    jobs::Operation operation(context.program, context.folders,
                              http ? static_cast<jobs::JobView&>(rows) : console, messages, timer,
                              std::move(hooks));
    LoopCommands commands(
        [&](web::RunCommand command) { return CarryOutRunCommand(operation, messages, command); });
    std::optional<web::WebServer> page;
    if (http) {
      page.emplace(board, PageOptions(context, *http, commands));
      std::string why;
      if (page->Start(why)) {
        std::cerr << "orvella serve: status page on http://" << http->address.Text()
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
    {"serve", "[--http [ADDR:PORT] [--http-host NAME]...]", &RunServe,
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
     "Every POST (start, stop, the printer check) and the download of a kept\n"
     "drawing need the token written at every start to TEMP/http-token (mode\n"
     "0600) in the X-Orvella-Token header; the rest is read without it. The page\n"
     "answers only to a Host that is its address, localhost or a NAME given\n"
     "with --http-host (any other gets 421), and refuses a request whose Origin\n"
     "is another site's (403).\n"
     "A program folder that does not exist yet is made.",
     true}};

}  // namespace
}  // namespace orvella::cli

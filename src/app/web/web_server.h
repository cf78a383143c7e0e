#pragma once
// The status page of orvella serve: static files from the data folder and a
// JSON API over the job board, the logs, the error folder and the printers,
// with Server-Sent Events for the rows. It never drives the system itself:
// start and stop go to the service's loop through runCommand.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/web/board_json.h"
#include "app/web/job_board.h"
#include "app/web/listen_address.h"

namespace orvella::web {

enum class RunCommand { kStart, kStop };

struct RunCommandResult {
  bool refused = false;  // the state does not allow it (the tray's item is disabled)
  bool started = false;  // for a start: operation is running
  jobs::RunState state = jobs::RunState::kStopped;
  std::vector<std::string> messages;  // the message boxes it showed, as shown
  std::string detail;                 // why it was refused, in plain English
};

struct WebServerOptions {
  std::filesystem::path program;
  std::filesystem::path data;  // the shipped files (web/) where the program folder has none
  ListenAddress address;
  std::string token;
  // Host names the page answers to beside its address and localhost
  // (--http-host).
  std::vector<std::string> hosts;
  // Connections one client address may hold at once.
  std::size_t maxConnectionsPerAddress = 8;
  // Hands the command to the service's loop and waits, bounded, for what it
  // did; nullopt when the loop did not answer in time.
  std::function<std::optional<RunCommandResult>(RunCommand)> runCommand;
  // The printer check of one printer; nullopt when no printer has the name.
  std::function<std::optional<Json>(const std::string&)> checkPrinter;
  std::size_t maxEventStreams = 16;
};

class WebServer {
 public:
  WebServer(const JobBoard& board, WebServerOptions options);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds and serves on threads of its own; false (with why) when the
  // address cannot be bound.
  bool Start(std::string& why);
  // Ends the event streams and waits for every thread; bounded by the
  // longest request in flight.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvella::web

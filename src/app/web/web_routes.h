#pragma once
// The page's files and the API routes but the event stream: reading the
// board, the logs, the error folder, the input folders and the printers;
// start, stop and the printer check.
#include <httplib.h>

#include <map>
#include <mutex>

#include "app/web/job_board.h"
#include "app/web/web_server.h"

namespace orvella::web {

class WebRoutes {
 public:
  WebRoutes(const JobBoard& board, const WebServerOptions& options) : board_(board), options_(options) {}
  void Register(httplib::Server& server);

 private:
  void State(httplib::Response& res) const;
  void Jobs(httplib::Response& res) const;
  void Logs(httplib::Response& res) const;
  void Log(const std::string& date, bool csv, httplib::Response& res) const;
  void Errors(httplib::Response& res) const;
  void ErrorFile(const std::string& id, httplib::Response& res) const;
  void Folders(httplib::Response& res) const;
  void Printers(httplib::Response& res);
  void CheckPrinter(const httplib::Request& req, httplib::Response& res);
  void Run(RunCommand command, httplib::Response& res) const;

  const JobBoard& board_;
  const WebServerOptions& options_;
  // One printer check at a time: each asks the printer over the network for
  // up to several seconds.
  std::mutex checkMutex_;
  std::mutex lastChecksMutex_;
  std::map<std::string, Json> lastChecks_;
};

}  // namespace orvella::web

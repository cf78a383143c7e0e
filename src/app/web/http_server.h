#pragma once
// The HTTP library's server as the status page needs it: connections are
// accepted and their requests received by a ConnectionFront, under the
// bounds of RequestHead and a deadline, and only a request that arrived
// whole reaches a worker thread, which has the library route it and write
// the reply. Every connection carries one request.
#include <httplib.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/web/connection_front.h"

namespace orvella::web {

class HttpServer : public httplib::Server {
 public:
  // Each write of a reply may wait writeTimeout for the client.
  HttpServer(const FrontLimits& limits, std::chrono::milliseconds writeTimeout);
  ~HttpServer() override;

  bool Listen(const ListenAddress& address);
  // Serves on a thread of its own and on threads workers.
  void Start(std::size_t threads);
  // Closes what waits in the front, then waits for the requests in hand.
  void Stop();

 private:
  void Serve(ArrivedRequest& request);

  ConnectionFront front_;
  std::chrono::milliseconds writeTimeout_;
  std::unique_ptr<httplib::ThreadPool> workers_;
  std::thread frontThread_;
};

}  // namespace orvella::web

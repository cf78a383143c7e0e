#pragma once
// The HTTP library's server as the status page needs it: every connection
// carries one request, whose head is received and checked under the bounds
// of RequestHead before the library reads it, so that no line, head or body
// grows past its bound in memory (a chunked or compressed body is refused,
// not read); and a listen backlog wide enough for a burst of connections.
#include <httplib.h>

#include <chrono>

#include "app/web/request_head.h"

namespace orvella::web {

class HttpServer : public httplib::Server {
 public:
  // The head and body must arrive within readTimeout of the request's turn;
  // each write may wait writeTimeout for the client.
  HttpServer(const HeadLimits& limits, std::chrono::milliseconds readTimeout,
             std::chrono::milliseconds writeTimeout);

  // After bind_to_port: the library listens with a backlog of 5, and a burst
  // of connections beyond it would each wait out a SYN retry (a second or
  // more) before being served.
  bool WidenBacklog();

 private:
  bool process_and_close_socket(socket_t sock) override;

  HeadLimits limits_;
  std::chrono::milliseconds readTimeout_;
  std::chrono::milliseconds writeTimeout_;
};

}  // namespace orvella::web

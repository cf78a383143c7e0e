#include "app/web/http_server.h"

#include <sys/socket.h>

#include "app/web/request_stream.h"

namespace orvella::web {

HttpServer::HttpServer(const FrontLimits& limits, std::chrono::milliseconds writeTimeout)
    : front_(limits), writeTimeout_(writeTimeout) {
  // The library's own check of a declared length, behind the front's.
  set_payload_max_length(limits.head.maxBody);
}

HttpServer::~HttpServer() { Stop(); }

bool HttpServer::Listen(const ListenAddress& address) { return front_.Listen(address); }

void HttpServer::Start(std::size_t threads) {
  // The library's content providers write only while it has a listening
  // socket: it stands for the front's until Stop.
  svr_sock_ = front_.ListeningSocket();
  workers_ = std::make_unique<httplib::ThreadPool>(threads);
  frontThread_ = std::thread([this] {
    front_.Run([this](std::unique_ptr<ArrivedRequest> request) {
      std::shared_ptr<ArrivedRequest> held(std::move(request));
      workers_->enqueue([this, held] { Serve(*held); });
    });
  });
}

void HttpServer::Stop() {
  // The library never closes what it did not open.
  svr_sock_ = INVALID_SOCKET;
  if (!frontThread_.joinable()) return;
  front_.Stop();
  frontThread_.join();
  workers_->shutdown();
}

void HttpServer::Serve(ArrivedRequest& request) {
  const int sock = request.connection->Socket();
  const RequestHead& head = request.head;
  RequestStream stream(sock, head.Received().substr(0, head.HeadSize() + head.BodyLength()), writeTimeout_);
  bool closed = false;
  process_request(stream, true, closed, nullptr);
  ::shutdown(sock, SHUT_RDWR);
  request.connection.reset();
}

}  // namespace orvella::web

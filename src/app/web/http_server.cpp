#include "app/web/http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "app/web/http_reply.h"
#include "app/web/request_stream.h"

namespace orvella::web {
namespace {

using Clock = RequestStream::Clock;
using namespace std::chrono_literals;

constexpr int kBacklog = 512;
// After a refusal, what the client still sends is read and dropped for a
// while, so that closing does not reset the connection before the client has
// read why (a reset can discard the reply on its way).
constexpr auto kLingerTime = 1s;
constexpr auto kLingerIdle = 100ms;
constexpr std::size_t kLingerBytes = 4 * 1024 * 1024;

enum class HeadEnd { kDone, kClosed, kTimedOut };

HeadEnd ReceiveHead(int sock, RequestHead& head, Clock::time_point deadline) {
  std::array<char, 4096> buffer;
  while (!head.Done()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return HeadEnd::kTimedOut;
    pollfd watch{sock, POLLIN, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return HeadEnd::kTimedOut;
    if (ready < 0) return HeadEnd::kClosed;
    const ssize_t n = ::recv(sock, buffer.data(), std::min(buffer.size(), head.Room()), MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return HeadEnd::kClosed;
    head.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  return HeadEnd::kDone;
}

const char* Reason(int status) {
  switch (status) {
    case 408:
      return "Request Timeout";
    case 411:
      return "Length Required";
    case 413:
      return "Payload Too Large";
    case 414:
      return "URI Too Long";
    case 415:
      return "Unsupported Media Type";
    case 431:
      return "Request Header Fields Too Large";
    default:
      return "Bad Request";
  }
}

// The refusal as the page's other errors look, written whole or not at all
// within the write time-out.
void SendRefusal(int sock, const Refusal& refusal, std::chrono::milliseconds writeTimeout) {
  httplib::Response res;
  ReplyError(res, refusal.status, refusal.why);
  std::string reply = "HTTP/1.1 " + std::to_string(refusal.status) + " " + Reason(refusal.status) + "\r\n";
  for (const auto& headers : {ReplyHeaders(), res.headers})
    for (const auto& [name, value] : headers) reply += name + ": " + value + "\r\n";
  reply += "Content-Length: " + std::to_string(res.body.size()) + "\r\nConnection: close\r\n\r\n" + res.body;
  RequestStream stream(sock, {}, 0, Clock::now(), writeTimeout);
  for (std::size_t sent = 0; sent < reply.size();) {
    const ssize_t n = stream.write(reply.data() + sent, reply.size() - sent);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

void Linger(int sock) {
  ::shutdown(sock, SHUT_WR);
  const auto end = Clock::now() + kLingerTime;
  std::array<char, 16384> dropped;
  for (std::size_t total = 0; total < kLingerBytes;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
    pollfd watch{sock, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&watch, 1, static_cast<int>(std::min(left, kLingerIdle).count())) <= 0)
      return;
    const ssize_t n = ::recv(sock, dropped.data(), dropped.size(), MSG_DONTWAIT);
    if (n <= 0 && !(n < 0 && (errno == EINTR || errno == EAGAIN))) return;
    if (n > 0) total += static_cast<std::size_t>(n);
  }
}

}  // namespace

HttpServer::HttpServer(const HeadLimits& limits, std::chrono::milliseconds readTimeout,
                       std::chrono::milliseconds writeTimeout)
    : limits_(limits), readTimeout_(readTimeout), writeTimeout_(writeTimeout) {
  // The library's own check of a declared length, behind the stream's.
  set_payload_max_length(limits.maxBody);
}

bool HttpServer::WidenBacklog() { return ::listen(svr_sock_, kBacklog) == 0; }

bool HttpServer::process_and_close_socket(socket_t sock) {
  const auto deadline = Clock::now() + readTimeout_;
  RequestHead head(limits_);
  const HeadEnd end = ReceiveHead(sock, head, deadline);
  bool served = false;
  if (head.Complete()) {
    RequestStream stream(sock, head.Received(), head.HeadSize() + head.BodyLength(), deadline, writeTimeout_);
    bool closed = false;
    served = process_request(stream, true, closed, nullptr);
    ::shutdown(sock, SHUT_RDWR);
  } else if (head.Refused() || (end == HeadEnd::kTimedOut && !head.Received().empty())) {
    SendRefusal(sock,
                head.Refused().value_or(Refusal{408, "the request did not arrive within " +
                                                         std::to_string(readTimeout_.count() / 1000) + " s"}),
                writeTimeout_);
    Linger(sock);
  }
  ::close(sock);
  return served;
}

}  // namespace orvella::web

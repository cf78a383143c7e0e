#include "app/web/request_stream.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvella::web {
namespace {

void SocketAddress(int sock, bool peer, std::string& ip, int& port) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  if ((peer ? ::getpeername(sock, raw, &length) : ::getsockname(sock, raw, &length)) != 0) return;
  char host[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (::getnameinfo(raw, length, host, sizeof host, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return;
  ip = host;
  port = std::atoi(service);
}

}  // namespace

RequestStream::RequestStream(int sock, std::string request, std::chrono::milliseconds writeTimeout)
    : sock_(sock), request_(std::move(request)), writeTimeout_(writeTimeout) {}

bool RequestStream::WaitWritable(Clock::time_point deadline) const {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd watch{sock_, POLLOUT, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left, 60'000)));
    if (ready > 0) return (watch.revents & (POLLERR | POLLNVAL | POLLHUP)) == 0;
    if (ready < 0 && errno != EINTR) return false;
  }
}

bool RequestStream::is_readable() const { return offset_ < request_.size(); }

bool RequestStream::is_writable() const { return WaitWritable(Clock::now() + writeTimeout_); }

// The end of the request is the end of the stream, whatever follows it.
ssize_t RequestStream::read(char* ptr, size_t size) {
  const std::size_t n = std::min(size, request_.size() - offset_);
  std::memcpy(ptr, request_.data() + offset_, n);
  offset_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t RequestStream::write(const char* ptr, size_t size) {
  const auto deadline = Clock::now() + writeTimeout_;
  for (;;) {
    if (!WaitWritable(deadline)) return -1;
    const ssize_t n = ::send(sock_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0 || (errno != EINTR && errno != EAGAIN)) return n;
  }
}

void RequestStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  SocketAddress(sock_, true, ip, port);
}

void RequestStream::get_local_ip_and_port(std::string& ip, int& port) const {
  SocketAddress(sock_, false, ip, port);
}

}  // namespace orvella::web

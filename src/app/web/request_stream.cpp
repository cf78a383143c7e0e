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

RequestStream::RequestStream(int sock, std::string received, std::size_t readable,
                             Clock::time_point readDeadline, std::chrono::milliseconds writeTimeout)
    : sock_(sock),
      received_(std::move(received)),
      left_(readable),
      readDeadline_(readDeadline),
      writeTimeout_(writeTimeout) {}

bool RequestStream::Wait(short events, Clock::time_point deadline) const {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd watch{sock_, events, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left, 60'000)));
    if (ready > 0) return (watch.revents & (POLLERR | POLLNVAL)) == 0;
    if (ready < 0 && errno != EINTR) return false;
  }
}

bool RequestStream::is_readable() const {
  return left_ > 0 && (offset_ < received_.size() || Wait(POLLIN, readDeadline_));
}

bool RequestStream::is_writable() const { return Wait(POLLOUT, Clock::now() + writeTimeout_); }

ssize_t RequestStream::read(char* ptr, size_t size) {
  size = std::min(size, left_);
  if (size == 0) return 0;  // the declared body has been read: the end, whatever follows
  ssize_t n = 0;
  if (offset_ < received_.size()) {
    n = static_cast<ssize_t>(std::min(size, received_.size() - offset_));
    std::memcpy(ptr, received_.data() + offset_, static_cast<size_t>(n));
    offset_ += static_cast<size_t>(n);
  } else {
    do {
      if (!Wait(POLLIN, readDeadline_)) return -1;
      n = ::recv(sock_, ptr, size, MSG_DONTWAIT);
    } while (n < 0 && (errno == EINTR || errno == EAGAIN));
    if (n <= 0) return n;
  }
  left_ -= static_cast<size_t>(n);
  return n;
}

ssize_t RequestStream::write(const char* ptr, size_t size) {
  const auto deadline = Clock::now() + writeTimeout_;
  for (;;) {
    if (!Wait(POLLOUT, deadline)) return -1;
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

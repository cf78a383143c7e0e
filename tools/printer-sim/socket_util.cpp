#include "socket_util.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace orvella::sim {
namespace {

constexpr auto kSlice = std::chrono::milliseconds(100);

UniqueFd BindSocket(int type, const in_addr& address, std::uint16_t port, std::string& error) {
  UniqueFd fd(socket(AF_INET, type | SOCK_CLOEXEC, 0));
  if (!fd) {
    error = std::string("socket: ") + std::strerror(errno);
    return {};
  }
  // A TCP listener may rebind while connections of an earlier run linger in
  // TIME_WAIT. On UDP the same option would let another process bind the port
  // too and take part of the datagrams, so the SNMP port is held alone.
  if (type == SOCK_STREAM) {
    int one = 1;
    setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  }
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_addr = address;
  endpoint.sin_port = htons(port);
  if (bind(fd.Get(), reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) != 0) {
    error = "bind " + EndpointText(endpoint) + ": " + std::strerror(errno);
    return {};
  }
  return fd;
}

}  // namespace

bool ParseIpv4(const std::string& text, in_addr& out) { return inet_pton(AF_INET, text.c_str(), &out) == 1; }

std::string AddressText(const in_addr& address) {
  char buf[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address, buf, sizeof buf);
  return buf;
}

std::string EndpointText(const sockaddr_in& endpoint) {
  return AddressText(endpoint.sin_addr) + ":" + std::to_string(ntohs(endpoint.sin_port));
}

UniqueFd BindTcpListener(const in_addr& address, std::uint16_t port, std::string& error) {
  UniqueFd fd = BindSocket(SOCK_STREAM, address, port, error);
  if (fd && listen(fd.Get(), 16) != 0) {
    error = std::string("listen: ") + std::strerror(errno);
    return {};
  }
  return fd;
}

UniqueFd BindUdp(const in_addr& address, std::uint16_t port, std::string& error) {
  return BindSocket(SOCK_DGRAM, address, port, error);
}

sockaddr_in LocalEndpoint(int fd) {
  sockaddr_in endpoint{};
  socklen_t size = sizeof endpoint;
  getsockname(fd, reinterpret_cast<sockaddr*>(&endpoint), &size);
  return endpoint;
}

WaitResult WaitFd(int fd, short events, const std::atomic<bool>& stop, Clock::time_point deadline) {
  for (;;) {
    if (stop) return WaitResult::Stopped;
    const auto now = Clock::now();
    if (now >= deadline) return WaitResult::TimedOut;
    const auto slice = std::min<Clock::duration>(kSlice, deadline - now);
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(slice).count()));
    if (n > 0) return WaitResult::Ready;
    if (n < 0 && errno != EINTR) return WaitResult::Ready;  // let the following call report the error
  }
}

bool SendAll(int fd, const char* data, std::size_t size, const std::atomic<bool>& stop,
             Clock::time_point deadline) {
  while (size > 0) {
    if (WaitFd(fd, POLLOUT, stop, deadline) != WaitResult::Ready) return false;
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void SleepUntil(Clock::time_point deadline, const std::atomic<bool>& stop) {
  while (!stop) {
    const auto now = Clock::now();
    if (now >= deadline) return;
    std::this_thread::sleep_for(std::min<Clock::duration>(kSlice, deadline - now));
  }
}

void AbortiveClose(UniqueFd& fd) {
  if (!fd) return;
  linger hard{1, 0};
  setsockopt(fd.Get(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  fd.Reset();
}

}  // namespace orvella::sim

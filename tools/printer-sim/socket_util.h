#pragma once
// Small POSIX socket helpers for the simulator. Every wait is bounded and
// wakes at least every 100 ms to notice the stop flag.
#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvella::sim {

using Clock = std::chrono::steady_clock;

// Owns one file descriptor.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset(int fd = -1);

 private:
  int fd_ = -1;
};

// Dotted IPv4 text to an address; false unless it is four numbers 0 to 255.
bool ParseIpv4(const std::string& text, in_addr& out);
std::string AddressText(const in_addr& address);
std::string EndpointText(const sockaddr_in& endpoint);  // "a.b.c.d:port"

// Listening TCP socket or bound UDP socket on address:port (port 0 = any free port).
// Either fails when another socket holds the port; the UDP port is never shared.
Fd BindTcpListener(const in_addr& address, std::uint16_t port, std::string& error);
Fd BindUdp(const in_addr& address, std::uint16_t port, std::string& error);
sockaddr_in LocalEndpoint(int fd);

enum class WaitResult { Ready, Stopped, TimedOut };

// Waits until fd has one of events, the stop flag is set or the deadline passes.
WaitResult WaitFd(int fd, short events, const std::atomic<bool>& stop, Clock::time_point deadline);

// Sends all of data; false on error, stop or deadline.
bool SendAll(int fd, const char* data, std::size_t size, const std::atomic<bool>& stop,
             Clock::time_point deadline);

// Sleeps until the deadline or until the stop flag is set.
void SleepUntil(Clock::time_point deadline, const std::atomic<bool>& stop);

// Closes with a reset instead of an orderly shutdown: a dropped line.
void AbortiveClose(Fd& fd);

}  // namespace orvella::sim

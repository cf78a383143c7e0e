#pragma once
// Small POSIX socket helpers for the simulator. Every wait is bounded and
// wakes at least every 100 ms to notice the stop flag.
#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/unique_fd.h"

namespace orvella::sim {

using Clock = std::chrono::steady_clock;

using base::UniqueFd;

// Dotted IPv4 text to an address; false unless it is four numbers 0 to 255.
bool ParseIpv4(const std::string& text, in_addr& out);
std::string AddressText(const in_addr& address);
std::string EndpointText(const sockaddr_in& endpoint);  // "a.b.c.d:port"

// Listening TCP socket or bound UDP socket on address:port (port 0 = any free port).
// Either fails when another socket holds the port; the UDP port is never shared.
UniqueFd BindTcpListener(const in_addr& address, std::uint16_t port, std::string& error);
UniqueFd BindUdp(const in_addr& address, std::uint16_t port, std::string& error);
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
void AbortiveClose(UniqueFd& fd);

}  // namespace orvella::sim

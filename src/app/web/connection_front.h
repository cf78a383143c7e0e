#pragma once
// Where every connection of the status page waits until its request has
// arrived whole: one thread with one epoll set holds them all, each under a
// deadline counted from its accept, so a client that connects and sends
// slowly or nothing costs a descriptor and a few bytes, never a worker
// thread. A request that arrived whole (head and declared body) is handed
// on; one refused on its head, or cut off by the deadline, is answered and
// closed here. One address holds only a few connections at once: beyond
// that a new one is closed at once.
#include <chrono>
#include <functional>
#include <memory>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/web/address_slots.h"
#include "app/web/listen_address.h"
#include "app/web/request_head.h"
#include "base/unique_fd.h"

namespace orvella::web {

struct FrontLimits {
  HeadLimits head;
  std::chrono::milliseconds arrival;  // head and body within this of the accept
  std::size_t perAddress;
};

// A request that arrived whole, and its connection.
struct ArrivedRequest {
  std::unique_ptr<HeldConnection> connection;
  RequestHead head;
};

class ConnectionFront {
 public:
  using Clock = std::chrono::steady_clock;
  using Deliver = std::function<void(std::unique_ptr<ArrivedRequest>)>;

  explicit ConnectionFront(const FrontLimits& limits);
  ~ConnectionFront();
  ConnectionFront(const ConnectionFront&) = delete;
  ConnectionFront& operator=(const ConnectionFront&) = delete;

  // Binds and listens; false when the address cannot be bound.
  bool Listen(const ListenAddress& address);
  int ListeningSocket() const { return listener_.Get(); }
  // Accepts and receives until Stop(), handing each whole request to deliver
  // on this thread.
  void Run(const Deliver& deliver);
  // From any thread: Run returns soon, closing every connection it holds.
  void Stop();

 private:
  struct Waiting {
    std::unique_ptr<HeldConnection> connection;
    RequestHead head;
    Clock::time_point deadline;
    std::uint64_t serial = 0;
    bool lingering = false;  // refused: what still comes is read and dropped
    std::size_t dropped = 0;
  };
  struct Due {
    Clock::time_point when;
    int sock;
    std::uint64_t serial;
    bool operator>(const Due& other) const { return when > other.when; }
  };

  void Accept();
  void Receive(int sock, const Deliver& deliver);
  void Drain(Waiting& waiting);
  void Refuse(Waiting& waiting, const Refusal& refusal);
  void Expire(Clock::time_point now);
  void Forget(int sock);
  void WatchListener(bool on);
  int Timeout(Clock::time_point now) const;

  FrontLimits limits_;
  std::shared_ptr<AddressSlots> slots_;
  base::UniqueFd listener_;
  base::UniqueFd epoll_;
  base::UniqueFd wake_;
  std::unordered_map<int, Waiting> waiting_;
  std::priority_queue<Due, std::vector<Due>, std::greater<>> due_;
  std::uint64_t serial_ = 0;
  // Accepting pauses for a moment when the process is out of descriptors,
  // instead of spinning on a listener that stays readable.
  std::optional<Clock::time_point> pausedUntil_;
};

}  // namespace orvella::web

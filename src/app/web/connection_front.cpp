#include "app/web/connection_front.h"

#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "app/web/http_reply.h"

namespace orvella::web {
namespace {

using namespace std::chrono_literals;

constexpr int kBacklog = 512;
constexpr int kEvents = 256;
// After a refusal, what the client still sends is read and dropped for a
// while, so that closing does not reset the connection before the client has
// read why (a reset can discard the reply on its way).
constexpr auto kLingerTime = 1s;
constexpr std::size_t kLingerBytes = 4 * 1024 * 1024;
constexpr auto kAcceptPause = 100ms;

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

// The refusal as the page's other errors look.
std::string RefusalReply(const Refusal& refusal) {
  httplib::Response res;
  ReplyError(res, refusal.status, refusal.why);
  std::string reply = "HTTP/1.1 " + std::to_string(refusal.status) + " " + Reason(refusal.status) + "\r\n";
  for (const auto& headers : {ReplyHeaders(), res.headers})
    for (const auto& [name, value] : headers) reply += name + ": " + value + "\r\n";
  return reply + "Content-Length: " + std::to_string(res.body.size()) + "\r\nConnection: close\r\n\r\n" +
         res.body;
}

std::string PeerAddress(const sockaddr_storage& address, socklen_t length) {
  char host[NI_MAXHOST];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, nullptr, 0,
                    NI_NUMERICHOST) != 0)
    return "?";
  return host;
}

bool Interrupted() { return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK; }

}  // namespace

ConnectionFront::ConnectionFront(const FrontLimits& limits)
    : limits_(limits),
      slots_(std::make_shared<AddressSlots>(limits.perAddress)),
      epoll_(::epoll_create1(EPOLL_CLOEXEC)),
      wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ConnectionFront::~ConnectionFront() = default;

bool ConnectionFront::Listen(const ListenAddress& address) {
  if (!epoll_ || !wake_) return false;
  addrinfo hints{};
  hints.ai_family = address.host.find(':') != std::string::npos ? AF_INET6 : AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (::getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found) != 0)
    return false;
  for (const addrinfo* at = found; at && !listener_; at = at->ai_next) {
    base::UniqueFd sock(::socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    // SO_REUSEADDR for a quick restart, but not SO_REUSEPORT, which would let
    // a second process bind the same port and take half the requests.
    const int yes = 1;
    if (sock && ::setsockopt(sock.Get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
        ::bind(sock.Get(), at->ai_addr, at->ai_addrlen) == 0 && ::listen(sock.Get(), kBacklog) == 0)
      listener_ = std::move(sock);
  }
  ::freeaddrinfo(found);
  if (!listener_) return false;
  epoll_event wake{EPOLLIN, {.fd = wake_.Get()}};
  epoll_event listen{EPOLLIN, {.fd = listener_.Get()}};
  return ::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, wake_.Get(), &wake) == 0 &&
         ::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, listener_.Get(), &listen) == 0;
}

void ConnectionFront::Stop() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wake_.Get(), &one, sizeof one);
}

void ConnectionFront::Run(const Deliver& deliver) {
  std::array<epoll_event, kEvents> events;
  for (;;) {
    const int ready = ::epoll_wait(epoll_.Get(), events.data(), kEvents, Timeout(Clock::now()));
    if (ready < 0 && errno != EINTR) break;
    bool stopping = false;
    for (int i = 0; i < ready; ++i) {
      const int sock = events[static_cast<std::size_t>(i)].data.fd;
      if (sock == wake_.Get()) {
        stopping = true;
      } else if (sock == listener_.Get()) {
        Accept();
      } else {
        Receive(sock, deliver);
      }
    }
    if (stopping) break;
    const auto now = Clock::now();
    Expire(now);
    if (pausedUntil_ && now >= *pausedUntil_) WatchListener(true);
  }
  waiting_.clear();
}

void ConnectionFront::Accept() {
  for (;;) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int sock = ::accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length,
                               SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (sock < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) WatchListener(false);
      return;
    }
    std::string peer = PeerAddress(address, length);
    if (!slots_->Take(peer)) {
      ::close(sock);
      continue;
    }
    Waiting waiting{std::make_unique<HeldConnection>(sock, std::move(peer), slots_),
                    RequestHead(limits_.head), Clock::now() + limits_.arrival, ++serial_};
    epoll_event watch{EPOLLIN | EPOLLRDHUP, {.fd = sock}};
    if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, sock, &watch) != 0) continue;  // closed with waiting
    due_.push({waiting.deadline, sock, waiting.serial});
    waiting_.insert_or_assign(sock, std::move(waiting));
  }
}

void ConnectionFront::Receive(int sock, const Deliver& deliver) {
  const auto found = waiting_.find(sock);
  if (found == waiting_.end()) return;
  Waiting& waiting = found->second;
  if (waiting.lingering) return Drain(waiting);
  RequestHead& head = waiting.head;
  std::array<char, 16384> buffer;
  for (;;) {
    const std::size_t room = head.Complete() ? head.BodyMissing() : head.Room();
    if (room == 0) break;
    const ssize_t n = ::recv(sock, buffer.data(), std::min(buffer.size(), room), 0);
    if (n < 0 && Interrupted()) return;
    // Gone before the request was whole: nobody to answer.
    if (n <= 0) return Forget(sock);
    head.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  if (head.Refused()) return Refuse(waiting, *head.Refused());
  auto arrived =
      std::make_unique<ArrivedRequest>(ArrivedRequest{std::move(waiting.connection), std::move(head)});
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, sock, nullptr);
  waiting_.erase(found);
  deliver(std::move(arrived));
}

// Written at once or not at all: the reply is far smaller than any socket's
// send buffer.
void ConnectionFront::Refuse(Waiting& waiting, const Refusal& refusal) {
  const int sock = waiting.connection->Socket();
  const std::string reply = RefusalReply(refusal);
  if (::send(sock, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT) !=
      static_cast<ssize_t>(reply.size()))
    return Forget(sock);
  ::shutdown(sock, SHUT_WR);
  waiting.lingering = true;
  waiting.deadline = Clock::now() + kLingerTime;
  due_.push({waiting.deadline, sock, waiting.serial});
  Drain(waiting);
}

void ConnectionFront::Drain(Waiting& waiting) {
  const int sock = waiting.connection->Socket();
  std::array<char, 16384> dropped;
  while (waiting.dropped < kLingerBytes) {
    const ssize_t n = ::recv(sock, dropped.data(), dropped.size(), 0);
    if (n < 0 && Interrupted()) return;
    if (n <= 0) break;
    waiting.dropped += static_cast<std::size_t>(n);
  }
  Forget(sock);
}

void ConnectionFront::Expire(Clock::time_point now) {
  while (!due_.empty() && due_.top().when <= now) {
    const Due due = due_.top();
    due_.pop();
    const auto found = waiting_.find(due.sock);
    if (found == waiting_.end() || found->second.serial != due.serial || found->second.deadline != due.when)
      continue;
    Waiting& waiting = found->second;
    // A connection that sent nothing (a browser's spare one) is closed
    // without a word.
    if (waiting.lingering || waiting.head.Received().empty()) {
      Forget(due.sock);
    } else {
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits_.arrival).count();
      Refuse(waiting, Refusal{408, std::string(waiting.head.Complete() ? "the body" : "the request's head") +
                                       " did not arrive within " + std::to_string(seconds) + " s"});
    }
  }
}

void ConnectionFront::Forget(int sock) {
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, sock, nullptr);
  waiting_.erase(sock);
}

void ConnectionFront::WatchListener(bool on) {
  epoll_event watch{on ? static_cast<std::uint32_t>(EPOLLIN) : 0u, {.fd = listener_.Get()}};
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_MOD, listener_.Get(), &watch);
  pausedUntil_ = on ? std::nullopt : std::optional(Clock::now() + kAcceptPause);
}

int ConnectionFront::Timeout(Clock::time_point now) const {
  std::optional<Clock::time_point> next = pausedUntil_;
  if (!due_.empty() && (!next || due_.top().when < *next)) next = due_.top().when;
  if (!next) return -1;
  return static_cast<int>(
      std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(*next - now).count()));
}

}  // namespace orvella::web

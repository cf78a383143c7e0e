// orvella-netsend [--port P] ADDRESS MESSAGE
//   sends MESSAGE (UTF-8) to ADDRESS as one UDP datagram.
// orvella-netsend --listen [--address A] [--port P] [--from ADDR]... [--count N] [--seconds S]
//   prints each notice received: "notice from ADDR at TIME (N bytes)", the
//   text, and a line "." after it. --from (repeatable) accepts only those
//   senders; --count and --seconds end the listener after so many notices or
//   so long. Where a desktop session runs (DBUS_SESSION_BUS_ADDRESS), each
//   notice also pops up there through notify-send.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/unique_fd.h"

namespace {

constexpr int kDefaultPort = 5151;  // the port the print server sends to
constexpr size_t kMaxNotice = 65507;

int Usage() {
  std::cerr << "usage: orvella-netsend [--port P] ADDRESS MESSAGE\n"
               "       orvella-netsend --listen [--address A] [--port P] [--from ADDR]... "
               "[--count N] [--seconds S]\n";
  return 2;
}

std::optional<in_addr> ParseAddress(const std::string& text) {
  in_addr address{};
  if (::inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return address;
}

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max) return std::nullopt;
  return value;
}

int Send(const std::string& address, int port, const std::string& message) {
  const auto to = ParseAddress(address);
  if (!to) {
    std::cerr << "orvella-netsend: not an IPv4 address: " << address << "\n";
    return 2;
  }
  if (message.size() > kMaxNotice) {
    std::cerr << "orvella-netsend: message longer than one datagram\n";
    return 1;
  }
  orvella::base::UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<uint16_t>(port));
  target.sin_addr = *to;
  if (!fd || ::sendto(fd.Get(), message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&target),
                      sizeof target) != static_cast<ssize_t>(message.size())) {
    std::cerr << "orvella-netsend: cannot send to " << address << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  return 0;
}

// Notification daemons take the body as markup: a notice shows its text as
// it came, never a link or formatting that a sender slipped in.
std::string EscapeMarkup(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// A desktop notification of the notice, where a session bus is there to take
// it, titled with the sender's address: anyone on the network can send a
// datagram to this port. notify-send gets the text as one argument (never
// through a shell) and is left to itself: no pop-up means no more than the
// printed line.
void ShowOnDesktop(const std::string& sender, const char* text, size_t length) {
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!bus || !*bus) return;
  std::string program = "notify-send", endOfOptions = "--", title = "Orvella (" + sender + ")";
  std::string body = EscapeMarkup(std::string_view(text, length));
  char* argv[] = {program.data(), endOfOptions.data(), title.data(), body.data(), nullptr};
  pid_t pid = 0;
  ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ);
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

int Listen(const std::string& address, int port, const std::set<std::string>& from, long count,
           long seconds) {
  const auto at = ParseAddress(address);
  if (!at) {
    std::cerr << "orvella-netsend: not an IPv4 address: " << address << "\n";
    return 2;
  }
  orvella::base::UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<uint16_t>(port));
  local.sin_addr = *at;
  socklen_t length = sizeof local;
  if (!fd || ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    std::cerr << "orvella-netsend: cannot listen on " << address << ":" << port << ": "
              << std::strerror(errno) << "\n";
    return 1;
  }
  std::cout << "listening on " << address << ":" << ntohs(local.sin_port) << std::endl;
  // The desktop pop-ups are never waited for: their processes are reaped by the system.
  ::signal(SIGCHLD, SIG_IGN);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::vector<char> buffer(kMaxNotice + 1);
  for (long received = 0; count == 0 || received < count;) {
    int waitMs = -1;
    if (seconds > 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      waitMs = static_cast<int>(left.count());
    }
    pollfd poll{fd.Get(), POLLIN, 0};
    const int ready = ::poll(&poll, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const ssize_t n = ::recvfrom(fd.Get(), buffer.data(), buffer.size(), 0,
                                 reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (n < 0) continue;
    char senderText[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &sender.sin_addr, senderText, sizeof senderText);
    if (!from.empty() && from.count(senderText) == 0) continue;
    std::cout << "notice from " << senderText << " at " << Now() << " (" << n << " bytes)\n";
    std::cout.write(buffer.data(), n);
    std::cout << "\n." << std::endl;
    ShowOnDesktop(senderText, buffer.data(), static_cast<size_t>(n));
    ++received;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  bool listen = false;
  std::string address = "127.0.0.1";
  long port = kDefaultPort, count = 0, seconds = 0;
  std::set<std::string> from;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--listen") {
      listen = true;
    } else if ((a == "--port" || a == "--count" || a == "--seconds") && hasValue) {
      const auto value = ParseNumber(args[++i], a == "--port" ? 0 : 1, a == "--port" ? 65535 : 1L << 30);
      if (!value) return Usage();
      (a == "--port" ? port : a == "--count" ? count : seconds) = *value;
    } else if (a == "--address" && hasValue) {
      address = args[++i];
    } else if (a == "--from" && hasValue) {
      if (!ParseAddress(args[++i])) return Usage();
      from.insert(args[i]);
    } else if (a == "--") {
      words.insert(words.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.rfind("--", 0) == 0) {
      return Usage();
    } else {
      words.push_back(a);
    }
  }
  if (listen) return words.empty() ? Listen(address, static_cast<int>(port), from, count, seconds) : Usage();
  if (words.size() != 2 || port == 0) return Usage();
  return Send(words[0], static_cast<int>(port), words[1]);
}

#pragma once
// Where the status page listens: "ADDR:PORT" as --http takes it.
#include <optional>
#include <string>
#include <string_view>

namespace orvella::web {

inline constexpr const char* kDefaultListenAddress = "127.0.0.1:8631";

struct ListenAddress {
  std::string host;  // an IPv4 address, "localhost", or an IPv6 address without brackets
  int port = 0;
  // Only this machine can reach it (127.0.0.0/8, ::1, localhost).
  bool Loopback() const;
  std::string Text() const;
};

// nullopt (with why) for anything but HOST:PORT with a port from 1 to 65535;
// an IPv6 host goes in brackets ("[::1]:8631").
std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& why);

}  // namespace orvella::web

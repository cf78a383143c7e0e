#include "app/web/listen_address.h"

#include <arpa/inet.h>

#include <charconv>

namespace orvella::web {

bool ListenAddress::Loopback() const {
  if (host == "localhost" || host == "::1") return true;
  in_addr ipv4{};
  return ::inet_pton(AF_INET, host.c_str(), &ipv4) == 1 && (ntohl(ipv4.s_addr) >> 24) == 127;
}

std::string ListenAddress::Text() const {
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& why) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) {
    why = "expected ADDR:PORT, got '" + std::string(text) + "'";
    return std::nullopt;
  }
  std::string_view host = text.substr(0, colon);
  const std::string_view portText = text.substr(colon + 1);
  ListenAddress address;
  const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), address.port);
  if (ec != std::errc() || end != portText.data() + portText.size() || address.port < 1 ||
      address.port > 65535) {
    why = "port must be a number from 1 to 65535, got '" + std::string(portText) + "'";
    return std::nullopt;
  }
  const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
  if (bracketed) host = host.substr(1, host.size() - 2);
  address.host = host;
  in_addr ipv4{};
  in6_addr ipv6{};
  const bool valid = address.host == "localhost" ||
                     (!bracketed && ::inet_pton(AF_INET, address.host.c_str(), &ipv4) == 1) ||
                     (bracketed && ::inet_pton(AF_INET6, address.host.c_str(), &ipv6) == 1);
  if (!valid) {
    why = "'" + std::string(host) + "' is not an IPv4 address, [IPv6] address or localhost";
    return std::nullopt;
  }
  return address;
}

}  // namespace orvella::web

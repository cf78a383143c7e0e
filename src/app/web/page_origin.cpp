#include "app/web/page_origin.h"

#include <strings.h>

#include <algorithm>

namespace orvella::web {
namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// An IPv6 address as it stands in a Host header.
std::string HostName(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

PageOrigin::PageOrigin(const ListenAddress& address, std::vector<std::string> names)
    : port_(address.port), names_(std::move(names)) {
  names_.push_back(HostName(address.host));
  names_.emplace_back("localhost");
}

bool PageOrigin::HostAllowed(std::string_view host, std::string_view localAddress) const {
  std::string_view name = host;
  // The port, if any, follows the last colon after a closing bracket.
  const std::size_t colon = host.rfind(':');
  const std::size_t bracket = host.rfind(']');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    if (host.substr(colon + 1) != std::to_string(port_)) return false;
    name = host.substr(0, colon);
  }
  if (name.empty()) return false;
  if (!localAddress.empty() && SameText(name, HostName(std::string(localAddress)))) return true;
  return std::any_of(names_.begin(), names_.end(),
                     [name](const std::string& allowed) { return SameText(name, allowed); });
}

bool PageOrigin::SameOrigin(std::string_view origin, std::string_view host) {
  constexpr std::string_view kScheme = "http://";
  return origin.size() == kScheme.size() + host.size() &&
         SameText(origin.substr(0, kScheme.size()), kScheme) && SameText(origin.substr(kScheme.size()), host);
}

}  // namespace orvella::web

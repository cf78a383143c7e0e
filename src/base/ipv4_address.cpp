#include "base/ipv4_address.h"

namespace orvella::base {

Ipv4Address ParseIpv4Address(std::string_view text) {
  Ipv4Address out{};
  size_t i = 0;
  for (size_t part = 0; part < out.size(); ++part) {
    if (part > 0) {
      if (i >= text.size() || text[i] != '.') return {};
      ++i;
    }
    size_t digits = 0;
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
      value = value * 10 + (text[i] - '0');
      if (value > 255) return {};
    }
    if (digits == 0) return {};
    out[part] = static_cast<uint8_t>(value);
  }
  return i == text.size() ? out : Ipv4Address{};
}

std::string FormatIpv4Address(const Ipv4Address& address) {
  std::string out;
  for (size_t i = 0; i < address.size(); ++i) {
    if (i > 0) out += '.';
    out += std::to_string(address[i]);
  }
  return out;
}

}  // namespace orvella::base

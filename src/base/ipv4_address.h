#pragma once
// IPv4 addresses as the settings files hold them: "%d.%d.%d.%d".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella::base {

using Ipv4Address = std::array<uint8_t, 4>;

// Exactly four decimal numbers from 0 to 255 separated by dots; anything
// else is 0.0.0.0.
Ipv4Address ParseIpv4Address(std::string_view text);
std::string FormatIpv4Address(const Ipv4Address& address);
inline bool IsZeroAddress(const Ipv4Address& address) { return address == Ipv4Address{}; }
// An address one machine can have: not 0.x.x.x ("this host", also what an
// unreadable address reads as), not multicast, reserved or broadcast
// (224.0.0.0 and above).
inline bool IsUnicastAddress(const Ipv4Address& address) { return address[0] != 0 && address[0] < 224; }

}  // namespace orvella::base

#include "base/ipv4_address.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvella::base {
namespace {

TEST(Ipv4Address, ParsesOnlyFourNumbersUpTo255) {
  const std::pair<const char*, Ipv4Address> cases[] = {
      {"192.168.1.20", {192, 168, 1, 20}},
      {"0.0.0.0", {0, 0, 0, 0}},
      {"255.255.255.255", {255, 255, 255, 255}},
      {"192.168.1.256", {}},
      {"10.0.0", {}},
      {"1.2.3.4.5", {}},
      {"1..3.4", {}},
      {"a.b.c.d", {}},
      {"", {}},
      {"-1.2.3.4", {}},
      {"1.2.3.4x", {}},
      {"010.001.000.009", {10, 1, 0, 9}},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(ParseIpv4Address(text), want) << text;
  EXPECT_EQ(FormatIpv4Address({10, 0, 255, 7}), "10.0.255.7");
}

TEST(Ipv4Address, UnicastMeansOneMachine) {
  const std::pair<Ipv4Address, bool> cases[] = {
      {{0, 0, 0, 0}, false},   {{0, 9, 9, 9}, false},         {{1, 0, 0, 0}, true},
      {{127, 0, 0, 1}, true},  {{223, 255, 255, 254}, true},  {{224, 0, 0, 1}, false},
      {{239, 1, 2, 3}, false}, {{255, 255, 255, 255}, false},
  };
  for (const auto& [address, unicast] : cases)
    EXPECT_EQ(IsUnicastAddress(address), unicast) << FormatIpv4Address(address);
}

}  // namespace
}  // namespace orvella::base

#include "app/web/listen_address.h"

#include <gtest/gtest.h>

namespace orvella::web {
namespace {

TEST(ListenAddressTest, TakesHostColonPortAndKnowsLoopback) {
  struct Case {
    const char* text;
    const char* host;
    int port;
    bool loopback;
  };
  for (const Case& c :
       {Case{"127.0.0.1:8631", "127.0.0.1", 8631, true}, Case{"127.8.9.10:1", "127.8.9.10", 1, true},
        Case{"localhost:65535", "localhost", 65535, true}, Case{"[::1]:8631", "::1", 8631, true},
        Case{"0.0.0.0:8631", "0.0.0.0", 8631, false}, Case{"192.0.2.7:80", "192.0.2.7", 80, false},
        Case{"[::]:8631", "::", 8631, false}}) {
    std::string why;
    const auto address = ParseListenAddress(c.text, why);
    ASSERT_TRUE(address) << c.text << ": " << why;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
    EXPECT_EQ(address->Loopback(), c.loopback) << c.text;
    EXPECT_EQ(address->Text(), c.text);
  }
}

TEST(ListenAddressTest, RefusesAnythingElse) {
  for (const char* text :
       {"8631", ":8631", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:80x", "127.0.0.1:-1",
        "::1:8631", "printers.example:80", "127.0.0.256:80", "[127.0.0.1]:80"}) {
    std::string why;
    EXPECT_FALSE(ParseListenAddress(text, why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

}  // namespace
}  // namespace orvella::web

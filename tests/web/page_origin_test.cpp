#include "app/web/page_origin.h"

#include <gtest/gtest.h>

namespace orvella::web {
namespace {

// The Host headers a page on 0.0.0.0:8631 and one on [::1]:8631 answer to:
// their names with no port or their own, and the address a request reached.
TEST(PageOrigin, HostsAnsweredTo) {
  const PageOrigin any(ListenAddress{"0.0.0.0", 8631}, {"plots.example"});
  const PageOrigin ipv6(ListenAddress{"::1", 8631}, {});
  struct Case {
    const PageOrigin& page;
    const char* host;
    const char* local;
    bool allowed;
  };
  const Case cases[] = {
      {any, "192.0.2.7:8631", "192.0.2.7", true},
      {any, "192.0.2.7", "192.0.2.7", true},
      {any, "192.0.2.8:8631", "192.0.2.7", false},
      {any, "PLOTS.example:8631", "192.0.2.7", true},
      {any, "plots.example:80", "192.0.2.7", false},
      {any, "plots.example:", "192.0.2.7", false},
      {any, "plots.example.evil:8631", "192.0.2.7", false},
      {any, "localhost:8631", "127.0.0.1", true},
      {any, ":8631", "192.0.2.7", false},
      {ipv6, "[::1]:8631", "::1", true},
      {ipv6, "[::1]", "::1", true},
      {ipv6, "[::1]:8632", "::1", false},
      {ipv6, "::1", "::1", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.page.HostAllowed(c.host, c.local), c.allowed) << c.host;
}

TEST(PageOrigin, OwnOriginIsHttpAndTheHostServed) {
  EXPECT_TRUE(PageOrigin::SameOrigin("http://127.0.0.1:8631", "127.0.0.1:8631"));
  EXPECT_TRUE(PageOrigin::SameOrigin("http://plots.example", "Plots.Example"));
  EXPECT_FALSE(PageOrigin::SameOrigin("https://127.0.0.1:8631", "127.0.0.1:8631"));
  EXPECT_FALSE(PageOrigin::SameOrigin("http://127.0.0.1:8631/", "127.0.0.1:8631"));
  EXPECT_FALSE(PageOrigin::SameOrigin("http://127.0.0.1", "127.0.0.1:8631"));
  EXPECT_FALSE(PageOrigin::SameOrigin("null", "127.0.0.1:8631"));
}

}  // namespace
}  // namespace orvella::web

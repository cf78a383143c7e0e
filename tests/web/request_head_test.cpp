#include "app/web/request_head.h"

#include <gtest/gtest.h>

namespace orvella::web {
namespace {

constexpr HeadLimits kSmall{.maxLine = 64, .maxHead = 256, .maxFields = 4, .maxBody = 100};

// Each head given whole, then byte by byte: the verdict must not depend on
// how the bytes arrive.
TEST(RequestHead, VerdictOnEachHead) {
  struct Case {
    std::string bytes;
    int status;  // 0: complete
    std::uint64_t bodyLength = 0;
  };
  const std::string get = "GET / HTTP/1.1\r\n";
  const std::string post = "POST /api/printers/check HTTP/1.1\r\nHost: x\r\n";
  const Case cases[] = {
      {get + "Host: x\r\n\r\n", 0},
      {"GET / HTTP/1.1\nHost: x\n\n", 0},
      {post + "Content-Length: 11\r\n\r\n{\"name\": 1}", 0, 11},
      {post + "content-length:100\r\n\r\n", 0, 100},
      {post + "Content-Encoding: identity\r\nContent-Length: 0\r\n\r\n", 0},
      {post + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 411},
      {post + "TRANSFER-ENCODING: gzip, chunked\r\n\r\n", 411},
      {post + "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n", 411},
      {post + "Content-Encoding: gzip\r\nContent-Length: 20\r\n\r\n", 415},
      {post + "Content-Length: 101\r\n\r\n", 413},
      {post + "Content-Length: 99999999999999999999999\r\n\r\n", 400},
      {post + "Content-Length: 5\r\nContent-Length: 5\r\n\r\n", 400},
      {post + "Content-Length: -1\r\n\r\n", 400},
      {post + "Content-Length: 1e2\r\n\r\n", 400},
      {post + "Transfer-Encoding : chunked\r\n\r\n", 400},
      {post + "X: y\r\n Transfer-Encoding: chunked\r\n\r\n", 400},
      {post + "no colon\r\n\r\n", 400},
      {"\r\n", 400},
      {"GET /" + std::string(64, 'a') + " HTTP/1.1\r\n\r\n", 414},
      {get + "X-Long: " + std::string(57, 'a') + "\r\n\r\n", 431},
      {get + "X-Long: " + std::string(56, 'a') + "\r\n\r\n", 0},
      {get + "A: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\nE: 5\r\n\r\n", 431},
      {get + "A: " + std::string(60, 'a') + "\r\nB: " + std::string(60, 'b') +
           "\r\nC: " + std::string(60, 'c') + "\r\nD: " + std::string(60, 'd') + "\r\n\r\n",
       431},
  };
  for (const Case& c : cases) {
    for (const bool byByte : {false, true}) {
      RequestHead head(kSmall);
      if (byByte) {
        for (std::size_t i = 0; i < c.bytes.size() && head.Room() > 0; ++i) head.Add(c.bytes.substr(i, 1));
      } else {
        head.Add(c.bytes.substr(0, std::min(c.bytes.size(), head.Room())));
      }
      SCOPED_TRACE(c.bytes.substr(0, 80) + (byByte ? " (by byte)" : ""));
      ASSERT_TRUE(head.Done());
      EXPECT_EQ(head.Refused() ? head.Refused()->status : 0, c.status)
          << head.Refused().value_or(Refusal{}).why;
      if (c.status == 0) {
        EXPECT_EQ(head.BodyLength(), c.bodyLength);
        // Whole, the body's start comes with the head; by byte, reading stops at the head's end.
        EXPECT_EQ(head.Received(), byByte ? c.bytes.substr(0, head.HeadSize()) : c.bytes);
        const std::string headText = c.bytes.substr(0, head.HeadSize());
        EXPECT_TRUE(headText.ends_with("\r\n\r\n") || headText.ends_with("\n\n")) << headText;
        EXPECT_LE(c.bytes.size() - head.HeadSize(), c.bodyLength);
      }
    }
  }
}

// A line without an end, or a head without one, is refused once it passes
// its bound, not held while more arrives.
TEST(RequestHead, AnEndlessLineIsRefusedAtItsBound) {
  for (const std::string start : {"GET /", "GET / HTTP/1.1\r\nX-Endless: "}) {
    RequestHead head(kSmall);
    head.Add(start);
    std::size_t added = start.size();
    while (!head.Done() && added < 10 * kSmall.maxHead) {
      head.Add("a");
      ++added;
    }
    ASSERT_TRUE(head.Refused()) << start;
    EXPECT_EQ(head.Refused()->status, start.size() == 5 ? 414 : 431);
    EXPECT_LE(added, start.size() + kSmall.maxLine + 2);
    EXPECT_EQ(head.Room(), 0u);
  }
  RequestHead head(kSmall);
  head.Add("GET / HTTP/1.1\r\n");
  for (int i = 0; i < 100 && head.Room() > 0; ++i) head.Add("A: 1\r\n");
  ASSERT_TRUE(head.Refused());
  EXPECT_EQ(head.Refused()->status, 431);
}

}  // namespace
}  // namespace orvella::web

#pragma once
// Plain HTTP/1.1 over a loopback socket, byte for byte as written, so that
// the status page's tests can send what no well-behaved client sends.
#include <chrono>
#include <string>
#include <vector>

namespace orvella::test {

struct HttpReply {
  int status = 0;  // 0 when no reply came
  std::string headers;
  std::string body;
};

// One request with "Connection: close" and "Host: 127.0.0.1" unless headers
// carry a Host; waits at most timeout for the reply.
HttpReply SendHttp(int port, const std::string& method, const std::string& path,
                   const std::vector<std::string>& headers = {}, const std::string& body = "",
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

// A connected socket that has sent the request line and headers; -1 on
// failure. From source, a loopback address, when given (127.0.0.2 and on are
// as much this machine's as 127.0.0.1).
int OpenHttp(int port, const std::string& request, const std::string& source = "");
// Reads what arrives within timeout (at most maxBytes).
std::string ReadSome(int fd, std::chrono::milliseconds timeout, std::size_t maxBytes = 65536);

}  // namespace orvella::test

#include "app/web_client.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace orvella::test {

int OpenHttp(int port, const std::string& request, const std::string& source) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0) return -1;
  sockaddr_in from{};
  from.sin_family = AF_INET;
  if (!source.empty() && (::inet_pton(AF_INET, source.c_str(), &from.sin_addr) != 1 ||
                          (ntohl(from.sin_addr.s_addr) >> 24) != 127 ||
                          ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0)) {
    ::close(fd);
    return -1;
  }
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string ReadSome(int fd, std::chrono::milliseconds timeout, std::size_t maxBytes) {
  std::string got;
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (got.size() < maxBytes) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd watch{fd, POLLIN, 0};
    if (::poll(&watch, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[8192];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

HttpReply SendHttp(int port, const std::string& method, const std::string& path,
                   const std::vector<std::string>& headers, const std::string& body,
                   std::chrono::milliseconds timeout) {
  std::string request = method + " " + path + " HTTP/1.1\r\nConnection: close\r\n";
  bool host = false;
  for (const auto& header : headers) {
    request += header + "\r\n";
    host = host || header.starts_with("Host:");
  }
  if (!host) request += "Host: 127.0.0.1\r\n";
  if (!body.empty() || method == "POST") request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "\r\n" + body;
  HttpReply reply;
  const int fd = OpenHttp(port, request);
  if (fd < 0) return reply;
  const std::string raw = ReadSome(fd, timeout, 64 * 1024 * 1024);
  ::close(fd);
  const auto headEnd = raw.find("\r\n\r\n");
  if (!raw.starts_with("HTTP/1.1 ") || headEnd == std::string::npos) return reply;
  reply.status = std::atoi(raw.c_str() + 9);
  reply.headers = raw.substr(0, headEnd);
  reply.body = raw.substr(headEnd + 4);
  return reply;
}

}  // namespace orvella::test

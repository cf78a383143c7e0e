#pragma once
// The connection of one request as the HTTP library reads and writes it: the
// request (head and body) comes whole from what the front received and
// checked, so reading never waits for the client; writes wait at most a
// time-out, so a client that reads slowly gives its thread back.
#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace orvella::web {

class RequestStream : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  // request: the head and the body, as received.
  RequestStream(int sock, std::string request, std::chrono::milliseconds writeTimeout);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return sock_; }

 private:
  // Waits until the socket can take more, at most until the deadline.
  bool WaitWritable(Clock::time_point deadline) const;

  int sock_;
  std::string request_;
  std::size_t offset_ = 0;  // of request_, delivered
  std::chrono::milliseconds writeTimeout_;
};

}  // namespace orvella::web

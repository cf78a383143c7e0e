#pragma once
// The connection of one request as the HTTP library reads and writes it: the
// head and the start of the body come from what was already received and
// checked (RequestHead), the rest of the body from the socket, and reading
// ends after the length the head declared, whichever way the library reads
// the body. Reads stop at a deadline and writes wait at most a time-out, so
// a client that sends or reads slowly gives its thread back.
#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace orvella::web {

class RequestStream : public httplib::Stream {
 public:
  using Clock = std::chrono::steady_clock;

  // received: the bytes read so far, the head first; readable: how many
  // bytes of the connection the library may read (the head and the body).
  RequestStream(int sock, std::string received, std::size_t readable, Clock::time_point readDeadline,
                std::chrono::milliseconds writeTimeout);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return sock_; }

 private:
  // Waits for events on the socket until the deadline; true when they came.
  bool Wait(short events, Clock::time_point deadline) const;

  int sock_;
  std::string received_;
  std::size_t offset_ = 0;  // of received_, delivered
  std::size_t left_;        // bytes the library may still read
  Clock::time_point readDeadline_;
  std::chrono::milliseconds writeTimeout_;
};

}  // namespace orvella::web

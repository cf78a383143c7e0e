#pragma once
// How many connections each client address holds at once: one address may
// hold only a few, so that a single client cannot fill the page's
// descriptors or its workers. A connection holds its slot from accept until
// its socket is closed, whichever thread closes it.
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace orvella::web {

class AddressSlots {
 public:
  explicit AddressSlots(std::size_t perAddress) : perAddress_(perAddress) {}

  // False when the address already holds its share.
  bool Take(const std::string& address);
  void Give(const std::string& address);

 private:
  const std::size_t perAddress_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::size_t> held_;
};

// An accepted socket: closed, and its address's slot given back, when it ends.
class HeldConnection {
 public:
  HeldConnection(int sock, std::string peer, std::shared_ptr<AddressSlots> slots)
      : sock_(sock), peer_(std::move(peer)), slots_(std::move(slots)) {}
  ~HeldConnection();
  HeldConnection(const HeldConnection&) = delete;
  HeldConnection& operator=(const HeldConnection&) = delete;

  int Socket() const { return sock_; }

 private:
  int sock_;
  std::string peer_;
  std::shared_ptr<AddressSlots> slots_;
};

}  // namespace orvella::web

#include "app/web/address_slots.h"

#include <unistd.h>

namespace orvella::web {

bool AddressSlots::Take(const std::string& address) {
  std::lock_guard lock(mutex_);
  std::size_t& held = held_[address];
  if (held >= perAddress_) return false;
  ++held;
  return true;
}

void AddressSlots::Give(const std::string& address) {
  std::lock_guard lock(mutex_);
  const auto it = held_.find(address);
  if (it != held_.end() && --it->second == 0) held_.erase(it);
}

HeldConnection::~HeldConnection() {
  ::close(sock_);
  slots_->Give(peer_);
}

}  // namespace orvella::web

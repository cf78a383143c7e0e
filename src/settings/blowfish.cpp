#include "settings/blowfish.h"

#include <utility>

namespace orvella::settings {
namespace {
#include "settings/blowfish_tables.inc"
}  // namespace

Blowfish::Blowfish(std::span<const uint8_t> key) {
  for (int i = 0; i < 18; ++i) p_[i] = kInitialP[i];
  for (int b = 0; b < 4; ++b)
    for (int i = 0; i < 256; ++i) s_[b][i] = kInitialS[b][i];
  size_t k = 0;
  for (auto& p : p_) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
      word = (word << 8) | key[k];
      k = (k + 1) % key.size();
    }
    p ^= word;
  }
  uint32_t l = 0, r = 0;
  for (size_t i = 0; i < p_.size(); i += 2) {
    Encrypt(l, r);
    p_[i] = l;
    p_[i + 1] = r;
  }
  for (auto& box : s_) {
    for (size_t i = 0; i < box.size(); i += 2) {
      Encrypt(l, r);
      box[i] = l;
      box[i + 1] = r;
    }
  }
}

uint32_t Blowfish::F(uint32_t x) const {
  return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void Blowfish::Encrypt(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 0; i < 16; ++i) {
    l ^= p_[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= p_[16];
  l ^= p_[17];
  left = l;
  right = r;
}

void Blowfish::Decrypt(uint32_t& left, uint32_t& right) const {
  uint32_t l = left, r = right;
  for (int i = 17; i > 1; --i) {
    l ^= p_[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= p_[1];
  l ^= p_[0];
  left = l;
  right = r;
}

}  // namespace orvella::settings

#pragma once
// The Blowfish block cipher (16 rounds), on 32-bit halves.
#include <array>
#include <cstdint>
#include <span>

namespace orvella::settings {

class Blowfish {
 public:
  // Key of 1 to 56 bytes, taken cyclically into the P-array.
  explicit Blowfish(std::span<const uint8_t> key);

  void Encrypt(uint32_t& left, uint32_t& right) const;
  void Decrypt(uint32_t& left, uint32_t& right) const;

 private:
  uint32_t F(uint32_t x) const;

  std::array<uint32_t, 18> p_;
  std::array<std::array<uint32_t, 256>, 4> s_;
};

}  // namespace orvella::settings
